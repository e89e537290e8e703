#include "help_window.h"

#include <QCloseEvent>
#include <QEvent>

#include "fixed_window_frame.h"
#include "help_text.h"
#include "rule_line.h"
#include "twips.h"

namespace hashigoro {

Form2::Form2(std::function<void()> closeHelp, ProgramEnd& programEnd)
    : closeHelp_(std::move(closeHelp)), programEnd_(programEnd) {
    setObjectName(QStringLiteral("Form2"));
    SetUpFixedWindow(*this, QStringLiteral(" はしごろう＿ヘルプ（設問と操作方法）"),
                     TwipsRect(3090, 1665, 9255, 4455));

    command1_ = new QPushButton(QStringLiteral("閉じる"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(8400, 0, 735, 375));
    command1_->setAutoDefault(false);
    picture1_ = new HelpSurface(this);
    picture1_->setGeometry(TwipsRect(120, 480, 9015, 3855));
    // A drawn line: the close button stands above it.
    (new RuleLine(Px(120), Px(9120), Px(360), this))->lower();
    setTabOrder(command1_, picture1_);
    command1_->setFocus();

    connect(command1_, &QPushButton::clicked, this, [this] {
        if (closeHelp_) {
            closeHelp_();
        }
    });
}

void Form2::Form_Activate() {
    picture1_->Clear();
    for (const char* line : kHelpText) {
        picture1_->PrintLine(QString::fromUtf8(line));
    }
}

bool Form2::event(QEvent* event) {
    // Printing is idempotent, so the text is printed both when the window is shown (a display
    // without a window manager activates nothing) and whenever it becomes active.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QWidget::event(event);
}

void Form2::closeEvent(QCloseEvent* event) {
    // Closing the help window through its close box leaves the program with no window at all.
    event->accept();
    if (!closing_) {
        closing_ = true;
        programEnd_.EndProgram();
    }
}

}  // namespace hashigoro
