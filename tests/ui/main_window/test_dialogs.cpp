#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "application_setup.h"
#include "confirm_box.h"
#include "modal_helper.h"
#include "qt_dialogs.h"

using namespace hashigoro;
using namespace hashigoro::testing;

namespace {

QStringList ButtonTexts(QWidget* box) {
    QStringList texts;
    for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (b->isVisible()) {
            texts << b->text();
        }
    }
    texts.sort();
    return texts;
}

QAbstractButton* ButtonWithText(QWidget* box, const QString& text) {
    for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpApplication(*qobject_cast<QApplication*>(qApp)); }

    void theConfirmBoxHasJapaneseYesNoNoIconAndYesAsDefault() {
        ConfirmBox box("終了していいですか？", "確認", nullptr);
        box.show();
        QCOMPARE(box.windowTitle(), QString("確認"));
        QCOMPARE(box.text(), QString("終了していいですか？"));
        QCOMPARE(box.icon(), QMessageBox::NoIcon);
        QCOMPARE(ButtonTexts(&box), (QStringList{"いいえ(&N)", "はい(&Y)"}));
        QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
    }

    void escapeAndACloseRequestLeaveTheConfirmBoxOpen() {
        ConfirmBox box("終了していいですか？", "はしごろう", nullptr);
        box.open();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(box.isVisible());
        QVERIFY(!box.close());
        QVERIFY(box.isVisible());
        QCOMPARE(box.clickedButton(), static_cast<QAbstractButton*>(nullptr));
    }

    void theYesNoBoxAnswersSixAndSeven_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes clicked") << "click はい(&Y)" << 6;
        QTest::newRow("No clicked") << "click いいえ(&N)" << 7;
        QTest::newRow("Return takes the default") << "key Return" << 6;
        QTest::newRow("N key") << "key N" << 7;
    }
    void theYesNoBoxAnswersSixAndSeven() {
        QFETCH(QString, how);
        QFETCH(int, answer);
        QtDialogs dialogs(nullptr);
        WhenModalAppears([how](QWidget* box) {
            QTest::keyClick(box, Qt::Key_Escape);  // ignored: the box stays
            if (how.startsWith("click ")) {
                ButtonWithText(box, how.mid(6))->click();
            } else {
                QTest::keyClick(box, how.endsWith("Return") ? Qt::Key_Return : Qt::Key_N);
            }
        });
        QCOMPARE(int(dialogs.YesNoBox("終了していいですか？", "確認")), answer);
    }

    void theInputBoxShowsItsTextsAndReturnsTheEntryOrNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        QTest::newRow("OK with the default") << QString() << true << "50";
        QTest::newRow("OK with an entry") << "３０本" << true << "３０本";
        QTest::newRow("OK with the entry cleared") << "" << true << "";
        QTest::newRow("Cancel") << "25" << false << "";
    }
    void theInputBoxShowsItsTextsAndReturnsTheEntryOrNothing() {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        QtDialogs dialogs(nullptr);
        QString title, label, entry;
        QStringList buttons;
        WhenModalAppears([&](QWidget* box) {
            title = box->windowTitle();
            label = box->findChild<QLabel*>()->text();
            auto* edit = box->findChild<QLineEdit*>();
            entry = edit->text();
            buttons = ButtonTexts(box);
            if (!typed.isNull()) {
                edit->setText(typed);
            }
            ButtonWithText(box, ok ? "OK" : "キャンセル")->click();
        });
        const std::string text = dialogs.InputBox("10以上50以下の整数を入力してください．．．",
                                                  " はしごろう横線本数の設定", "50");
        QCOMPARE(QString::fromStdString(text), result);
        QCOMPARE(title, QString(" はしごろう横線本数の設定"));
        QCOMPARE(label, QString("10以上50以下の整数を入力してください．．．"));
        QCOMPARE(entry, QString("50"));
        QCOMPARE(buttons, (QStringList{"OK", "キャンセル"}));
    }
};

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
