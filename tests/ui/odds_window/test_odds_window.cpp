#include <QTest>

#include "application_setup.h"
#include "odds_window.h"

using namespace hashigoro;

class OddsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpApplication(*qobject_cast<QApplication*>(qApp)); }

    void theWindowShowsTheExactOddsAndASimulationBesideThem() {
        OddsWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QString(" はしごろう＿理論値"));
        QVERIFY(window.frameGeometry().width() <= 1024 && window.frameGeometry().height() <= 600);
        QCOMPARE(window.Rungs(), 50);
        QCOMPARE(window.Start(), 4);

        window.SetStart(2);
        window.SetRungs(10);
        const ArrivalOdds odds = ExactArrivalOdds(2)[10];
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(window.ShownPercentages()[c], 100 * odds[c]);
        }
        // The bars are drawn in the program's red.
        const QImage chart = window.BarChart()->grab().toImage();
        int red = 0;
        for (int y = 0; y < chart.height(); ++y) {
            for (int x = 0; x < chart.width(); ++x) {
                red += chart.pixel(x, y) == qRgb(255, 0, 0);
            }
        }
        QVERIFY2(red > 2000, qPrintable(QString::number(red)));

        window.Simulate(10, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Runner().IsRunning(), 30000);
        QVERIFY2(window.Verdict().contains("20,000 回（横線 10 本）"),
                 qPrintable(window.Verdict()));
    }
};

QTEST_MAIN(OddsWindowTest)
#include "test_odds_window.moc"
