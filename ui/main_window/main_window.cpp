#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "catalogue.h"
#include "experiment_result.h"
#include "fixed_window_frame.h"
#include "gothic_font.h"
#include "main_window_accessible.h"
#include "qt_layout.h"
#include "rule_line.h"

namespace hashigoro {

namespace {

// The main window's control `name` in the layout table.
const layout::Control& Entry(std::string_view name) {
    return layout::Find(layout::kMainWindow, name);
}

}  // namespace

Form1::Form1(const MainWindowServices& services) : services_(services), ownDialogs_(this) {
    setObjectName(QStringLiteral("Form1"));
    SetUpFixedWindow(*this, ToQString(texts::Text(layout::kMainWindow.caption)),
                     Pixels(layout::kMainWindow.client));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // Created in the order of the keyboard focus: surface, start, quit, initialise, stop, help.
    picture1_ = new LadderSurface(this);
    picture1_->setGeometry(Pixels(Entry("Picture1").rect));
    command1_ = MakeButton("Command1");
    label1_ = MakeLabel("Label1");
    command2_ = MakeButton("Command2");
    command3_ = MakeButton("Command3");
    label2_ = MakeLabel("Label2");
    label2_->setAutoFillBackground(true);
    // Black on light grey whatever the desktop's colour scheme.
    QPalette titlePalette = label2_->palette();
    titlePalette.setColor(QPalette::Window, ToQColor(layout::kTitleBack));
    titlePalette.setColor(QPalette::WindowText, ToQColor(layout::kBlack));
    label2_->setPalette(titlePalette);
    mmControl1_ = new MMControl(services_.sound, this);
    mmControl1_->setGeometry(Pixels(Entry("MMControl1").rect));
    command4_ = MakeButton("Command4");
    command5_ = MakeButton("Command5");
    command6_ = MakeButton("Command6");
    // A drawn line: every button stands above it, while it still shows over the title label's
    // last row of pixels.
    (new RuleLine(Entry("Line1"), this))->lower();
    label2_->lower();
    // The help button reaches one pixel into the initialise button and stands above it.
    command6_->raise();
    // What a screen reader says of the window: the title as one word, the ladder as a picture
    // described, each arrival and the end aloud.
    const QString name = ToQString(texts::Spoken(texts::Text(layout::kMainWindow.caption)));
    setAccessibleName(name);
    picture1_->setAccessibleName(name);
    label2_->setAccessibleName(ToQString(texts::Spoken(texts::Text(Entry("Label2").caption))));
    announcer_ = new Announcer(this);

    setTabOrder(picture1_, command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    setTabOrder(command3_, command4_);
    setTabOrder(command4_, command5_);
    setTabOrder(command5_, command6_);

    QTimer* timers[] = {&timer1_, &timer2_, &timer3_};
    for (std::size_t i = 0; i < std::size(timers); ++i) {
        // A coarse timer may fire up to 5 % early, which would cut the 5 s between trials.
        timers[i]->setTimerType(Qt::PreciseTimer);
        timers[i]->setInterval(layout::kTimerIntervalMs[i]);
    }

    Dialogs& dialogs = services_.dialogs ? *services_.dialogs : ownDialogs_;
    controller_ =
        std::make_unique<ExperimentController>(ControllerPorts{.board = *picture1_,
                                                               .label = *this,
                                                               .timers = *this,
                                                               .view = *this,
                                                               .cue = *this,
                                                               .dialogs = dialogs,
                                                               .programEnd = services_.programEnd,
                                                               .random = services_.random,
                                                               .clock = services_.clock,
                                                               .results = services_.results});

    connect(command1_, &QPushButton::clicked, this, [this] { controller_->Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { controller_->Command2_Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { controller_->Command3_Click(); });
    connect(command4_, &QPushButton::clicked, this, [this] { controller_->Command4_Click(); });
    connect(command5_, &QPushButton::clicked, this, [this] { controller_->Command5_Click(); });
    connect(command6_, &QPushButton::clicked, this, [this] { controller_->Command6_Click(); });
    connect(&timer1_, &QTimer::timeout, this, [this] { controller_->Timer1_Timer(); });
    connect(&timer2_, &QTimer::timeout, this, [this] { controller_->Timer2_Timer(); });
    connect(&timer3_, &QTimer::timeout, this, [this] { controller_->Timer3_Timer(); });
}

Form1::~Form1() {
    timer1_.stop();
    timer2_.stop();
    timer3_.stop();
}

QPushButton* Form1::MakeButton(std::string_view name) {
    const layout::Control& entry = Entry(name);
    auto* button = new QPushButton(ToQString(texts::Text(entry.caption)), this);
    button->setAccessibleName(ToQString(texts::Spoken(texts::Text(entry.caption))));
    button->setObjectName(ToQString(entry.name));
    button->setGeometry(Pixels(entry.rect));
    button->setFont(GothicFont(entry.font));
    button->setAutoDefault(false);
    button->setEnabled(entry.enabled);
    if (!entry.visible) {
        button->hide();
    }
    return button;
}

QLabel* Form1::MakeLabel(std::string_view name) {
    const layout::Control& entry = Entry(name);
    auto* label = new QLabel(ToQString(texts::Text(entry.caption)), this);
    label->setObjectName(ToQString(entry.name));
    label->setGeometry(Pixels(entry.rect));
    label->setAlignment((entry.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    // Without a font of its own a label keeps the toolkit's default.
    if (entry.font.points > 0) {
        label->setFont(GothicFont(entry.font));
    }
    return label;
}

QPushButton* Form1::CommandButton(Button button) const {
    switch (button) {
        case Button::Command1:
            return command1_;
        case Button::Command2:
            return command2_;
        case Button::Command3:
            return command3_;
        case Button::Command4:
            return command4_;
        case Button::Command5:
            return command5_;
        case Button::Command6:
            return command6_;
    }
    return nullptr;
}

QTimer* Form1::TimerControl(Timer timer) const {
    switch (timer) {
        case Timer::Timer1:
            return const_cast<QTimer*>(&timer1_);
        case Timer::Timer2:
            return const_cast<QTimer*>(&timer2_);
        case Timer::Timer3:
            return const_cast<QTimer*>(&timer3_);
    }
    return nullptr;
}

bool Form1::IsTimerEnabled(Timer timer) const {
    return TimerControl(timer)->isActive();
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Activation is a matter between this program's windows: it runs once per showing of the
    // main window, not whenever a modal box closes or the user comes back from another program,
    // and it must run also on a display without a window manager, where no window is activated.
    if (!activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, [this] { controller_->Form_Activate(); });
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    // The window's close box stands for the quit button, and only while that button is enabled.
    event->ignore();
    if (command3_->isEnabled()) {
        command3_->click();
    }
}

void Form1::SetCaption(const std::string& text) {
    label1_->setText(QString::fromStdString(text));
    // Read as what it counts: "横線 50 本のうち 50 本".
    const int rungs = controller_ ? controller_->State().RungTotal : 0;
    label1_->setAccessibleName(text.empty() || rungs == 0
                                   ? QString::fromStdString(text)
                                   : QString::fromStdString(texts::Format(
                                         TextId::ProgressSpoken, {text, std::to_string(rungs)})));
    if (text.empty()) {
        lastArrival_ = 0;  // a new ladder is being built
        DescribeLadder(0);
    }
}

void Form1::DescribeLadder(int arrivedAt) {
    const int rungs = controller_ ? controller_->State().RungTotal : 0;
    const std::string start = std::to_string(kStartColumn - 1);
    const QString description = QString::fromStdString(
        arrivedAt > 0 ? texts::Format(TextId::LadderArrivedSpoken,
                                      {std::to_string(rungs), start, std::to_string(arrivedAt)})
                      : texts::Format(TextId::LadderSpoken, {std::to_string(rungs), start}));
    if (picture1_->accessibleDescription() != description) {
        picture1_->setAccessibleDescription(description);
    }
}

void Form1::SetTimerEnabled(Timer timer, bool enabled) {
    QTimer* t = TimerControl(timer);
    if (!enabled) {
        t->stop();
    } else if (!t->isActive()) {
        t->start();
    }
}

void Form1::SetButtonEnabled(Button button, bool enabled) {
    CommandButton(button)->setEnabled(enabled);
    // The keyboard's focus goes to the next action as it becomes possible: start once the
    // rung count is given or the trials stop, stop once they run. The ladder is described
    // again then too, as the rung count it tells may just have been given.
    if (enabled && (button == Button::Command1 || button == Button::Command5)) {
        CommandButton(button)->setFocus();
        DescribeLadder(lastArrival_);
    }
}

void Form1::SetTallySquareVisible(int bar, int index, bool visible) {
    picture1_->TallySquare(bar, index)->setVisible(visible);
    BarCountChanged(*this, bar);
    if (visible) {
        lastArrival_ = bar;
        DescribeLadder(bar);
        announcer_->Say(QString::fromStdString(
            texts::Format(TextId::Arrived, {std::to_string(bar), std::to_string(index)})));
    }
}

void Form1::ExperimentEnded(int bar) {
    DescribeLadder(bar);
    // The end, and the result line that a pupil hands in.
    announcer_->Say(QString::fromStdString(EndSaid(controller_->Current(bar))));
}

void Form1::SetMousePointer(MousePointer pointer) {
    setCursor(pointer == MousePointer::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
}

void Form1::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void Form1::SwitchToHelpWindow() {
    if (services_.openHelp) {
        services_.openHelp();
    }
}

void Form1::PlayCue(const std::string& fileName) {
    mmControl1_->PlayCue(QString::fromStdString(fileName));
}

}  // namespace hashigoro
