#include <QTest>
#include <QWidget>

#include "fixed_window_frame.h"

using namespace hashigoro;

class FixedWindowFrameTest : public QObject {
    Q_OBJECT

  private slots:
    // From a bug: a window that the user had moved jumped back to its first place when it was
    // restored after being minimised.
    void aWindowShownAgainStaysWhereTheUserPutIt() {
        QWidget window;
        SetUpFixedWindow(window, " はしごろう", QRect(181, 111, 658, 569));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(200);
        window.move(300, 150);
        const QPoint moved = window.pos();
        window.hide();
        window.show();
        QTest::qWait(300);
        QCOMPARE(window.pos(), moved);
    }
};

QTEST_MAIN(FixedWindowFrameTest)
#include "test_fixed_window_frame.moc"
