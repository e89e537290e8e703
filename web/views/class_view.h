#pragma once

#include <emscripten/val.h>

#include <string>

#include "class_sheet.h"
#include "page_events.h"

namespace hashigoro::web {

// The answer sheet's class part in the page, below the charts: result lines pasted, opened or
// dropped as files, or this device's own experiments, pooled by rung count into a table and a
// chart beside the exact odds, with both verdicts, and the pooled table to download. It draws
// the class part's model, ClassSheet.
class ClassView {
  public:
    // Builds the part at the end of `sheet`, its chart to come with MakeChart().
    ClassView(emscripten::val sheet, PageEvents& events);
    ~ClassView();
    ClassView(const ClassView&) = delete;
    ClassView& operator=(const ClassView&) = delete;

    // Makes the chart, once the charts' code is started, and draws what is shown.
    void MakeChart();

    // Says everything again in the language spoken now; its chart is made again by MakeChart.
    void Retext();

    // Adds a file's lines (its bytes, in whatever encoding), then pools them all.
    void AddFile(const std::string& name, const std::string& bytes);

    // Handles an event of the part's own controls; false for any other.
    bool Handle(const PageEvent& event);

    // A pooling goes on rung count by rung count, the page running in between: Work pools
    // until `end` (emscripten_get_now's time), then shows what it found once all are done.
    bool Busy() const { return pooling_; }
    void Work(double end);

  private:
    void PoolAndShow();
    void ShowPooled();
    void ShowGroup(int index);
    // Draws the settling and the experiments against the class for the group shown and the
    // lines chosen in the part's boxes.
    void ShowTrend();

    int group_ = -1;  // the group shown

    ClassSheet model_;
    bool pooling_ = false;
    emscripten::val chart_;  // null until MakeChart()
    emscripten::val chartTexts_;
    emscripten::val chartCanvas_;
    emscripten::val shown_;  // the shares and exact odds last shown, for a chart made later
    emscripten::val trendCanvas_;
    emscripten::val spreadCanvas_;
    emscripten::val shownTrend_;  // the settling and the spread last shown, likewise
    emscripten::val shownSpread_;
    emscripten::val shownAxis_;
};

}  // namespace hashigoro::web
