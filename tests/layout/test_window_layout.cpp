#include <QSet>
#include <QTest>

#include <cmath>

#include "window_layout.h"

using namespace hashigoro;
using namespace hashigoro::layout;

// What every front end relies on when it builds its windows from the table.
class WindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void everyControlHasItsOwnNameAndFocusPlaceInsideItsWindow_data() {
        QTest::addColumn<int>("window");
        QTest::newRow("main window") << 0;
        QTest::newRow("help window") << 1;
    }
    void everyControlHasItsOwnNameAndFocusPlaceInsideItsWindow() {
        QFETCH(int, window);
        const Window& w = window == 0 ? kMainWindow : kHelpWindow;
        QSet<QString> names;
        QSet<int> tabs;
        for (const Control& c : w.controls) {
            const QString name = QString::fromUtf8(c.name.data(), c.name.size());
            QVERIFY2(!names.contains(name), qPrintable(name));
            names.insert(name);
            if (c.tabIndex >= 0) {
                QVERIFY2(!tabs.contains(c.tabIndex), qPrintable(name));
                tabs.insert(c.tabIndex);
            }
            QVERIFY2(c.rect.left >= 0 && c.rect.top >= 0 &&
                         c.rect.left + c.rect.width <= w.client.width &&
                         c.rect.top + c.rect.height <= w.client.height,
                     qPrintable(name));
            QCOMPARE(&Find(w, c.name), &c);
        }
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, Find(w, "Command9"));
    }

    // Board x of a twip position inside the ladder surface.
    static double BoardX(double twips) { return twips * kBoardWidth / kLadderInnerWidth; }
    static double BoardY(double twips) { return twips * kBoardHeight / kLadderInnerHeight; }

    void everyBarStandsCentredUnderItsLineAndBelowTheLadder() {
        for (int bar = 1; bar <= kBars; ++bar) {
            const TwipsRect lowest = TallySquare(bar, 1);
            const TwipsRect highest = TallySquare(bar, kSquaresPerBar);
            const double centre = BoardX(lowest.left + kSquareSize / 2.0);
            QVERIFY2(std::abs(centre - (bar + 1)) < 0.035, qPrintable(QString::number(bar)));
            QVERIFY(BoardY(highest.top) > 61);  // the lines end at y = 61
            QVERIFY(lowest.top + lowest.height <= kLadderInnerHeight);
            // Neighbouring squares overlap by one pixel, so a full bar has no gap.
            QCOMPARE(TallySquare(bar, 2).top + kSquareSize - lowest.top, kTwipsPerPixel);
        }
        const double start = BoardX(kStartSquare.left + kStartSquare.width / 2.0);
        QVERIFY(std::abs(start - 4) < 0.05);
        QVERIFY(BoardY(kStartSquare.top + kStartSquare.height) < 10);  // above the lines' top
    }
};

QTEST_APPLESS_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
