#include <QTest>

#include "fake_window.h"
#include "rung_count_prompt.h"

using namespace hashigoro;
using namespace hashigoro::testing;

class RungCountPromptTest : public QObject {
    Q_OBJECT

  private slots:
    void anEntryInRangeSetsTheRungCountToItsIntegerPart_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("rungs");
        QTest::newRow("10") << "10" << 10;
        QTest::newRow("50") << "50" << 50;
        QTest::newRow("10.9 gives 10") << "10.9" << 10;
        QTest::newRow("49.99 gives 49") << "49.99" << 49;
        QTest::newRow("counter word") << "30本" << 30;
        QTest::newRow("blank between digits") << "2 5" << 25;
        QTest::newRow("comma ends the number") << "20,5" << 20;
        QTest::newRow("hexadecimal") << "&H14" << 20;
        QTest::newRow("full-width digits") << "３０" << 30;
        QTest::newRow("after an ideographic space") << "　２０" << 20;
    }
    void anEntryInRangeSetsTheRungCountToItsIntegerPart() {
        QFETCH(QString, entry);
        QFETCH(int, rungs);
        ExperimentState state;
        ScriptedDialogs dialogs;
        FakeProgramEnd end;
        dialogs.entries = {entry.toStdString()};
        QVERIFY(RunRungCountPrompt(state, dialogs, end));
        QCOMPARE(state.RungTotal, Int16(rungs));
        QCOMPARE(state.RungText, entry.toStdString());
        QCOMPARE(dialogs.calls.size(), std::size_t{1});
        const DialogCall& call = dialogs.calls[0];
        QCOMPARE(call.text, std::string("10以上50以下の整数を入力してください．．．"));
        QCOMPARE(call.title, std::string(" はしごろう横線本数の設定"));
        QCOMPARE(call.defaultText, std::string("50"));
    }

    void anEntryOutOfRangeReopensTheBoxWithoutAQuestion_data() {
        QTest::addColumn<QString>("entry");
        for (const char* entry :
             {"9", "51", "50.5", "9.99", "-20", "abc", "   ", "0", "&H33", "５０．５", "－２０"}) {
            QTest::newRow(entry) << QString::fromUtf8(entry);
        }
    }
    void anEntryOutOfRangeReopensTheBoxWithoutAQuestion() {
        QFETCH(QString, entry);
        ExperimentState state;
        state.RungTotal = 17;
        ScriptedDialogs dialogs;
        FakeProgramEnd end;
        dialogs.entries = {entry.toStdString(), "30"};
        QVERIFY(RunRungCountPrompt(state, dialogs, end));
        QCOMPARE(dialogs.Count(DialogCall::Kind::Input), 2);
        QCOMPARE(dialogs.Count(DialogCall::Kind::YesNo), 0);
        QCOMPARE(dialogs.calls[1].defaultText, std::string("50"));
        QCOMPARE(state.RungTotal, Int16{30});
    }

    void cancelThenNoAsksAgainWithFifty() {
        ExperimentState state;
        ScriptedDialogs dialogs;
        FakeProgramEnd end;
        dialogs.entries = {"", "12"};
        dialogs.answers = {kAnswerNo};
        QVERIFY(RunRungCountPrompt(state, dialogs, end));
        QCOMPARE(dialogs.calls.size(), std::size_t{3});
        QCOMPARE(dialogs.calls[1].text, std::string("終了していいですか？"));
        QCOMPARE(dialogs.calls[1].title, std::string("確認"));
        QCOMPARE(dialogs.calls[2].defaultText, std::string("50"));
        QCOMPARE(state.Answer, kAnswerNo);
        QCOMPARE(state.RungTotal, Int16{12});
        QCOMPARE(end.ends, 0);
    }

    void cancelThenYesEndsTheProgramAndLeavesTheRungCount() {
        ExperimentState state;
        state.RungTotal = 40;
        ScriptedDialogs dialogs;
        FakeProgramEnd end;
        dialogs.entries = {""};
        dialogs.answers = {kAnswerYes};
        QVERIFY(!RunRungCountPrompt(state, dialogs, end));
        QCOMPARE(end.ends, 1);
        QCOMPARE(state.Answer, kAnswerYes);
        QCOMPARE(state.RungTotal, Int16{40});
        QCOMPARE(state.RungText, std::string());
    }
};

QTEST_APPLESS_MAIN(RungCountPromptTest)
#include "test_rung_count_prompt.moc"
