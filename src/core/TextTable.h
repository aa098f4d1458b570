#pragma once

#include <QString>

// Every text the user sees, by a name the compiler checks. The values are the texts' numbers,
// grouped by hundreds: 100s main window, tasks and messages; 200s About box and splash; 300s
// Options dialog; 400s pause dialog; 500s what runs (caption and tray indicator); 600s the
// keyboard and the wheel. Nothing counts
// on the order of the names: never compute one id from another.
enum class TextId
{
    Company = 101,
    Product = 102,
    FileMenu = 108,
    AboutCommand = 109,
    ExitCommand = 110,
    CommandsMenu = 111,
    RecordCommand = 112,
    PlayCommand = 113,
    // Task texts: what a row of the list does. Some carry blanks that belong to them.
    ClickLeft = 114,
    ClickRight = 115,
    ClickMiddle = 116,
    DoubleClickLeft = 117,
    DoubleClickRight = 118,
    DoubleClickMiddle = 119,
    AllTasksExecuted = 121,
    RecordingReminder = 123,
    DeleteLastTaskCommand = 124,
    ColumnX = 125,
    ColumnY = 126,
    ColumnTask = 127,
    EventsCaptured = 129,
    FileNotValid = 130,
    OpenCommand = 131,
    SaveCommand = 132,
    AppendCommand = 133,
    NewCommand = 134,
    PlayingReminder = 135,
    TasksExecuted = 136,
    OnlineHelpCommand = 137,
    OptionsCommand = 138,
    AppendTitle = 139,
    InsertPauseCommand = 140,
    Pause = 141,
    LeftPushed = 142,
    LeftReleased = 143,
    RightPushed = 144,
    RightReleased = 145,
    MiddlePushed = 146,
    MiddleReleased = 147,
    Key = 148,
    SentenceEnd = 149,
    // Macro file errors: the caller appends the file's path and the reason.
    CouldNotRead = 150,
    CouldNotSave = 151,
    NotRegularFile = 152,
    LargerThanLimit = 153,
    IsFolder = 154,
    TooLargeToOpenAgain = 155,
    // Questions before work is lost, with their answers.
    SaveChangesQuestion = 156,
    SaveAnswer = 157,
    DiscardAnswer = 158,
    KeepImagesQuestion = 159,
    KeepImagesAnswer = 181,
    DropImagesAnswer = 182,
    // The desktop layer.
    NoDisplay = 160,
    NoXTest = 161,
    WaylandSession = 162,
    NoRecordExtension = 163,
    // The command line.
    Usage = 170,
    UsageDescription = 171,
    UsageOptions = 172,
    HelpOption = 173,
    VersionOption = 174,
    HelpPageLabel = 175,
    StopKeysHeading = 176,
    StopRecordingKeys = 177,
    StopPlaybackKeys = 178,
    CheckScreenOption = 179,
    OnMismatchOption = 180,
    UnknownOption = 196,
    BadWaitValue = 197,
    BadOnMismatchValue = 198,
    TryHelp = 199,
    // What is wrong in a file that is not valid, and where: FaultAtLine or FaultFileEnds with one
    // of the other faults.
    FaultHeader = 183,
    FaultQuote = 184,
    FaultTaskLine = 185,
    FaultFooter = 186,
    FaultAtLine = 187,
    FaultFileEnds = 188,
    FaultSwitch = 189,
    // Checking the screen before each click: placeholders %1, %2, ... are filled in where used.
    MismatchStopMessage = 190,
    MismatchSkippedNote = 191,
    MismatchReportLine = 192,
    MismatchTaskSkipped = 193,
    MismatchPlaybackStopped = 194,
    PreviewBesideTip = 195,
    // About box and splash.
    Disclaimer = 201,
    GoToSite = 202,
    Developers = 203,
    ReportsAddress = 204,
    HelpPageAddress = 205, // worked out where the program runs
    AboutTitle = 206,
    VersionLabel = 207,
    NoSystemInformation = 208,
    SystemInfoButton = 209,
    LicensedTo = 210,
    CloseButton = 211,
    HelpMenu = 212,
    // Options dialog.
    OptionsTitle = 301,
    PlayIntervalLabel = 302,
    OkAnswer = 303,
    CancelAnswer = 304,
    RecordIntervalLabel = 305,
    CloseAfterPlayingSwitch = 306,
    RepeatForeverSwitch = 307,
    SaveImagesSwitch = 308,
    PlayIntervalRange = 309,
    RecordIntervalRange = 310,
    PlayIntervalTip = 311,
    RecordIntervalTip = 312,
    CheckScreenSwitch = 320,
    CheckWaitLabel = 321,
    OnMismatchLabel = 322,
    OnMismatchStop = 323,
    OnMismatchSkip = 324,
    // Pause dialog.
    PauseLabel = 401,
    Seconds = 402,
    Minutes = 403,
    Hours = 404,
    PauseOk = 405,
    PauseCancel = 406,
    // What runs, in the window caption and the tray icon: %1 the task, %2 the number of tasks, %3 the pass.
    RecordingCaption = 501,
    PlayingCaption = 502,
    PlayingProgress = 503,
    StopCommand = 504,
    // The keyboard and the wheel: the kind words of their tasks (with Key) and their option.
    TypeTask = 601,
    KeyPushedTask = 602,
    KeyReleasedTask = 603,
    WheelTask = 604,
    RecordKeyboardSwitch = 610,
    KeyboardPlainTextNote = 611,
};

namespace TextTable {

// The text of an id, blanks included.
QString Text(TextId id);

} // namespace TextTable
