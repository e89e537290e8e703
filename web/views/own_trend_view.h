#pragma once

#include <emscripten/val.h>

#include "page_events.h"
#include "results_log.h"

namespace hashigoro::web {

// The answer sheet's part for this device's own experiment: the relative frequency of a chosen
// line (the start line at first) after each of its arrivals, beside that line's theoretical
// probability, drawn again at every square while the sheet is open.
class OwnTrendView {
  public:
    // Builds the part at the end of `sheet`, its chart to come with MakeChart().
    OwnTrendView(emscripten::val sheet, PageEvents& events);
    OwnTrendView(const OwnTrendView&) = delete;
    OwnTrendView& operator=(const OwnTrendView&) = delete;

    // Makes the chart, once the charts' code is started, and draws what is shown.
    void MakeChart();
    // Says everything again in the language spoken now; the chart is made again by MakeChart.
    void Retext();
    // The experiment as it stands now.
    void Show(const FinishedExperiment& sofar);
    // Handles an event of the part's own controls; false for any other.
    bool Handle(const PageEvent& event);

  private:
    void Draw();

    FinishedExperiment shown_;
    emscripten::val chart_;
    emscripten::val canvas_;
    emscripten::val words_;
};

}  // namespace hashigoro::web
