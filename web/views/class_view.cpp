#include "class_view.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "catalogue.h"
#include "experiment_state.h"
#include "odds_sheet_text.h"
#include "page.h"
#include "page_results.h"

namespace hashigoro::web {

namespace cs = class_sheet;

namespace {

// Files opened or dropped are read by the page and added to the lines, which are then pooled.
// clang-format off
// Each file's bytes go to the reader, which finds their encoding; one that cannot be read is
// told.
EM_JS(void, WatchClassFiles, (double most), {
    const lines = document.getElementById('OddsClassLines');
    const add = async files => {
        for (const file of [...files]) {
            try {
                // No more than a class can have, and one byte more to tell.
                const bytes = new Uint8Array(await file.slice(0, most + 1).arrayBuffer());
                Module.hashigoroWithText(file.name, name => Module.hashigoroWithBytes(
                    bytes, (pointer, size) => _hashigoro_class_file(name, pointer, size)));
            } catch (error) {
                Module.hashigoroWithText(file.name, name => _hashigoro_class_file_failed(name));
            }
        }
    };
    const input = document.getElementById('OddsClassFiles');
    input.addEventListener('change', () => { add(input.files); input.value = ""; });
    lines.addEventListener('dragover', event => event.preventDefault());
    lines.addEventListener('drop', event => {
        if (event.dataTransfer.files.length > 0) {
            event.preventDefault();
            add(event.dataTransfer.files);
        }
    });
});

// clang-format on

// A small class is pooled at once; a large one goes on in the page's slices.
constexpr double kFirstSliceMs = 50;

ClassView* gShown = nullptr;  // the part on the page, for the files read

// The chart's words, in the language spoken.
val ChartWords() {
    val words = val::object();
    words.set("title", std::string(texts::Text(TextId::ClassChartTitle)));
    words.set("share", std::string(texts::Text(TextId::ClassShareSeries)));
    words.set("exact", std::string(texts::Text(TextId::ExactSeries)));
    words.set("fair", std::string(texts::Text(TextId::FairSeries)));
    words.set("percent", std::string(texts::Text(TextId::PercentAxis)));
    words.set("lines", ArrivalLineNames());
    words.set("trendTitle", std::string(texts::Text(TextId::ClassTrendTitle)));
    words.set("trendAxis", std::string(texts::Text(TextId::ClassTrendAxis)));
    words.set("spreadAxis", std::string(texts::Text(TextId::ClassSpreadAxis)));
    words.set("shareAxis", std::string(texts::Text(TextId::ClassShareHeader)));
    words.set("each", std::string(texts::Text(TextId::ClassEachExperiment)));
    words.set("whole", std::string(texts::Text(TextId::ClassWhole)));
    words.set("band", std::string(texts::Text(TextId::ClassBand)));
    words.set("stoppedBand", std::string(texts::Text(TextId::ClassBandStopped)));
    return words;
}

// The lines whose boxes are ticked, 1..10.
std::vector<int> ChosenLines() {
    std::vector<int> chosen;
    for (int line = 1; line <= 10; ++line) {
        if (ById("OddsClassShow" + std::to_string(line))["checked"].as<bool>()) {
            chosen.push_back(line);
        }
    }
    return chosen;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void hashigoro_class_file(const char* name, const char* bytes,
                                                          std::size_t size) {
    if (gShown) {
        gShown->AddFile(name, std::string(bytes, size));
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void hashigoro_class_file_failed(const char* name) {
    if (gShown) {
        SetText(ById("OddsClassSummary"), class_sheet::CannotRead(name));
    }
}

void ClassView::MakeChart() {
    if (!chart_.isNull()) {
        return;
    }
    chart_ = val::global("HashigoroCharts")
                 .call<val>("createClass", chartTexts_, chartCanvas_, trendCanvas_, spreadCanvas_);
    if (!shown_.isNull()) {
        chart_.call<void>("show", shown_[0], shown_[1]);
    }
    if (!shownTrend_.isNull()) {
        chart_.call<void>("showTrend", shownTrend_, shownSpread_, shownAxis_);
    }
}

void ClassView::Retext() {
    for (int line = 1; line <= 10; ++line) {
        SetText(ById("OddsClassLine" + std::to_string(line)), odds_sheet::ArrivalLine(line + 1));
        ById("OddsClassShow" + std::to_string(line))
            .call<void>("setAttribute", std::string("aria-label"),
                        odds_sheet::ArrivalLine(line + 1));
    }
    chartTexts_ = ChartWords();
    if (!chart_.isNull()) {
        chart_.call<void>("destroy");
        chart_ = val::null();
    }
    if (!pooling_) {
        const int chosen = ById("OddsClassGroup")["selectedIndex"].as<int>();
        const std::vector<int> lines = ChosenLines();
        ShowPooled();
        if (chosen >= 0) {
            ById("OddsClassGroup").set("selectedIndex", chosen);
            ShowGroup(chosen);
            for (int line = 1; line <= 10; ++line) {
                ById("OddsClassShow" + std::to_string(line))
                    .set("checked", std::find(lines.begin(), lines.end(), line) != lines.end());
            }
            ShowTrend();
        }
    }
}

ClassView::~ClassView() {
    if (gShown == this) {
        gShown = nullptr;
    }
}

void ClassView::AddFile(const std::string& name, const std::string& bytes) {
    val lines = ById("OddsClassLines");
    model_.SetText(lines["value"].as<std::string>());
    model_.AddFile(name, bytes);
    lines.set("value", model_.Text());
    PoolAndShow();
}

ClassView::ClassView(val sheet, PageEvents& events)
    : chart_(val::null()),
      chartTexts_(val::null()),
      chartCanvas_(val::null()),
      shown_(val::null()),
      trendCanvas_(val::null()),
      spreadCanvas_(val::null()),
      shownTrend_(val::null()),
      shownSpread_(val::null()),
      shownAxis_(val::null()) {
    gShown = this;
    val part = Make("section", "OddsClass", "sheet-class", sheet);
    part.call<void>("setAttribute", std::string("aria-labelledby"), std::string("OddsClassTitle"));
    SetText(Make("h2", "OddsClassTitle", "", part), TextId::ClassTitle);
    val input = Make("div", "", "class-input", part);
    val label = Make("label", "", "class-lines-label", input);
    label.set("htmlFor", std::string("OddsClassLines"));
    SetText(label, TextId::ClassLinesLabel);
    val lines = Make("textarea", "OddsClassLines", "", input);
    lines.set("rows", 8);
    lines.set("spellcheck", false);
    val buttons = Make("div", "", "sheet-buttons", input);
    // A file box behind a button-like label, which a keyboard reaches as the box itself.
    val files = Make("input", "OddsClassFiles", "class-files", buttons);
    files.set("type", std::string("file"));
    files.set("multiple", true);
    files.set("accept", std::string(".csv,.txt,text/plain,text/csv"));
    val open = Make("label", "", "button sheet-button", buttons);
    open.set("htmlFor", std::string("OddsClassFiles"));
    SetText(open, TextId::ClassOpenFiles);
    MakeButton("OddsClassOwn", TextId::ClassAddOwn, buttons, "button sheet-button");
    MakeButton("OddsClassPool", TextId::ClassPool, buttons, "button sheet-button");
    MakeButton("OddsClassClear", TextId::ClassClear, buttons, "button sheet-button");
    MakeButton("OddsClassCsv", TextId::ClassSaveCsv, buttons, "button sheet-button");
    MakeButton("OddsClassLeaveOut", TextId::ClassLeaveOut, input, "button sheet-button")
        .set("hidden", true);
    Make("p", "OddsClassSummary", "sheet-text", input)
        .call<void>("setAttribute", std::string("aria-live"), std::string("polite"));
    Make("ul", "OddsClassRejected", "class-rejected", input);

    val output = Make("div", "", "class-output", part);
    val choice = Make("label", "", "sheet-row", output);
    SetText(Make("span", "", "", choice), TextId::ClassGroupLabel);
    Make("select", "OddsClassGroup", "", choice);
    val table = Make("table", "OddsClassTable", "class-table", output);
    SetText(Make("caption", "", "", table), TextId::ClassChartTitle);
    val head = Make("tr", "", "", table);
    for (const TextId header : {TextId::ClassLineHeader, TextId::ClassCountHeader,
                                TextId::ClassShareHeader, TextId::ClassExactHeader}) {
        SetText(Make("th", "", "", head), header);
    }
    for (int line = 1; line <= 10; ++line) {
        val row = Make("tr", "", "", table);
        SetText(Make("th", "OddsClassLine" + std::to_string(line), "", row),
                odds_sheet::ArrivalLine(line + 1));
        for (int cell = 0; cell < 3; ++cell) {
            Make("td", "OddsClassCell" + std::to_string(line) + "_" + std::to_string(cell), "",
                 row);
        }
    }
    val chart = Make("div", "", "chart class-chart", output);
    chartCanvas_ = MakeChartCanvas(chart, "OddsClassChart", TextId::ClassChartTitle);
    Make("p", "OddsClassVerdicts", "sheet-text", output)
        .call<void>("setAttribute", std::string("aria-live"), std::string("polite"));

    // The settling and the experiments against the class, as wide as the part.
    val trend = Make("div", "", "class-trend", part);
    val shown = Make("fieldset", "OddsClassShown", "class-shown", trend);
    SetText(Make("legend", "", "", shown), TextId::ClassLinesShown);
    for (int line = 1; line <= 10; ++line) {
        const std::string id = "OddsClassShow" + std::to_string(line);
        val box = Make("label", "", "class-show", shown);
        SetStyle(box, "color", LineColourCss(line));
        val tick = Make("input", id, "", box);
        tick.set("type", std::string("checkbox"));
        SetText(Make("span", "", "", box), std::to_string(line));
        tick.call<void>("setAttribute", std::string("aria-label"),
                        odds_sheet::ArrivalLine(line + 1));
        events.ListenForInput(id);
    }
    val trendChart = Make("div", "", "chart class-trend-chart", trend);
    trendCanvas_ = MakeChartCanvas(trendChart, "OddsClassTrendChart", TextId::ClassTrendTitle);
    val spreadChart = Make("div", "", "chart class-spread-chart", trend);
    // Named by ShowTrend, after the line it shows.
    spreadCanvas_ = Make("canvas", "OddsClassSpreadChart", "", spreadChart);
    spreadCanvas_.call<void>("setAttribute", std::string("role"), std::string("img"));
    Make("p", "OddsClassDistance", "sheet-text class-distance", trend);
    MakeButton("OddsClassTrendCsv", TextId::ClassSaveTrendCsv,
               Make("div", "", "sheet-buttons", trend), "button sheet-button");

    chartTexts_ = ChartWords();

    for (const char* id : {"OddsClassOwn", "OddsClassPool", "OddsClassClear", "OddsClassCsv",
                           "OddsClassTrendCsv", "OddsClassLeaveOut"}) {
        events.ListenForClicks(id);
    }
    events.ListenForInput("OddsClassGroup");
    WatchClassFiles(static_cast<double>(kMostClassBytes));
    PoolAndShow();
}

bool ClassView::Handle(const PageEvent& event) {
    const std::string& id = event.target;
    if (id.rfind("OddsClass", 0) != 0) {
        return false;
    }
    if (event.kind == PageEvent::Kind::Input && id == "OddsClassGroup") {
        ShowGroup(ById(id)["selectedIndex"].as<int>());
        return true;
    }
    if (event.kind == PageEvent::Kind::Input && id.rfind("OddsClassShow", 0) == 0) {
        ShowTrend();
        return true;
    }
    if (event.kind != PageEvent::Kind::Click) {
        return true;
    }
    val lines = ById("OddsClassLines");
    if (id == "OddsClassOwn") {
        model_.SetText(lines["value"].as<std::string>());
        model_.AddOwnLines(PageResults::Kept());
        lines.set("value", model_.Text());
        PoolAndShow();
    } else if (id == "OddsClassPool") {
        PoolAndShow();
    } else if (id == "OddsClassLeaveOut") {
        model_.LeaveOutPerhapsRepeated(!model_.LeavingOut());
        PoolAndShow();
    } else if (id == "OddsClassClear") {
        model_.Clear();
        lines.set("value", std::string());
        PoolAndShow();
    } else if (id == "OddsClassCsv") {
        DownloadText(ById("OddsClass"), std::string(cs::kCsvFileName), model_.Csv(), "text/csv");
    } else if (id == "OddsClassTrendCsv") {
        DownloadText(ById("OddsClass"), std::string(cs::kTrendCsvFileName), model_.TrendCsv(),
                     "text/csv");
    }
    return true;
}

void ClassView::PoolAndShow() {
    model_.SetText(ById("OddsClassLines")["value"].as<std::string>());
    model_.StartPool();
    pooling_ = true;
    Work(emscripten_get_now() + kFirstSliceMs);
    if (pooling_) {
        SetText(ById("OddsClassSummary"), TextId::ClassPooling);
    }
}

void ClassView::Work(double end) {
    if (!pooling_) {
        return;
    }
    while (model_.PoolStep() && emscripten_get_now() < end) {
    }
    if (model_.GroupsLeft() == 0) {
        pooling_ = false;
        ShowPooled();
    }
}

void ClassView::ShowPooled() {
    SetText(ById("OddsClassSummary"), model_.Summary());
    val leaveOut = ById("OddsClassLeaveOut");
    leaveOut.set("hidden", model_.PerhapsRepeated() == 0);
    SetText(leaveOut, model_.LeavingOut() ? TextId::ClassTakeIn : TextId::ClassLeaveOut);
    val rejected = ById("OddsClassRejected");
    rejected.call<void>("replaceChildren");
    for (const std::string& line : model_.Rejected()) {
        SetText(Make("li", "", "", rejected), line);
    }
    val choice = ById("OddsClassGroup");
    choice.call<void>("replaceChildren");
    for (const ClassGroup& group : model_.Groups()) {
        SetText(Make("option", "", "", choice), ClassSheet::GroupTitle(group));
    }
    choice.set("selectedIndex", model_.LargestGroup());
    ShowGroup(model_.LargestGroup());
}

void ClassView::ShowGroup(int index) {
    val shares = val::array();
    val exact = val::array();
    const bool any = index >= 0 && index < static_cast<int>(model_.Groups().size());
    const std::vector<ClassSheet::TableRow> rows =
        any ? model_.Table(static_cast<std::size_t>(index)) : std::vector<ClassSheet::TableRow>{};
    for (int line = 1; line <= 10; ++line) {
        const auto c = static_cast<std::size_t>(line - 1);
        const std::string empty;
        const std::string* cells[] = {any ? &rows[c].count : &empty, any ? &rows[c].share : &empty,
                                      any ? &rows[c].exact : &empty};
        if (any) {
            const ClassGroup& group = model_.Groups()[static_cast<std::size_t>(index)];
            shares.call<void>("push", group.trials > 0
                                          ? 100.0 * static_cast<double>(group.pooled[c]) /
                                                static_cast<double>(group.trials)
                                          : 0.0);
            exact.call<void>("push", 100 * group.exact[c]);
        }
        for (int cell = 0; cell < 3; ++cell) {
            SetText(ById("OddsClassCell" + std::to_string(line) + "_" + std::to_string(cell)),
                    *cells[cell]);
        }
    }
    shown_ = val::array();
    shown_.call<void>("push", shares);
    shown_.call<void>("push", exact);
    if (!chart_.isNull()) {
        chart_.call<void>("show", shares, exact);
    }
    SetText(ById("OddsClassVerdicts"),
            any ? ClassSheet::Verdicts(model_.Groups()[static_cast<std::size_t>(index)])
                : std::string());
    group_ = any ? index : -1;
    const std::vector<int> first =
        any ? model_.FirstLines(static_cast<std::size_t>(index)) : std::vector<int>{};
    for (int line = 1; line <= 10; ++line) {
        ById("OddsClassShow" + std::to_string(line))
            .set("checked", std::find(first.begin(), first.end(), line) != first.end());
    }
    ShowTrend();
}

void ClassView::ShowTrend() {
    const std::vector<int> chosen = ChosenLines();
    val lines = val::array();
    val spread = val::object();
    std::vector<ClassSheet::Points> curves;
    std::string sentence;
    const int line = ClassSheet::SpreadLine(chosen);
    spread.set("title",
               texts::Format(TextId::ClassSpreadTitle, {odds_sheet::ArrivalLine(line + 1)}));
    spreadCanvas_.call<void>("setAttribute", std::string("aria-label"), spread["title"]);
    if (group_ >= 0) {
        const auto g = static_cast<std::size_t>(group_);
        const ClassGroup& group = model_.Groups()[g];
        for (int shown : chosen) {
            const ClassSheet::Points trend = model_.TrendOf(g, shown);
            curves.push_back(trend);
            val one = val::object();
            one.set("name", odds_sheet::ArrivalLine(shown + 1));
            one.set("exactName",
                    texts::Format(TextId::ClassLineExact, {odds_sheet::ArrivalLine(shown + 1)}));
            one.set("colour", LineColourCss(shown));
            one.set("trials", Numbers(trend.x));
            one.set("shares", Numbers(trend.y));
            one.set("exact", 100 * group.exact[static_cast<std::size_t>(shown - 1)]);
            lines.call<void>("push", one);
        }
        const ClassSheet::Points each = model_.SpreadOf(g, line);
        const ClassSheet::Band band = model_.BandOf(g, line);
        const ClassSheet::Points whole = model_.TrendOf(g, line);
        spread.set("colour", LineColourCss(line));
        spread.set("trials", Numbers(each.x));
        spread.set("shares", Numbers(each.y));
        spread.set("bandTrials", Numbers(band.trials));
        spread.set("low", Numbers(band.low));
        spread.set("high", Numbers(band.high));
        if (model_.AnyStopped(g)) {
            const ClassSheet::Band stopped = model_.StoppedBandOf(g, line);
            spread.set("stoppedTrials", Numbers(stopped.trials));
            spread.set("stoppedLow", Numbers(stopped.low));
            spread.set("stoppedHigh", Numbers(stopped.high));
        }
        spread.set("whole", whole.y.empty() ? 0.0 : whole.y.back());
        spread.set("exact", 100 * group.exact[static_cast<std::size_t>(line - 1)]);
        spread.set("exactName", std::string(texts::Text(TextId::ExactSeries)));
        sentence = model_.DistanceSentence(g, line) + '\n' + ClassSheet::BandNote();
    }
    SetText(ById("OddsClassDistance"), sentence);
    const ClassSheet::Axis axis = ClassSheet::TrendAxis(curves);
    val trendAxis = val::object();
    trendAxis.set("low", axis.low);
    trendAxis.set("high", axis.high);
    shownTrend_ = lines;
    shownSpread_ = spread;
    shownAxis_ = trendAxis;
    if (!chart_.isNull()) {
        chart_.call<void>("showTrend", lines, spread, trendAxis);
    }
}

}  // namespace hashigoro::web
