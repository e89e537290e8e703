#pragma once

#include <emscripten/val.h>

#include <memory>
#include <vector>

#include "arrival_simulation.h"
#include "class_view.h"
#include "odds_sheet.h"
#include "own_trend_view.h"
#include "page_events.h"
#include "seeded.h"

namespace hashigoro::web {

// はしごろう＿理論値 in the page, over the experiment's window: the exact odds for a chosen rung
// count (0..225) and start line against the fair 10 %, the distance from fair over every rung
// count, the power of the fairness test against the trials and the two sentences on how soon
// the bias shows, simulations with the experiment's own logic with the desktop's verdict, and
// the table and charts to download. Long work runs in slices, between which the page goes on.
class OddsView {
  public:
    // Made hidden, with its numbers worked out, until Show(); the charts come with the first.
    OddsView(emscripten::val container, PageEvents& events);
    ~OddsView();
    OddsView(const OddsView&) = delete;
    OddsView& operator=(const OddsView&) = delete;

    void Show();
    void Hide();
    bool Shown() const;

    // Says everything again in the language spoken now; the sheet is hidden.
    void Retext();

    // Handles an event of the sheet's own controls; false for any other.
    bool Handle(const PageEvent& event);

    // Runs a slice (about 8 ms) of the work under way; true while work is left.
    bool Work();
    bool Busy() const { return simulation_ || experiments_ || class_->Busy(); }

    // This device's experiment as it stands now, drawn square by square.
    void ShowOwn(const FinishedExperiment& sofar) { own_->Show(sofar); }

  private:
    // Draws the sheet's model for the chosen rung count and start (the distance curve too,
    // with `newStart`), leaving alone the box the user is `typing` in.
    void Show(bool newStart, const std::string& typing = {});
    // Makes the charts, once, and draws them.
    void MakeCharts();
    // Draws the charts for the sheet's model (the distance curve too, with `newStart`), once
    // they are made.
    void DrawCharts(bool newStart);
    // Makes what the sheet covers inert, or lively again.
    void SetCoveredInert(bool inert);
    void ShowObserved();
    void StartSimulation();
    void FinishSimulation(bool cancelled);

    PageEvents& events_;
    emscripten::val sheet_;
    emscripten::val charts_;         // null until the frame after the sheet's first
    emscripten::val chartTexts_;     // the charts' words
    emscripten::val chartCanvases_;  // bars, distance, power
    OddsSheet model_;
    // While the slider moves, the work in the background waits, so that every step is drawn
    // in the frame that follows it.
    double lastInputMs_ = -1e9;

    struct Simulation {
        Seeded<ArrivalSimulation> run;
        std::uint64_t trials;
    };
    std::unique_ptr<Simulation> simulation_;
    bool cancel_ = false;

    // The whole experiments that the second sentence waits for.
    std::shared_ptr<ExperimentsRun> experiments_;
    // The class part, below the charts.
    std::unique_ptr<OwnTrendView> own_;
    std::unique_ptr<ClassView> class_;
};

}  // namespace hashigoro::web
