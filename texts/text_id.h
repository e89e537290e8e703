#pragma once

namespace hashigoro {

// Every text that a person reads or hears from はしごろう, by what it is for. A language's file
// gives each its words; "{1}", "{2}", ... stand for the values that Format puts in.
enum class TextId {
    None,  // no text: a control without a caption

    // The main window.
    MainCaption,
    QuitButton,
    Title,
    HelpButton,
    ResetButton,
    StopButton,
    StartButton,
    DrawButton,
    // The help window, and its twelve lines.
    HelpCaption,
    CloseButton,
    HelpLine1,
    HelpLine2,
    HelpLine3,
    HelpLine4,
    HelpLine5,
    HelpLine6,
    HelpLine7,
    HelpLine8,
    HelpLine9,
    HelpLine10,
    HelpLine11,
    HelpLine12,

    // The rung-count prompt and the confirmations, and the boxes' buttons.
    PromptText,
    PromptTitle,
    QuitQuestion,
    PromptQuitTitle,
    QuitBoxTitle,
    OkButton,
    CancelButton,
    YesButton,
    NoButton,

    // The result line: "横線50本　3 5 20 …　3本目が満杯で終了　#k3f9a2".
    ResultRungs,  // {1} rungs
    ResultFull,   // {1}: the line whose bar filled
    ResultStopped,
    ResultSeparator,  // between the line's parts

    // What the page adds: the board for a screen reader, the arrivals said aloud, the result
    // line's box, the end, the language menu.
    BoardDescription,
    LadderSpoken,         // the desktop's ladder to a screen reader: {1} rungs, {2} the start line
    LadderArrivedSpoken,  // ... and {3} the line the marker arrived at
    BarsSpoken,           // the ten bars as one list
    BarSpoken,            // one bar: {1} its line, {2} its count
    ProgressSpoken,       // the rung counter: {1} rungs drawn of {2}
    Arrived,              // {1} line, {2} its count
    ArrivedFull,          // {1} line
    ResultsRegion,
    CopyButton,
    Copied,
    SelectedToCopy,
    ResultsNotKept,  // the page: the browser keeps nothing on this device
    NewVersion,      // the page: a newer version is installed and waiting
    Ended,
    Restart,
    BackToLadder,
    LanguageMenu,

    // Why the page cannot start, or stopped.
    CannotRun,
    TooOld,  // {1}: the missing features
    NoWebAssembly,
    UpdateAdvice,
    Stopped,
    StoppedText,  // {1}: the error
    Reload,

    // The answer sheet.
    SheetCaption,
    ExactGroup,
    RungsLabel,
    RungsSuffix,
    ExperimentRange,
    StartLabel,
    OutlookGroup,
    SimulationGroup,
    TrialsLabel,
    TrialsSuffix,
    Run,
    CancelRun,
    SaveCsv,
    SavePng,
    SaveCsvTitle,
    SavePngTitle,
    Simulating,
    Cancelled,
    BarChartTitle,
    ExactSeries,
    SimulatedSeries,
    FairSeries,
    PercentAxis,
    DistanceChartTitle,
    ExperimentBand,
    DistanceSeries,
    ChosenSeries,
    PowerChartTitle,
    PowerSeries,
    EightyPercent,
    TrialsAxis,
    ArrivalHeader,     // the charts' table: the line arrived at
    StartLine,         // {1}: lines to the left
    ArrivalLine,       // {1}
    SaveFailed,        // {1}: the file
    Distance,          // {1} rungs, {2} % off fair, {3} % the line most off, {4} rungs, {5} %
    VerdictCancelled,  // {1}: the rest of the verdict
    VerdictTrials,     // {1} trials, {2} rungs, {3} chi-square, {4} degrees, {5} p
    OddsAgree,
    OddsDisagree,
    FairTrials,  // {1} chi-square, {2} degrees, {3} p
    Unfair,
    NotUnfair,
    PowerNever,   // {1} rungs
    PowerTrials,  // {1} rungs, {2} trials
    ExperimentsOutside,
    Experiments,  // {1} %, {2} median, {3}..{4} range, {5} experiments

    // The class part.
    ClassTitle,
    ClassOpenWindow,
    ClassLinesLabel,
    ClassOpenFiles,
    ClassAddOwn,
    ClassPool,
    ClassClear,
    ClassSaveCsv,
    ClassGroupLabel,
    ClassLineHeader,
    ClassCountHeader,
    ClassShareHeader,
    ClassExactHeader,
    ClassChartTitle,
    ClassShareSeries,
    ClassPooling,
    ClassNoOwn,
    ClassOwnAllThere,
    ClassOwnAdded,    // {1}
    ClassOwnUnsaved,  // {1} experiments, {2} why
    ClassCannotRead,  // {1} file
    ClassTooLarge,    // {1} file
    ClassFile,        // {1} file, {2} encoding
    ClassRejected,    // {1} line number, {2} reason, {3} the line
    ClassGroupTitle,  // {1} rungs, {2} experiments, {3} trials
    ClassChiSquare,   // {1} chi-square, {2} degrees, {3} p
    ClassAgainstFair,
    ClassAgainstOdds,
    ClassMore,  // {1} experiments
    ClassEnough,
    ClassFilesRead,  // {1}: the files
    ClassListSeparator,
    SentenceGap,         // between two sentences joined in a text: a space, or none
    ClassRead,           // {1} experiments
    ClassRejectedSome,   // {1} lines
    ClassRejectedFirst,  // {1} lines shown
    ClassRejectedEnd,
    ClassRepeats,          // {1}
    ClassHeaders,          // {1} rows, {2} their line numbers
    ClassPerhapsRepeated,  // {1} rows, {2} their line numbers
    ClassLeftOut,          // {1} rows
    ClassLeaveOut,
    ClassTakeIn,
    // The class's relative frequencies as they settle, and one experiment against the class.
    ClassTrendTitle,
    ClassSaveTrendCsv,
    ClassTrendAxis,
    ClassLinesShown,
    ClassLineExact,    // {1} line
    ClassSpreadTitle,  // {1} line
    ClassSpreadAxis,
    ClassEachExperiment,
    ClassWhole,
    ClassBand,
    ClassBandStopped,
    ClassBandNote,
    ClassDistance,  // {1} the line, {2} its points off in one experiment, {3} the class's
                    // trials, {4} its points off
    // This device's own experiment as it goes, arrival after arrival.
    OwnTrendTitle,
    OwnExperimentLabel,
    OwnTrendAxis,
    OwnNoTrials,

    // Why a line is not an experiment.
    NotTenCounts,
    CountAboveTwenty,
    RungsOutOfRange,
    NoNumbers,
    EndingCutShort,
    NoSuchLine,
    FullBarNotFull,
    NoTrials,
    TagConflict,  // {1} the other line

    // Why the results file could not be written.
    DiskFull,
    NotAllowed,
    FileBusy,
    WriteFailed,  // {1}: the system's words

    Count  // not a text: how many there are
};

}  // namespace hashigoro
