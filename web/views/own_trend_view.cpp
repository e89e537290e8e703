#include "own_trend_view.h"

#include <string>
#include <vector>

#include "catalogue.h"
#include "class_pool.h"
#include "class_trend.h"
#include "experiment_state.h"
#include "odds_sheet_text.h"
#include "page.h"

namespace hashigoro::web {

namespace {

val OwnWords() {
    val words = val::object();
    words.set("title", std::string(texts::Text(TextId::OwnTrendTitle)));
    words.set("trials", std::string(texts::Text(TextId::OwnTrendAxis)));
    words.set("share", std::string(texts::Text(TextId::ClassShareHeader)));
    return words;
}

// Fills the line choice with the ten lines' names, the start line chosen unless told.
void NameLines(val choice, int chosen) {
    choice.call<void>("replaceChildren");
    for (int line = 1; line <= 10; ++line) {
        SetText(Make("option", "", "", choice), odds_sheet::ArrivalLine(line + 1));
    }
    choice.set("selectedIndex", chosen - 1);
}

// The rung count and the bars as the result line gives them, without an ending: the experiment
// may still be going on.
std::string BarsSoFar(const FinishedExperiment& sofar) {
    std::string said = texts::Format(TextId::ResultRungs, {std::to_string(sofar.rungs)});
    said += texts::Text(TextId::ResultSeparator);
    for (std::size_t line = 0; line < sofar.tallies.size(); ++line) {
        said += (line > 0 ? " " : "") + std::to_string(sofar.tallies[line]);
    }
    return said;
}

}  // namespace

OwnTrendView::OwnTrendView(val sheet, PageEvents& events)
    : chart_(val::null()), canvas_(val::null()), words_(OwnWords()) {
    val part = Make("section", "OddsOwn", "sheet-own", sheet);
    part.call<void>("setAttribute", std::string("aria-labelledby"), std::string("OddsOwnTitle"));
    SetText(Make("h2", "OddsOwnTitle", "", part), TextId::OwnTrendTitle);
    val choice = Make("label", "", "sheet-row", part);
    SetText(Make("span", "", "", choice), TextId::ClassLineHeader);
    NameLines(Make("select", "OddsOwnLine", "", choice), kStartColumn - 1);
    Make("p", "OddsOwnSaid", "sheet-text", part);
    val chart = Make("div", "", "chart own-chart", part);
    canvas_ = MakeChartCanvas(chart, "OddsOwnChart", TextId::OwnTrendTitle);
    events.ListenForInput("OddsOwnLine");
    Draw();
}

void OwnTrendView::MakeChart() {
    if (chart_.isNull()) {
        chart_ = val::global("HashigoroCharts").call<val>("createOwn", words_, canvas_);
        Draw();
    }
}

void OwnTrendView::Retext() {
    val choice = ById("OddsOwnLine");
    NameLines(choice, choice["selectedIndex"].as<int>() + 1);
    words_ = OwnWords();
    if (!chart_.isNull()) {
        chart_.call<void>("destroy");
        chart_ = val::null();
    }
    Draw();
}

void OwnTrendView::Show(const FinishedExperiment& sofar) {
    shown_ = sofar;
    Draw();
}

bool OwnTrendView::Handle(const PageEvent& event) {
    if (event.target != "OddsOwnLine") {
        return false;
    }
    if (event.kind == PageEvent::Kind::Input) {
        Draw();
    }
    return true;
}

void OwnTrendView::Draw() {
    const int line = ById("OddsOwnLine")["selectedIndex"].as<int>() + 1;
    const bool any = !shown_.arrivals.empty() && shown_.rungs > 0;
    SetText(ById("OddsOwnSaid"),
            any ? BarsSoFar(shown_) : std::string(texts::Text(TextId::OwnNoTrials)));
    if (chart_.isNull()) {
        return;
    }
    const std::vector<double> shares = ArrivalTrend(shown_.arrivals, line);
    std::vector<double> trials;
    for (std::size_t n = 1; n <= shares.size(); ++n) {
        trials.push_back(static_cast<double>(n));
    }
    val data = val::object();
    data.set("name", odds_sheet::ArrivalLine(line + 1));
    data.set("exactName",
             texts::Format(TextId::ClassLineExact, {odds_sheet::ArrivalLine(line + 1)}));
    data.set("colour", LineColourCss(line));
    data.set("trials", Numbers(trials));
    data.set("shares", Numbers(shares));
    data.set("exact",
             any ? 100 * ExperimentOdds(shown_.rungs)[static_cast<std::size_t>(line - 1)] : 0.0);
    chart_.call<void>("show", data);
}

}  // namespace hashigoro::web
