#include <QFontInfo>
#include <QTest>

#include "application_setup.h"
#include "catalogue.h"
#include "fake_window.h"
#include "help_text.h"
#include "help_window.h"
#include "qt_layout.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

QStringList ExpectedLines() {
    QStringList lines;
    for (const TextId line : layout::kHelpText) {
        lines << ToQString(texts::Text(line));
    }
    return lines;
}

int LeadingFullWidthSpaces(const QString& line) {
    int n = 0;
    while (n < line.size() && line[n] == QChar(0x3000)) {
        ++n;
    }
    return n;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpApplication(*qobject_cast<QApplication*>(qApp)); }

    void theWindowHasItsCaptionSizeAndControls() {
        FakeProgramEnd end;
        Form2 help([] {}, end);
        QCOMPARE(help.windowTitle(), QString(" はしごろう＿ヘルプ（設問と操作方法）"));
        QCOMPARE(help.size(), QSize(617, 297));
        QCOMPARE(help.maximumSize(), QSize(617, 297));
        QCOMPARE(help.geometry().topLeft(), QPoint(206, 111));
        QCOMPARE(help.Command1()->text(), QString("閉じる"));
        QCOMPARE(help.Command1()->geometry(), QRect(560, 0, 49, 25));
        QCOMPARE(help.Command1()->font(), QApplication::font());
        QCOMPARE(help.Picture1()->geometry(), QRect(8, 32, 601, 257));
        QCOMPARE(help.Picture1()->palette().color(QPalette::Window), QColor(255, 255, 255));
        QCOMPARE(QFontInfo(help.Picture1()->font()).family(), QString("IPAPGothic"));
        QCOMPARE(help.Picture1()->font().pointSizeF(), 11.25);
        QCOMPARE(help.findChild<QWidget*>("Line1")->geometry(), QRect(8, 24, 601, 1));
    }

    void theHelpTextIsTwelveLinesWithItsIndentation() {
        const QStringList lines = ExpectedLines();
        QCOMPARE(lines.size(), 12);
        QVERIFY(lines[0].isEmpty());
        QVERIFY(lines[5].isEmpty());
        const int indents[] = {0, 1, 8, 8, 8, 0, 1, 8, 7, 8, 8, 8};
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(LeadingFullWidthSpaces(lines[i]), indents[i]);
        }
        QCOMPARE(lines[1], QString("　【問　　題】"));
        QVERIFY(lines[8].endsWith("［ＯＫ］ボタンをクリックします。"));
    }

    void everyActivationPrintsTheSameTwelveLinesFromTheTop() {
        FakeProgramEnd end;
        Form2 help([] {}, end);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QCOMPARE(help.Picture1()->Lines(), ExpectedLines());
        help.Form_Activate();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&help, &activate);
        QCOMPARE(help.Picture1()->Lines(), ExpectedLines());
        QCOMPARE(help.Picture1()->LineTop(0), help.Picture1()->contentsRect().top());
    }

    void thePrintedTextShowsLineByLineAndIsCutAtTheRightEdge() {
        FakeProgramEnd end;
        Form2 help([] {}, end);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        HelpSurface* surface = help.Picture1();
        const QImage shown = surface->grab().toImage();
        auto darkPixelsInLine = [&](int n, int fromX, int toX) {
            int dark = 0;
            for (int y = surface->LineTop(n); y < surface->LineTop(n + 1); ++y) {
                for (int x = fromX; x < toX; ++x) {
                    dark += qGray(shown.pixel(x, y)) < 128 ? 1 : 0;
                }
            }
            return dark;
        };
        const int right = surface->contentsRect().right();
        QCOMPARE(darkPixelsInLine(0, 2, right), 0);  // the empty first line
        QVERIFY(darkPixelsInLine(1, 2, right) > 20);
        // Line 4 is longer than the surface is wide: it runs on to the right edge, not wrapped.
        QVERIFY(darkPixelsInLine(3, right - 40, right) > 0);
        QCOMPARE(darkPixelsInLine(12, 2, right), 0);
    }

    void theCloseButtonHandsBackAndTheCloseBoxEndsTheProgram() {
        FakeProgramEnd end;
        int backs = 0;
        Form2 help([&] { ++backs; }, end);
        help.show();
        help.Command1()->click();
        QCOMPARE(backs, 1);
        QCOMPARE(end.ends, 0);
        help.close();
        QCOMPARE(end.ends, 1);
    }
};

QTEST_MAIN(HelpWindowTest)
#include "test_help_window.moc"
