#include "main_view.h"

#include <emscripten.h>

#include <algorithm>
#include <vector>

#include "catalogue.h"
#include "experiment_result.h"
#include "page.h"
#include "page_window.h"
#include "window_layout.h"

namespace hashigoro::web {

namespace {

std::string ButtonId(Button button) {
    return "Command" + std::to_string(static_cast<int>(button));
}

std::string SquareId(int bar, int index) {
    return "o" + std::to_string(bar) + "_" + std::to_string(index);
}

// A red square inside the surface, placed in twips from its inner area like the desktop's.
val MakeSquare(val surface, const std::string& id, const layout::TwipsRect& rect) {
    val square = Make("div", id, "square", surface);
    PlaceAt(square, rect, layout::Px(layout::kLadderBorder));
    SetStyle(square, "background", Rgb(layout::kRed));
    return square;
}

// The two hundred tally squares, made by the page in one go from their places in window pixels
// (bar, index, left, top, width, height, six numbers a square): one by one, through a call
// each for every property, they took most of the page's start.
// clang-format off
EM_JS(void, AddTallySquares, (const char* surfaceId, const double* boxes, int count,
                               const char* colour), {
    const surface = document.getElementById(UTF8ToString(surfaceId));
    const background = UTF8ToString(colour);
    const scaled = pixels => 'calc(var(--s) * ' + pixels + 'px)';
    const made = document.createDocumentFragment();
    for (let i = 0; i < count; ++i) {
        const [bar, index, left, top, width, height] = HEAPF64.subarray(boxes / 8 + 6 * i,
                                                                        boxes / 8 + 6 * i + 6);
        const square = document.createElement('div');
        square.id = 'o' + bar + '_' + index;
        square.className = 'square';
        square.hidden = true;
        square.style.setProperty('left', scaled(left));
        square.style.setProperty('top', scaled(top));
        square.style.setProperty('width', scaled(width));
        square.style.setProperty('height', scaled(height));
        square.style.setProperty('background', background);
        made.append(square);
    }
    surface.append(made);
});
// clang-format on

}  // namespace

MainView::MainView(val container, const MainViewServices& services)
    : window_(val::null()),
      announcer_(ById("Announcer")),
      services_(services),
      timers_(layout::kTimerIntervalMs, [this](Timer timer) { Tick(timer); }) {
    val client = MakeWindow(container, "Form1", layout::kMainWindow);
    window_ = ById("Form1");
    // Made in the order of the keyboard focus, as the table numbers it: surface, start, quit,
    // initialise, stop, help.
    std::vector<layout::Control> controls(layout::kMainControls.begin(),
                                          layout::kMainControls.end());
    std::stable_sort(controls.begin(), controls.end(), [](const auto& a, const auto& b) {
        return (a.tabIndex < 0 ? 1000 : a.tabIndex) < (b.tabIndex < 0 ? 1000 : b.tabIndex);
    });
    for (const layout::Control& control : controls) {
        MakeControl(client, control);
        if (control.kind == layout::ControlKind::CommandButton) {
            services_.events.ListenForClicks(std::string(control.name));
        }
    }
    val surface = ById("Picture1");
    surface.set("tabIndex", 0);
    surface.call<void>("setAttribute", std::string("role"), std::string("img"));
    SetLabel(surface, TextId::BoardDescription);
    val canvas = Make("canvas", "Board", "board", surface);
    canvas.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
    board_ = std::make_unique<CanvasBoard>(canvas);
    MakeSquare(surface, "Picture2", layout::kStartSquare);
    // The tally squares show nothing before a trial: the window's first frame comes sooner
    // without them.
    services_.events.WakeAfterPaint("TallySquares");

    controller_ =
        std::make_unique<ExperimentController>(ControllerPorts{.board = *board_,
                                                               .label = *this,
                                                               .timers = timers_,
                                                               .view = *this,
                                                               .cue = services_.cue,
                                                               .dialogs = services_.dialogs,
                                                               .programEnd = services_.programEnd,
                                                               .random = services_.random,
                                                               .clock = services_.clock,
                                                               .results = services_.results});
}

void MainView::MakeTallySquares() {
    if (squaresMade_) {
        return;
    }
    squaresMade_ = true;
    std::vector<double> boxes;
    const int border = layout::Px(layout::kLadderBorder);
    for (int bar = 1; bar <= layout::kBars; ++bar) {
        for (int index = 1; index <= layout::kSquaresPerBar; ++index) {
            const layout::TwipsRect rect = layout::TallySquare(bar, index);
            boxes.insert(boxes.end(),
                         {double(bar), double(index), double(layout::Px(rect.left) + border),
                          double(layout::Px(rect.top) + border), double(layout::Px(rect.width)),
                          double(layout::Px(rect.height))});
        }
    }
    AddTallySquares("Picture1", boxes.data(), static_cast<int>(boxes.size() / 6),
                    Rgb(layout::kRed).c_str());
}

MainView::~MainView() {
    for (Timer timer : {Timer::Timer1, Timer::Timer2, Timer::Timer3}) {
        timers_.SetTimerEnabled(timer, false);
    }
    window_.call<void>("remove");
}

bool MainView::Click(const std::string& id) {
    const val button = ById(id);
    // Only an enabled button of this window: the enabled states keep the handlers in order.
    // Asked through properties, not a method call: embind keeps a method's last arguments,
    // and with them a window long closed.
    if (button.isNull() || !button["parentNode"]["parentNode"].strictlyEquals(window_) ||
        button["disabled"].as<bool>()) {
        return false;
    }
    if (id == "Command1") {
        controller_->Command1_Click();
        FocusNextAction();
    } else if (id == "Command2") {
        controller_->Command2_Click();
    } else if (id == "Command3") {
        controller_->Command3_Click();
    } else if (id == "Command4") {
        controller_->Command4_Click();
        FocusNextAction();
    } else if (id == "Command5") {
        controller_->Command5_Click();
        FocusNextAction();
    } else if (id == "Command6") {
        controller_->Command6_Click();
    } else {
        return false;
    }
    return true;
}

void MainView::FocusNextAction() {
    // Nothing to move while this window is not the page's (the help window took its place).
    if (!window_["isConnected"].as<bool>()) {
        return;
    }
    for (const char* id : {"Command5", "Command1"}) {
        const val button = ById(id);
        if (!button.isNull() && !button["disabled"].as<bool>()) {
            button.call<void>("focus");
            return;
        }
    }
}

void MainView::Tick(Timer timer) {
    switch (timer) {
        case Timer::Timer1:
            controller_->Timer1_Timer();
            break;
        case Timer::Timer2:
            controller_->Timer2_Timer();
            break;
        case Timer::Timer3:
            controller_->Timer3_Timer();
            break;
    }
}

void MainView::SetCaption(const std::string& text) {
    SetText(ById("Label1"), text);
}

void MainView::SetButtonEnabled(Button button, bool enabled) {
    ById(ButtonId(button)).set("disabled", !enabled);
}

void MainView::SetTallySquareVisible(int bar, int index, bool visible) {
    MakeTallySquares();
    ById(SquareId(bar, index)).set("hidden", !visible);
    if (visible) {
        // Bar o(k) stands under the k-th line from the left.
        SetText(announcer_,
                texts::Format(TextId::Arrived, {std::to_string(bar), std::to_string(index)}));
    }
}

void MainView::ExperimentEnded(int bar) {
    // The end, and the result line that a pupil hands in.
    SetText(announcer_, EndSaid(controller_->Current(bar)));
}

void MainView::SetMousePointer(MousePointer pointer) {
    SetStyle(window_, "cursor", pointer == MousePointer::Hourglass ? "wait" : "default");
}

void MainView::SwitchToHelpWindow() {
    if (services_.openHelp) {
        services_.openHelp();
    }
}

}  // namespace hashigoro::web
