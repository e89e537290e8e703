#include "help_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <utility>

#include "catalogue.h"
#include "fixed_window_frame.h"
#include "help_text.h"
#include "qt_layout.h"
#include "rule_line.h"

namespace hashigoro {

Form2::Form2(std::function<void()> closeHelp, ProgramEnd& programEnd)
    : closeHelp_(std::move(closeHelp)), programEnd_(programEnd) {
    setObjectName(QStringLiteral("Form2"));
    const auto control = [](std::string_view name) -> const layout::Control& {
        return layout::Find(layout::kHelpWindow, name);
    };
    SetUpFixedWindow(*this, ToQString(texts::Text(layout::kHelpWindow.caption)),
                     Pixels(layout::kHelpWindow.client));

    // The close button keeps the toolkit's default font.
    command1_ = new QPushButton(ToQString(texts::Text(control("Command1").caption)), this);
    command1_->setObjectName(ToQString(control("Command1").name));
    command1_->setGeometry(Pixels(control("Command1").rect));
    command1_->setAutoDefault(false);
    picture1_ = new HelpSurface(control("Picture1").font, this);
    picture1_->setGeometry(Pixels(control("Picture1").rect));
    // A drawn line: the close button stands above it.
    (new RuleLine(control("Line1"), this))->lower();
    setTabOrder(command1_, picture1_);
    command1_->setFocus();
    setAccessibleName(ToQString(texts::Spoken(texts::Text(layout::kHelpWindow.caption))));

    connect(command1_, &QPushButton::clicked, this, [this] {
        if (closeHelp_) {
            closeHelp_();
        }
    });
}

void Form2::Form_Activate() {
    picture1_->Clear();
    for (const TextId line : layout::kHelpText) {
        picture1_->PrintLine(ToQString(texts::Text(line)));
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
