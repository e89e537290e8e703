#include <QApplication>
#include <QTest>

#include "application_setup.h"
#include "fake_window.h"
#include "help_text.h"
#include "mixing_random_source.h"
#include "recording_sound_output.h"
#include "scripted_random.h"
#include "window_switch.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

int VisibleTopLevels() {
    int visible = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        visible += (w->isVisible() && (w->objectName() == "Form1" || w->objectName() == "Form2"));
    }
    return visible;
}

int SquaresShown(Form1* form) {
    int shown = 0;
    for (int bar = 1; bar <= 10; ++bar) {
        for (int i = 1; i <= 20; ++i) {
            shown += form->Picture1()->TallySquare(bar, i)->isVisibleTo(form) ? 1 : 0;
        }
    }
    return shown;
}

}  // namespace

class WindowSwitchTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpApplication(*qobject_cast<QApplication*>(qApp)); }

    void aRoundTripThroughHelpStartsAFreshExperiment() {
        MixingRandomSource random(3);
        SteppingClock clock(1000.0f, 0.003);
        RecordingSoundOutput sound;
        FakeProgramEnd end;
        ScriptedDialogs dialogs;
        dialogs.entries = {"12", "40", "20"};
        WindowSwitch windows(random, clock, sound, end, &dialogs);

        windows.ShowMainWindow();
        QPointer<Form1> first = windows.MainWindow();
        QTRY_COMPARE(dialogs.Count(DialogCall::Kind::Input), 1);
        QCOMPARE(first->Controller().State().RungTotal, Int16{12});

        // One trial with the real timers, then stop.
        first->CommandButton(Button::Command1)->click();
        QTRY_COMPARE_WITH_TIMEOUT(SquaresShown(first), 1, 10000);
        first->CommandButton(Button::Command5)->click();
        QVERIFY(first->CommandButton(Button::Command6)->isEnabled());

        QStringList printed;
        for (int round = 0; round < 2; ++round) {
            windows.MainWindow()->CommandButton(Button::Command6)->click();
            QCOMPARE(VisibleTopLevels(), 1);
            QTRY_VERIFY(windows.MainWindow() == nullptr);  // unloaded once its handler returned
            Form2* help = windows.HelpWindow();
            QVERIFY(help && help->isVisible());
            QCOMPARE(help->windowTitle(), QString(" はしごろう＿ヘルプ（設問と操作方法）"));
            if (round == 0) {
                printed = help->Picture1()->Lines();
                QCOMPARE(printed.size(), 12);
                QCOMPARE(printed[1], QString("　【問　　題】"));
            }
            QCOMPARE(help->Picture1()->Lines(), printed);

            help->Command1()->click();
            QCOMPARE(VisibleTopLevels(), 1);
            QTRY_VERIFY(windows.HelpWindow() == nullptr);
            Form1* fresh = windows.MainWindow();
            QTRY_COMPARE(dialogs.Count(DialogCall::Kind::Input), 2 + round);
            QCOMPARE(SquaresShown(fresh), 0);
            for (int c = 2; c <= 11; ++c) {
                QCOMPARE(fresh->Controller().State().Tally(c), Int16{0});
            }
            QCOMPARE(fresh->Controller().State().RungTotal, Int16(round == 0 ? 40 : 20));
            QCOMPARE(fresh->Picture1()->Drawing().pixelColor(98, 100), QColor(0, 0, 0));
            QVERIFY(!fresh->CommandButton(Button::Command4)->isEnabled());
            QVERIFY(fresh->CommandButton(Button::Command1)->isEnabled());
        }
        QVERIFY(first.isNull());
        // Each help click cues its chime; with no chime files here nothing plays.
        QCOMPARE(sound.log, (std::vector<std::string>{"Stop", "Stop"}));
        QCOMPARE(end.ends, 0);
        delete windows.MainWindow();
    }
};

QTEST_MAIN(WindowSwitchTest)
#include "test_window_switch.moc"
