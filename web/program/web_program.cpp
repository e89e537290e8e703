#include "web_program.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "catalogue.h"
#include "odds_sheet_text.h"
#include "page.h"
#include "sound_cue.h"
#include "window_layout.h"
#include "window_scale.h"

namespace hashigoro::web {

namespace {

// Room around the window, in CSS pixels.
constexpr double kMargin = 8;
// The window's frame: its caption bar and a one-pixel border.
constexpr double kCaptionHeight = 24;
constexpr double kBorder = 1;

WebProgram* gProgram = nullptr;

// The chimes beside the page, as a teacher may have replaced them; where the page cannot read
// its own folder (opened from a file), or finds none, it makes our own.
// clang-format off
EM_JS(void, LoadChime, (const char* name), {
    const file = UTF8ToString(name);
    // A page opened from a file, or in a sandboxed frame (an origin of its own, "null"), may not
    // read its folder: the browser refuses, noisily.
    if (location.protocol === 'file:' || self.origin === 'null') {
        return;
    }
    fetch(file)
        .then(response => response.ok ? response.arrayBuffer() : Promise.reject(response.status))
        .then(buffer => Module.hashigoroWithText(file, name => Module.hashigoroWithBytes(
            new Uint8Array(buffer), (bytes, size) => _hashigoro_chime_arrived(name, bytes, size))),
              () => {});
});
// clang-format on

// Leaving is told at once, not through the queue: the page may be gone before the queue's turn.
// Chromium freezes a page before it may discard it, without a pagehide.
// clang-format off
EM_JS(void, WatchLeaving, (), {
    const leaving = () => _hashigoro_leaving();
    const back = () => _hashigoro_back();
    window.addEventListener('pagehide', leaving);
    document.addEventListener('freeze', leaving);
    window.addEventListener('pageshow', event => event.persisted && back());
    document.addEventListener('resume', back);
});
// clang-format on

// The language chosen before the program ran (start.js), and the language chosen from now on:
// the page's language for screen readers and line breaking, kept for the next visit, and its
// own font, added the first time.
// clang-format off
EM_JS(void, SpeakLanguage, (const char* code, int save), {
    const language = UTF8ToString(code);
    document.documentElement.lang = language;
    globalThis.hashigoroUseFont(language);
    try {
        if (save) {
            localStorage.setItem('hashigoro-language', language);
        }
    } catch (error) {
        // storage refused: chosen for this visit only
    }
});
// clang-format on

bool ChooseLanguageAtStart() {
    texts::Use(val::global("hashigoroChooseLanguage")().as<std::string>());
    SpeakLanguage(texts::Current().code.data(), 0);
    return true;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void hashigoro_leaving() {
    if (gProgram) {
        gProgram->Leaving();
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void hashigoro_back() {
    if (gProgram) {
        gProgram->Back();
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void hashigoro_chime_arrived(const char* name,
                                                             const std::uint8_t* bytes,
                                                             std::size_t size) {
    if (gProgram) {
        gProgram->ChimeArrived(name, std::span<const std::uint8_t>(bytes, size));
    }
}

WebProgram::WebProgram()
    : languageChosen_(ChooseLanguageAtStart()),
      dialogs_(events_, [this](const PageEvent& event) { Handle(event); }),
      chimes_(audio_),
      random_(MixingRandomSource::FromEntropy()),
      desktop_(ById("Desktop")),
      results_(Document()["body"],
               [this] {
                   events_.Post({PageEvent::Kind::Resize, {}});
               }),
      ended_(val::null()) {
    gProgram = this;
    // The answer sheet follows this device's experiment square by square.
    results_.Follow([this](const FinishedExperiment& sofar) {
        if (odds_) {
            odds_->ShowOwn(sofar);
        }
    });
    WatchLeaving();
    LoadChime(kChimeFile);
    LoadChime(kEndChimeFile);
}

void WebProgram::Run() {
    // The page's corner, its banner for a screen reader: the answer sheet's button and the
    // language menu beside it.
    val corner = Make("header", "Corner", "corner", Document()["body"]);
    val open = Make("button", "OpenOdds", "button open-odds", corner);
    open.set("type", std::string("button"));
    SetText(open, TextId::SheetCaption, true);
    events_.ListenForClicks("OpenOdds");
    MakeLanguageMenu();
    events_.ListenForClicks("CopyResult");
    Rescale();
    ShowMainView();
    for (;;) {
        Handle(events_.Wait());
    }
}

void WebProgram::Leaving() {
    // An experiment with arrivals that nobody recorded is kept, as 初期化 keeps it.
    if (main_ && main_->RecordBeforeLeaving()) {
        recordedOnLeaving_ = true;
    }
}

void WebProgram::Back() {
    if (recordedOnLeaving_) {
        recordedOnLeaving_ = false;
        results_.TakeBackLast();
        if (main_) {
            main_->LeavingUndone();
        }
    }
}

double WebProgram::Now() const {
    return experimentClock_.Now(emscripten_get_now());
}

void WebProgram::MakeLanguageMenu() {
    val menu = Make("select", "Language", "language-menu", ById("Corner"));
    SetLabel(menu, TextId::LanguageMenu);
    for (const Language* language : texts::Languages()) {
        // Each named in itself, and read out in its own language.
        val option = Make("option", "", "", menu);
        option.set("value", std::string(language->code));
        option.call<void>("setAttribute", std::string("lang"), std::string(language->code));
        SetText(option, language->name);
    }
    menu.set("value", std::string(texts::Current().code));
    events_.ListenForInput("Language");
}

void WebProgram::SwitchLanguage(const std::string& code) {
    if (code == texts::Current().code || !texts::Use(code)) {
        return;
    }
    SpeakLanguage(code.c_str(), 1);
    RetextPage();
    results_.Retext();
    // What was said aloud in the old language is not left to be read again.
    SetText(ById("Announcer"), "");
    if (main_) {
        Document().set("title", std::string(texts::Text(layout::kMainWindow.caption)));
    } else if (help_) {
        help_.reset();  // its lines are printed anew
        ShowHelpView();
    } else {
        Document().set("title", std::string(texts::Text(TextId::QuitBoxTitle)));
    }
    if (odds_) {
        odds_->Retext();
    }
    // The result line box may have changed its height.
    Rescale();
}

void WebProgram::Handle(const PageEvent& event) {
    if (event.kind == PageEvent::Kind::Change && event.target == "Language") {
        SwitchLanguage(ById("Language")["value"].as<std::string>());
    } else if (event.kind == PageEvent::Kind::Click && event.target == "OpenOdds") {
        if (!odds_) {
            odds_ = std::make_unique<OddsView>(Document()["body"], events_);
            odds_->ShowOwn(results_.Sofar());
        }
        odds_->Show();
        // The sheet covers the page's corner: the language menu comes along to its top.
        ById("OddsTop").call<void>("insertBefore", ById("Language"), ById("OddsBack"));
    } else if (odds_ && odds_->Shown() &&
               ((event.kind == PageEvent::Kind::Click && event.target == "OddsBack") ||
                (event.kind == PageEvent::Kind::Key && event.target == "Escape"))) {
        odds_->Hide();
        ById("Corner").call<void>("append", ById("Language"));
        ById("OpenOdds").call<void>("focus");
    } else if (event.kind == PageEvent::Kind::Click && results_.Handle(event.target)) {
        // the result line copied
    } else if (odds_ && odds_->Handle(event)) {
        // the sheet's own
    } else {
        HandleExperiment(event);
    }
    ScheduleWake();
}

void WebProgram::HandleExperiment(const PageEvent& event) {
    switch (event.kind) {
        case PageEvent::Kind::Click:
            if (main_) {
                main_->SetNow(Now());
                main_->Click(event.target);
            } else if (help_ && HelpView::IsClose(event.target)) {
                ShowMainView();
            } else if (!ended_.isNull() && event.target == "Restart") {
                ShowMainView();
            }
            break;
        case PageEvent::Kind::Wake:
            if (event.target == "TallySquares") {
                if (main_) {
                    main_->MakeTallySquares();
                }
                // The answer sheet is made, hidden, when the page is next idle, so that it
                // shows at once when asked for.
                events_.WakeWhenIdle("PrepareOdds");
                break;
            }
            if (event.target == "PrepareOdds") {
                if (!odds_) {
                    odds_ = std::make_unique<OddsView>(Document()["body"], events_);
                    odds_->ShowOwn(results_.Sofar());
                }
                break;
            }
            if (main_ && !experimentClock_.Hidden()) {
                main_->RunDueTicks(Now());
            }
            if (odds_) {
                odds_->Work();
            }
            break;
        case PageEvent::Kind::Visibility:
            if (Document()["hidden"].as<bool>()) {
                experimentClock_.Hide(emscripten_get_now());
            } else {
                experimentClock_.Show(emscripten_get_now());
            }
            break;
        case PageEvent::Kind::Resize:
            Rescale();
            break;
        case PageEvent::Kind::Switch:
            if (event.target == "help") {
                ShowHelpView();
            } else if (event.target == "end") {
                ShowEnded();
            }
            break;
        case PageEvent::Kind::Key:
            // Escape closes the help window, as its close button does.
            if (help_ && event.target == "Escape") {
                ShowMainView();
            }
            break;
        case PageEvent::Kind::Input:
        case PageEvent::Kind::Change:
            break;
    }
}

void WebProgram::ScheduleWake() {
    // The answer sheet's work goes on slice by slice, the page running in between.
    if (odds_ && odds_->Busy()) {
        events_.WakeAfter(0);
        return;
    }
    const std::optional<double> next = main_ ? main_->NextDue() : std::nullopt;
    events_.WakeAfter(next && !experimentClock_.Hidden() ? std::max(0.0, *next - Now()) : -1);
}

void WebProgram::Rescale() {
    const val window = val::global("window");
    const double width = layout::Px(layout::kMainWindow.client.width) + 2 * kBorder;
    const double height =
        layout::Px(layout::kMainWindow.client.height) + kCaptionHeight + 2 * kBorder;
    // The result line, once shown, keeps a strip below the window for itself.
    const val results = ById("Results");
    const double below =
        results["hidden"].as<bool>() ? 0 : results["offsetHeight"].as<double>() + kMargin;
    SetStyle(Document()["body"], "padding-bottom", std::to_string(below) + "px");
    const double viewportWidth = window["innerWidth"].as<double>();
    const double viewportHeight = window["innerHeight"].as<double>() - below;
    // Never so small that a finger misses a button: the page scrolls instead.
    const double least = std::max(TouchScale(layout::kMainWindow), TouchScale(layout::kHelpWindow));
    double scale = FitScale(width, height, viewportWidth, viewportHeight, kMargin, least);
    // The page's corner (the answer sheet's button and the language menu) stands over the top
    // right, where it may cover the centred window's caption bar but not what lies below it.
    // Where it would, as on a phone held sideways, the window stands beside the corner if it
    // fits there, else below it.
    double beside = 0;
    double above = 0;
    const val corner = ById("Corner");
    if (!corner.isUndefined() && !corner.isNull()) {
        const double cornerWidth = corner["offsetWidth"].as<double>() + kMargin;
        const double cornerBottom =
            corner["offsetTop"].as<double>() + corner["offsetHeight"].as<double>();
        const double clientTop = (viewportHeight - height * scale) / 2 + kCaptionHeight * scale;
        if (width * scale > viewportWidth - 2 * cornerWidth && cornerBottom > clientTop) {
            if (width * scale <= viewportWidth - cornerWidth - 2 * kMargin) {
                beside = cornerWidth;
            } else {
                above = cornerBottom;
                scale =
                    FitScale(width, height, viewportWidth, viewportHeight - above, kMargin, least);
            }
        }
    }
    SetStyle(Document()["body"], "padding-right", std::to_string(beside) + "px");
    SetStyle(Document()["body"], "padding-top", std::to_string(above) + "px");
    SetStyle(Document()["documentElement"], "--s", std::to_string(scale));
    if (main_) {
        main_->SetScale(scale, window["devicePixelRatio"].as<double>());
    }
}

void WebProgram::ShowMainView() {
    help_.reset();
    if (!ended_.isNull()) {
        ended_.call<void>("remove");
        ended_ = val::null();
    }
    main_ = std::make_unique<MainView>(
        desktop_, MainViewServices{.events = events_,
                                   .random = random_,
                                   .clock = clock_,
                                   .cue = chimes_,
                                   .dialogs = dialogs_,
                                   .programEnd = *this,
                                   .openHelp =
                                       [this] {
                                           events_.Post({PageEvent::Kind::Switch, "help"});
                                       },
                                   .results = &results_});
    Rescale();
    main_->Activate();
}

void WebProgram::ShowHelpView() {
    main_.reset();
    help_ = std::make_unique<HelpView>(desktop_, events_);
}

void WebProgram::EndProgram() {
    events_.Post({PageEvent::Kind::Switch, "end"});
}

void WebProgram::ShowEnded() {
    main_.reset();
    help_.reset();
    Document().set("title", std::string(texts::Text(TextId::QuitBoxTitle)));
    ended_ = Make("section", "Ended", "ended", desktop_);
    SetText(Make("p", "", "", ended_), TextId::Ended);
    val restart = Make("button", "Restart", "button", ended_);
    restart.set("type", std::string("button"));
    SetText(restart, TextId::Restart);
    events_.ListenForClicks("Restart");
    restart.call<void>("focus");
    // An installed app's window closes itself, as the desktop program's does.
    const val standalone =
        val::global("window").call<val>("matchMedia", std::string("(display-mode: standalone)"));
    if (standalone["matches"].as<bool>()) {
        val::global("window").call<void>("close");
    }
}

}  // namespace hashigoro::web
