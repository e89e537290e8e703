#include "page_results.h"

#include <emscripten.h>

#include <utility>

#include "catalogue.h"
#include "experiment_result.h"
#include "page.h"

namespace hashigoro::web {

namespace {

constexpr const char* kStorageKey = "hashigoro.results";

// clang-format off
// Appends a line to the kept ones; false where the browser refuses storage (storage turned
// off, a managed profile, a full quota): the experiment goes on all the same.
EM_JS(bool, KeepLine, (const char* key, const char* line), {
    try {
        const name = UTF8ToString(key);
        localStorage.setItem(name, (localStorage.getItem(name) || "") + UTF8ToString(line) + "\n");
        return true;
    } catch (error) {
        return false;
    }
});

// Takes the line back out, if it is still the last kept one.
EM_JS(void, TakeBackLine, (const char* key, const char* line), {
    try {
        const name = UTF8ToString(key);
        const kept = localStorage.getItem(name) || "";
        const last = UTF8ToString(line) + "\n";
        if (kept.endsWith(last)) {
            localStorage.setItem(name, kept.slice(0, kept.length - last.length));
        }
    } catch (error) {
    }
});

// The kept lines, or none where the browser blocks storage (reading it may throw, too).
EM_JS(void, InstallKeptReader, (), {
    globalThis.hashigoroKept = key => {
        try {
            return localStorage.getItem(key) || "";
        } catch (error) {
            return "";
        }
    };
});

// Copies the line, and says so beside it. Where the clipboard cannot be written to (a page served
// over plain http has no navigator.clipboard), the line is selected and copied the old way; failing
// that, it stays selected, with a hint, for the person to copy.
EM_JS(void, CopyText, (const char* text, const char* copiedText, const char* selectedText), {
    const line = UTF8ToString(text);
    const copiedSaid = UTF8ToString(copiedText);
    const selectedSaid = UTF8ToString(selectedText);
    const said = document.getElementById('CopySaid');
    const tell = message => {
        said.textContent = message;
        document.getElementById('Announcer').textContent = message;
    };
    const byHand = () => {
        const range = document.createRange();
        range.selectNodeContents(document.getElementById('ResultLine'));
        getSelection().removeAllRanges();
        getSelection().addRange(range);
        let copied = false;
        try {
            copied = document.execCommand('copy');
        } catch (error) {
        }
        tell(copied ? copiedSaid : selectedSaid);
    };
    if (navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(line).then(() => tell(copiedSaid), byHand);
    } else {
        byHand();
    }
});
// clang-format on

}  // namespace

PageResults::PageResults(val parent, std::function<void()> shown)
    : box_(Make("div", "Results", "results", parent)), shown_(std::move(shown)) {
    box_.call<void>("setAttribute", std::string("role"), std::string("region"));
    SetLabel(box_, TextId::ResultsRegion);
    box_.set("hidden", true);
    Make("span", "ResultLine", "result-line", box_);
    val copy = Make("button", "CopyResult", "button result-copy", box_);
    copy.set("type", std::string("button"));
    SetText(copy, TextId::CopyButton);
    // Shown once the line is copied (and said through the page's announcer).
    Make("span", "CopySaid", "copy-said", box_);
    // Said once, where storage is refused: the copy button is then the only way to keep a line.
    Make("span", "NotKept", "not-kept", box_).set("hidden", true);
}

void PageResults::Record(const FinishedExperiment& experiment) {
    // The line a pupil copies stays short; the device keeps the order of the arrivals too.
    const ExperimentResult result = TaggedResultOf(experiment);
    shownResult_ = result;
    Show(ResultLine(result));
    lastKept_ = KeptLine(result);
    if (!KeepLine(kStorageKey, lastKept_.c_str())) {
        val notKept = ById("NotKept");
        if (notKept["hidden"].as<bool>()) {
            SetText(notKept, TextId::ResultsNotKept);
            notKept.set("hidden", false);
            SetText(ById("Announcer"), texts::Text(TextId::ResultsNotKept));
        }
    }
}

void PageResults::Retext() {
    if (shownResult_) {
        SetText(ById("ResultLine"), ResultLine(*shownResult_));
    }
    SetText(ById("CopySaid"), "");
}

void PageResults::Arrived(const FinishedExperiment& sofar) {
    sofar_ = sofar;
    if (follower_) {
        follower_(sofar_);
    }
}

void PageResults::TakeBackLast() {
    TakeBackLine(kStorageKey, lastKept_.c_str());
}

void PageResults::Stopped(const FinishedExperiment& sofar) {
    shownResult_ = ResultOf(sofar);
    Show(ResultLine(*shownResult_));
}

void PageResults::Show(const std::string& line) {
    SetText(ById("ResultLine"), line);
    SetText(ById("CopySaid"), "");
    if (box_["hidden"].as<bool>()) {
        box_.set("hidden", false);
        if (shown_) {
            shown_();
        }
    }
}

std::string PageResults::Kept() {
    if (val::global("hashigoroKept").isUndefined()) {
        InstallKeptReader();
    }
    return val::global("hashigoroKept")(std::string(kStorageKey)).as<std::string>();
}

bool PageResults::Handle(const std::string& clicked) {
    if (clicked != "CopyResult") {
        return false;
    }
    CopyText(ById("ResultLine")["textContent"].as<std::string>().c_str(),
             std::string(texts::Text(TextId::Copied)).c_str(),
             std::string(texts::Text(TextId::SelectedToCopy)).c_str());
    return true;
}

}  // namespace hashigoro::web
