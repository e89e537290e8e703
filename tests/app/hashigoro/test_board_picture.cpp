// The empty ladder as the real program shows it on an X server, after the rung count was
// entered: ten black lines, the red start square and the sunken frame on the window's paper.
// The picture is kept (HASHIGORO_BOARD_PICTURE) for the browser edition's test, which compares
// its own board with it pixel for pixel.

#include <QTest>

#include "x_session.h"

using namespace hashigoro::testing;

class BoardPictureTest : public QObject {
    Q_OBJECT

  private slots:
    void theEmptyLadderShowsItsLinesStartSquareAndFrame() {
        const QString problem = x_.Start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(x_.AnswerPrompt("10"));
        const QString window = x_.WaitForWindow(kMainWindowTitle);
        QVERIFY(!window.isEmpty());
        QTest::qWait(300);
        // Picture1 with its frame: 641 x 457 pixels at (8, 40) of the client area.
        const QImage board =
            x_.Screenshot().copy(QRect(x_.ClientOrigin(window) + QPoint(8, 40), QSize(641, 457)));
        QCOMPARE(board.pixelColor(0, 0), QColor(159, 159, 159));
        QCOMPARE(board.pixelColor(640, 456), QColor(255, 255, 255));
        for (int column = 2; column <= 11; ++column) {
            QVERIFY(IsBlack(board.pixel(2 + 49 * column, 2 + 150)));
        }
        QVERIFY(IsRed(board.pixel(2 + 196, 2 + 36)));
        QVERIFY(board.save(HASHIGORO_BOARD_PICTURE));
    }

  private:
    XSession x_;
};

QTEST_MAIN(BoardPictureTest)
#include "test_board_picture.moc"
