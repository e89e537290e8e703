#include "odds_view.h"

#include <emscripten.h>
#include <emscripten/em_js.h>

#include <cmath>
#include <string>

#include "catalogue.h"
#include "experiment_state.h"
#include "odds_csv.h"
#include "odds_sheet_text.h"
#include "page.h"
#include "rung_count_prompt.h"

namespace hashigoro::web {

namespace os = odds_sheet;

namespace {

constexpr double kSliceMs = 8;  // a slice of work leaves the page half a frame at least
constexpr double kInputPauseMs = 250;

val Labelled(const char* tag, const char* id, TextId label, val parent) {
    val row = Make("label", "", "sheet-row", parent);
    SetText(Make("span", "", "", row), label);
    return Make(tag, id, "", row);
}

val NumberBox(const char* id, TextId label, int low, int high, int value, val parent) {
    val box = Labelled("input", id, label, parent);
    box.set("type", std::string("number"));
    box.set("min", low);
    box.set("max", high);
    box.set("value", value);
    box.set("inputMode", std::string("numeric"));
    return box;
}

// The control's value as a whole number within low..high; `otherwise` for no number at all.
int IntValue(const char* id, int low, int high, int otherwise) {
    const double value = val::global("parseFloat")(ById(id)["value"]).as<double>();
    // Brought into range while still a double: a cast of 1e10 to int would be undefined.
    return std::isfinite(value) ? static_cast<int>(std::clamp(value, double(low), double(high)))
                                : otherwise;
}

// The charts' code, which the single file carries as text so that the page starts without it,
// runs the first time the sheet is made (the served page loads it as a file of its own).
// clang-format off
EM_JS(void, StartCharts, (), {
    const code = document.getElementById('ChartsCode');
    if (!window.HashigoroCharts && code) {
        const script = document.createElement('script');
        script.textContent = code.textContent;
        document.head.append(script);
    }
});

// clang-format on

// The charts' words, from the sheet's own, in the language spoken.
val ChartWords() {
    val words = val::object();
    words.set("barTitle", std::string(texts::Text(TextId::BarChartTitle)));
    words.set("exact", std::string(texts::Text(TextId::ExactSeries)));
    words.set("simulated", std::string(texts::Text(TextId::SimulatedSeries)));
    words.set("fair", std::string(texts::Text(TextId::FairSeries)));
    words.set("percent", std::string(texts::Text(TextId::PercentAxis)));
    words.set("distanceTitle", std::string(texts::Text(TextId::DistanceChartTitle)));
    words.set("band", std::string(texts::Text(TextId::ExperimentBand)));
    words.set("distance", std::string(texts::Text(TextId::DistanceSeries)));
    words.set("chosen", std::string(texts::Text(TextId::ChosenSeries)));
    words.set("rungs", std::string(texts::Text(TextId::RungsLabel)));
    words.set("powerTitle", std::string(texts::Text(TextId::PowerChartTitle)));
    words.set("power", std::string(texts::Text(TextId::PowerSeries)));
    words.set("eighty", std::string(texts::Text(TextId::EightyPercent)));
    words.set("trials", std::string(texts::Text(TextId::TrialsAxis)));
    words.set("lines", ArrivalLineNames());
    words.set("arrivalHeader", std::string(texts::Text(TextId::ArrivalHeader)));
    // Each chart's numbers follow it as a table. The charts are made in the frame after the
    // sheet is first shown: its words and numbers show at once, and a chart made while its
    // canvas is hidden would have no size.
    return words;
}

}  // namespace

OddsView::OddsView(val container, PageEvents& events)
    : events_(events),
      sheet_(Make("section", "OddsSheet", "sheet", container)),
      charts_(val::null()),
      chartTexts_(val::null()),
      chartCanvases_(val::null()) {
    sheet_.set("hidden", true);  // until it is asked for
    sheet_.call<void>("setAttribute", std::string("aria-labelledby"), std::string("OddsTitle"));
    val top = Make("div", "OddsTop", "sheet-top", sheet_);
    val title = Make("h1", "OddsTitle", "", top);
    SetText(title, TextId::SheetCaption, true);
    title.set("tabIndex", -1);  // where the focus goes when the sheet opens
    MakeButton("OddsBack", TextId::BackToLadder, top, "button sheet-back");

    val side = Make("div", "", "sheet-side", sheet_);
    val exact = Make("fieldset", "", "", side);
    SetText(Make("legend", "", "", exact), TextId::ExactGroup);
    NumberBox("OddsRungs", TextId::RungsLabel, 0, kRungSlots, kMaxRungs, exact);
    val slider = Make("input", "OddsSlider", "", exact);
    slider.set("type", std::string("range"));
    slider.set("min", 0);
    slider.set("max", kRungSlots);
    slider.set("value", kMaxRungs);
    SetLabel(slider, TextId::RungsLabel);
    SetText(Make("p", "", "sheet-note", exact), TextId::ExperimentRange);
    val start = Labelled("select", "OddsStart", TextId::StartLabel, exact);
    for (int column = kFirstColumn; column <= kLastColumn; ++column) {
        val option = Make("option", "", "", start);
        option.set("value", column);
        SetText(option, os::StartLine(column));
    }
    start.set("value", std::to_string(kStartColumn));
    Make("p", "OddsDistance", "sheet-text", exact);

    val simulation = Make("fieldset", "", "", side);
    SetText(Make("legend", "", "", simulation), TextId::SimulationGroup);
    NumberBox("OddsTrials", TextId::TrialsLabel, 100, 1'000'000, 1000, simulation);
    NumberBox("OddsSimulatedRungs", TextId::RungsLabel, kMinRungs, kMaxRungs, kMaxRungs,
              simulation);
    val buttons = Make("div", "", "sheet-buttons", simulation);
    MakeButton("OddsRun", TextId::Run, buttons, "button sheet-button");
    MakeButton("OddsCancel", TextId::CancelRun, buttons, "button sheet-button")
        .set("disabled", true);
    val progress = Make("progress", "OddsProgress", "", simulation);
    progress.set("max", 1000);
    progress.set("value", 0);
    SetLabel(progress, TextId::Simulating);
    val verdict = Make("p", "OddsVerdict", "sheet-text", simulation);
    verdict.call<void>("setAttribute", std::string("aria-live"), std::string("polite"));

    val saves = Make("div", "", "sheet-buttons", side);
    MakeButton("OddsCsv", TextId::SaveCsv, saves, "button sheet-button");
    MakeButton("OddsPng", TextId::SavePng, saves, "button sheet-button");

    val main = Make("div", "", "sheet-charts", sheet_);
    val bars = Make("div", "", "chart chart-wide", main);
    val distance = Make("div", "", "chart", main);
    val power = Make("div", "", "chart", main);
    val outlook = Make("div", "OddsOutlook", "sheet-outlook", main);
    Make("p", "OddsPowerSentence", "sheet-text", outlook);
    Make("p", "OddsExperimentsSentence", "sheet-text", outlook)
        .call<void>("setAttribute", std::string("aria-live"), std::string("polite"));

    chartTexts_ = ChartWords();
    chartCanvases_ = val::array();
    chartCanvases_.call<void>("push",
                              MakeChartCanvas(bars, "OddsBarsChart", TextId::BarChartTitle));
    chartCanvases_.call<void>(
        "push", MakeChartCanvas(distance, "OddsDistanceChart", TextId::DistanceChartTitle));
    chartCanvases_.call<void>("push",
                              MakeChartCanvas(power, "OddsPowerChart", TextId::PowerChartTitle));
    // Reading the charts' code takes a while: it is done when the page is idle, before the
    // charts are first asked for.
    events.WakeWhenIdle("OddsChartsCode");

    own_ = std::make_unique<OwnTrendView>(sheet_, events);
    class_ = std::make_unique<ClassView>(sheet_, events);
    for (const char* id : {"OddsBack", "OddsRun", "OddsCancel", "OddsCsv", "OddsPng"}) {
        events.ListenForClicks(id);
    }
    for (const char* id : {"OddsRungs", "OddsSlider", "OddsStart"}) {
        events.ListenForInput(id);
    }
    Show(true);
}

void OddsView::MakeCharts() {
    if (!charts_.isNull()) {
        return;
    }
    StartCharts();
    charts_ = val::global("HashigoroCharts")
                  .call<val>("create", chartTexts_, chartCanvases_[0], chartCanvases_[1],
                             chartCanvases_[2]);
    own_->MakeChart();
    class_->MakeChart();
    DrawCharts(true);
}

OddsView::~OddsView() {
    sheet_.call<void>("remove");
}

void OddsView::Show() {
    sheet_.set("hidden", false);
    if (charts_.isNull()) {
        events_.WakeAfterPaint("OddsCharts");
    }
    SetCoveredInert(true);
    // The title, not a number box, which on a tablet would call up its keyboard over the charts.
    ById("OddsTitle").call<void>("focus");
}

void OddsView::Hide() {
    SetCoveredInert(false);
    sheet_.set("hidden", true);
}

void OddsView::SetCoveredInert(bool inert) {
    // The sheet covers the experiment: what it covers takes no focus, no keys and no reading
    // while it is open, as under a modal window. The boxes and the announcements stay.
    const val children = val::global("Array").call<val>("from", Document()["body"]["children"]);
    const int count = children["length"].as<int>();
    for (int i = 0; i < count; ++i) {
        val child = children[i];
        const std::string tag = child["tagName"].as<std::string>();
        const std::string id = child["id"].as<std::string>();
        if (tag != "DIALOG" && tag != "SCRIPT" && tag != "STYLE" && id != "OddsSheet" &&
            id != "Announcer") {
            child.set("inert", inert);
        }
    }
}

bool OddsView::Shown() const {
    return !sheet_["hidden"].as<bool>();
}

bool OddsView::Handle(const PageEvent& event) {
    const std::string& id = event.target;
    if (id.rfind("Odds", 0) != 0) {
        return false;
    }
    if (own_->Handle(event) || class_->Handle(event)) {
        return true;
    }
    if (event.kind == PageEvent::Kind::Wake && id == "OddsChartsCode") {
        StartCharts();
        return true;
    }
    if (event.kind == PageEvent::Kind::Wake && id == "OddsCharts") {
        MakeCharts();
        return true;
    }
    if (event.kind == PageEvent::Kind::Wake) {
        // The slider's next step worked out while the user moves on to it; the start lines
        // beside the choice once the slider rests, so that no step waits for them.
        const bool resting = emscripten_get_now() - lastInputMs_ >= kInputPauseMs;
        if (id == "OddsAhead" && (model_.WorkAhead(resting) || !resting)) {
            events_.WakeAfterPaint(id);
        }
        return true;
    }
    if (event.kind == PageEvent::Kind::Input) {
        lastInputMs_ = emscripten_get_now();
        if (id == "OddsStart") {
            model_.SetStart(IntValue("OddsStart", kFirstColumn, kLastColumn, model_.Start()));
        } else if (id == "OddsRungs" || id == "OddsSlider") {
            // A box being typed in keeps what is typed (empty, or out of range) until it is
            // settled; only a number in it is a choice.
            const int rungs = IntValue(id.c_str(), 0, kRungSlots, -1);
            if (rungs < 0) {
                return true;
            }
            model_.SetRungs(rungs);
        } else {
            return true;  // the simulation's boxes are read when it starts
        }
        Show(id == "OddsStart", id == "OddsRungs" ? id : std::string());
        events_.WakeAfterPaint("OddsAhead");
        return true;
    }
    if (event.kind == PageEvent::Kind::Change) {
        Show(false);  // a settled box shows the count it chose
        return true;
    }
    if (event.kind != PageEvent::Kind::Click) {
        return false;
    }
    if (id == "OddsRun") {
        StartSimulation();
    } else if (id == "OddsCancel") {
        cancel_ = true;  // takes effect at once: the next slice ends the run
    } else if (id == "OddsCsv") {
        DownloadText(sheet_, os::CsvFileName(model_.Start()), OddsCsv(model_.Table()), "text/csv");
    } else if (id == "OddsPng") {
        MakeCharts();
        Download(sheet_, os::PngFileName(model_.Rungs()),
                 charts_.call<val>("picture").call<val>("toDataURL", std::string("image/png")));
    }
    return id != "OddsBack";  // the program closes the sheet
}

void OddsView::Retext() {
    const val options = ById("OddsStart")["options"];
    for (int column = kFirstColumn; column <= kLastColumn; ++column) {
        SetText(options[column - kFirstColumn], odds_sheet::StartLine(column));
    }
    SetText(ById("OddsVerdict"), model_.Verdict());
    // Charts cannot change their words: they are made again when the sheet is next shown.
    chartTexts_ = ChartWords();
    if (!charts_.isNull()) {
        charts_.call<void>("destroy");
        charts_ = val::null();
    }
    own_->Retext();
    class_->Retext();
    Show(false);
}

void OddsView::Show(bool newStart, const std::string& typing) {
    const int rungs = model_.Rungs();
    // Every word and value first, the charts after: a chart reads its size from the page, and
    // a page changed between two charts would be laid out anew for each.
    ById("OddsStart").set("value", std::to_string(model_.Start()));
    if (typing != "OddsRungs") {
        ById("OddsRungs").set("value", rungs);
    }
    ById("OddsSlider").set("value", rungs);
    SetText(ById("OddsDistance"), model_.DistanceSentence());
    SetText(ById("OddsPowerSentence"), model_.PowerSentence());
    if (auto run = model_.ExperimentsToRun()) {
        experiments_ = std::move(run);  // one for an earlier choice is of no more use
    }
    SetText(ById("OddsExperimentsSentence"), model_.ExperimentsSentence());
    DrawCharts(newStart);
}

void OddsView::DrawCharts(bool newStart) {
    if (charts_.isNull()) {
        return;  // drawn once they are made
    }
    charts_.call<void>("showDistance", newStart ? Numbers(model_.DistancePercents()) : val::null(),
                       model_.Rungs());
    std::vector<double> trials;
    std::vector<double> percents;
    for (const PowerPoint& point : model_.PowerCurve()) {
        trials.push_back(point.trials);
        percents.push_back(point.percent);
    }
    charts_.call<void>("showPower", Numbers(trials), Numbers(percents));
    ShowObserved();
}

void OddsView::ShowObserved() {
    if (charts_.isNull()) {
        return;
    }
    const auto exact = model_.ExactPercents();
    const auto simulated = model_.SimulatedPercents();
    charts_.call<void>("showOdds", Numbers(std::vector<double>(exact.begin(), exact.end())),
                       Numbers(std::vector<double>(simulated.begin(), simulated.end())));
}

void OddsView::StartSimulation() {
    if (simulation_) {
        return;
    }
    const int rungs = IntValue("OddsSimulatedRungs", kMinRungs, kMaxRungs, kMaxRungs);
    const auto trials = static_cast<std::uint64_t>(IntValue("OddsTrials", 100, 1'000'000, 1000));
    model_.SimulationStarted(rungs);
    Show(false);
    simulation_.reset(new Simulation{{rungs, model_.Start()}, trials});
    cancel_ = false;
    ById("OddsRun").set("disabled", true);
    ById("OddsCancel").set("disabled", false);
    ById("OddsProgress").set("value", 0);
    SetText(ById("OddsVerdict"), model_.Verdict());
}

void OddsView::FinishSimulation(bool cancelled) {
    ById("OddsRun").set("disabled", false);
    ById("OddsCancel").set("disabled", true);
    model_.SimulationFinished(simulation_->run.simulation.Counts(), cancelled);
    SetText(ById("OddsVerdict"), model_.Verdict());
    ShowObserved();
    simulation_.reset();
}

bool OddsView::Work() {
    if (emscripten_get_now() - lastInputMs_ < kInputPauseMs) {
        return Busy();
    }
    const double end = emscripten_get_now() + kSliceMs;
    if (simulation_) {
        ArrivalSimulation& run = simulation_->run.simulation;
        while (!cancel_ && run.Trials() < simulation_->trials && emscripten_get_now() < end) {
            run.Run(std::min<std::uint64_t>(500, simulation_->trials - run.Trials()));
        }
        ById("OddsProgress")
            .set("value", static_cast<double>(1000 * run.Trials() / simulation_->trials));
        if (cancel_ || run.Trials() >= simulation_->trials) {
            FinishSimulation(run.Trials() < simulation_->trials);
        }
    }
    class_->Work(end);
    if (experiments_) {
        bool more = true;
        while (more && emscripten_get_now() < end) {
            more = experiments_->Step(5);
        }
        if (!more) {
            model_.ExperimentsDone(*experiments_);
            experiments_.reset();
            SetText(ById("OddsExperimentsSentence"), model_.ExperimentsSentence());
        }
    }
    return Busy();
}

}  // namespace hashigoro::web
