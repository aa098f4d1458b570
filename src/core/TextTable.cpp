#include "core/TextTable.h"

#include "core/AppPaths.h"

#include <algorithm>
#include <iterator>

namespace TextTable {
namespace {

struct Entry
{
    TextId id;
    const char* text;
};

// Sorted by id. Some texts carry blanks that belong to them: 117 to 119 have two after "Mouse".
constexpr Entry kTexts[] = {
    {TextId::Company, "#Quorvel Works"},
    {TextId::Product, "Clickwarden 2004"},
    {TextId::FileMenu, "File"},
    {TextId::AboutCommand, "About..."},
    {TextId::ExitCommand, "Exit"},
    {TextId::CommandsMenu, "Commands"},
    {TextId::RecordCommand, "Record"},
    {TextId::PlayCommand, "Play"},
    {TextId::ClickLeft, "Mouse Click Left"},
    {TextId::ClickRight, "Mouse Click Right"},
    {TextId::ClickMiddle, "Mouse Click Middle"},
    {TextId::DoubleClickLeft, "Mouse  DClick Left"},
    {TextId::DoubleClickRight, "Mouse  DClick Right"},
    {TextId::DoubleClickMiddle, "Mouse  DClick Middle"},
    {TextId::AllTasksExecuted, "All task have been executed."},
    {TextId::RecordingReminder, "Recording in progress. Press CTRL+SHIFT+F12 to stop."},
    {TextId::DeleteLastTaskCommand, "Delete last task added."},
    {TextId::ColumnX, "x"},
    {TextId::ColumnY, "y"},
    {TextId::ColumnTask, "Task"},
    {TextId::EventsCaptured, "Number of events captured:"},
    {TextId::FileNotValid, "File not valid or wrong version"},
    {TextId::OpenCommand, "Open..."},
    {TextId::SaveCommand, "Save..."},
    {TextId::AppendCommand, "Append..."},
    {TextId::NewCommand, "New"},
    {TextId::PlayingReminder, "Playing in process. Press CTRL+SHIFT+F11 to stop."},
    {TextId::TasksExecuted, "Number of task executed:"},
    {TextId::OnlineHelpCommand, "Online help"},
    {TextId::OptionsCommand, "Options..."},
    {TextId::AppendTitle, "Add"},
    {TextId::InsertPauseCommand, "Insert Pause..."},
    {TextId::Pause, "Pause"},
    {TextId::LeftPushed, "Left Mouse Pushed"},
    {TextId::LeftReleased, "Left Mouse Released"},
    {TextId::RightPushed, "Right Mouse Pushed"},
    {TextId::RightReleased, "Right Mouse Released"},
    {TextId::MiddlePushed, "Middle Mouse Pushed"},
    {TextId::MiddleReleased, "Middle Mouse Released"},
    {TextId::Key, "Key"},
    {TextId::SentenceEnd, "."},
    // Macro file errors: the caller appends the file's path and the reason.
    {TextId::CouldNotRead, "The file could not be read:"},
    {TextId::CouldNotSave, "The file could not be saved:"},
    {TextId::NotRegularFile, "It is a device or a pipe, not a file."},
    {TextId::LargerThanLimit, "It is larger than 1 GB."},
    {TextId::IsFolder, "It is a folder, not a file."},
    {TextId::TooLargeToOpenAgain,
     "It would be larger than 1 GB, too large to open again. Switch off the descriptive images in the "
     "options or delete tasks, then save again."},
    // Questions before work is lost: 156 and 159, each with its answers (157, 158; 181, 182) and 304.
    {TextId::SaveChangesQuestion, "The task list has changed since it was last saved. Save it first?"},
    {TextId::SaveAnswer, "Save"},
    {TextId::DiscardAnswer, "Discard"},
    {TextId::KeepImagesQuestion,
     "The descriptive images are switched off, but the list still holds images (tasks with one: %1). Keep "
     "them in the file?"},
    // The desktop layer.
    {TextId::NoDisplay,
     "No X11 display could be reached. Clickwarden records and plays the mouse on X11 desktops only: "
     "start it in an X11 session, where the DISPLAY variable names the X server."},
    {TextId::NoXTest,
     "The X server does not offer the XTEST extension that Clickwarden needs to move the pointer and press "
     "the mouse buttons."},
    {TextId::WaylandSession,
     "This is a Wayland session: Clickwarden sees and drives only the windows that run through XWayland, "
     "not native Wayland windows."},
    {TextId::NoRecordExtension,
     "The X server does not offer the RECORD extension: recording samples the mouse buttons at every "
     "recording tick, so a press shorter than the recording interval may be missed."},
    // The command line.
    {TextId::Usage, "Usage: clickwarden [OPTION...] [FILE.#cw]"},
    {TextId::UsageDescription, "Records mouse clicks, keys and the wheel anywhere on an X11 desktop and plays them "
                               "back. A macro file named on the command line is loaded and played at once."},
    {TextId::UsageOptions, "Options:"},
    {TextId::HelpOption, "  -h, --help                show this help and exit"},
    {TextId::VersionOption, "  --version                 show the version and exit"},
    {TextId::HelpPageLabel, "Help page:"},
    {TextId::StopKeysHeading, "Keys, pressed anywhere on the desktop:"},
    {TextId::StopRecordingKeys, "  Ctrl+Shift+F12  stop a recording"},
    {TextId::StopPlaybackKeys, "  Ctrl+Shift+F11  stop a playback"},
    {TextId::CheckScreenOption, "  --check-screen[=SECONDS]  before each click, wait for the recorded image"},
    {TextId::OnMismatchOption,
     "  --on-mismatch=stop|skip|find  when it never comes: stop, skip the task, or click where\n"
     "                            the image is found now"},
    {TextId::KeepImagesAnswer, "Keep the images"},
    {TextId::DropImagesAnswer, "Save without images"},
    // What is wrong in a file that is not valid, and where: 187 or 188 with one of 183 to 186, 189.
    {TextId::FaultHeader, "The first line must be %1, the header of this version of Clickwarden."},
    {TextId::FaultQuote, "A line that begins with a double quote must end with one."},
    {TextId::FaultTaskLine, "A task line holds x, y, the task and the image, each followed by \"*\"."},
    {TextId::FaultFooter, "The task lines must end with the line %1."},
    {TextId::FaultAtLine, "Line %1: %2"},
    {TextId::FaultFileEnds, "The file ends before line %1: %2"},
    {TextId::FaultSwitch, "The switch \"%1\" must be #TRUE# or #FALSE#."},
    // Checking the screen before each click: placeholders %1, %2, ... are filled in where used.
    {TextId::MismatchStopMessage,
     "Playback stopped at task %1: the screen around (%2, %3) did not match the task's recorded image within "
     "%4 seconds; %5 pixels differed."},
    {TextId::MismatchSkippedNote, "Tasks skipped because the screen did not match their recorded image: %1."},
    {TextId::MismatchReportLine,
     "task %1 at (%2, %3): the screen did not match the recorded image within %4 s, %5 pixels differed:"},
    {TextId::MismatchTaskSkipped, "task skipped"},
    {TextId::MismatchPlaybackStopped, "playback stopped"},
    {TextId::PreviewBesideTip, "Left: the recorded image. Right: the screen when playback stopped at this task."},
    {TextId::UnknownOption, "unknown option %1"},
    {TextId::BadWaitValue, "%1 takes a whole number of seconds from %2 to %3, not \"%4\""},
    {TextId::BadOnMismatchValue, "%1 takes stop, skip or find, not \"%2\""},
    {TextId::TryHelp, "Try \"clickwarden --help\" for the options."},
    {TextId::Disclaimer, "Clickwarden is freeware and comes with no warranty: use it at your own risk."},
    {TextId::GoToSite, "Go to web site"},
    {TextId::Developers, "The Clickwarden developers"},
    {TextId::ReportsAddress, "Questions and reports: the project's issue tracker"},
    // The help page address is worked out where the program runs: see Text().
    {TextId::AboutTitle, "Informazioni su "},
    {TextId::VersionLabel, "Versione "},
    {TextId::NoSystemInformation, "Le informazioni sul sistema non sono attualmente disponibili."},
    {TextId::SystemInfoButton, "&System Info..."},
    {TextId::LicensedTo, "Freeware"},
    {TextId::CloseButton, "OK"},
    {TextId::HelpMenu, "?"},
    {TextId::OptionsTitle, "Options"},
    {TextId::PlayIntervalLabel, "Time unit for playing (msec)"},
    {TextId::OkAnswer, "OK"},
    {TextId::CancelAnswer, "Cancel"},
    {TextId::RecordIntervalLabel, "Sensibility in recording (msec)"},
    {TextId::CloseAfterPlayingSwitch, "Close Clickwarden after playing finished"},
    {TextId::RepeatForeverSwitch, "Repeat tasks forever (CTRL+SHIFT+F11 to stop)"},
    {TextId::SaveImagesSwitch, "Save a descriptive image for every event captured"},
    {TextId::PlayIntervalRange, "The time unit for playing must be a whole number from 1 to 32767."},
    {TextId::RecordIntervalRange, "The sensibility in recording must be a whole number from 1 to 1000."},
    {TextId::PlayIntervalTip, "Intervallo di tempo tra un evento ed il successivo"},
    {TextId::RecordIntervalTip, "Sensibilit\u00e0 nel rilevare i click"},
    {TextId::CheckScreenSwitch, "Check the screen before each click"},
    {TextId::CheckWaitLabel, "Wait for the recorded image up to (sec)"},
    {TextId::OnMismatchLabel, "When the screen never matches"},
    {TextId::OnMismatchStop, "Stop"},
    {TextId::OnMismatchSkip, "Skip the task"},
    {TextId::PauseLabel, "Insert pause of"},
    {TextId::Seconds, "sec"},
    {TextId::Minutes, "min"},
    {TextId::Hours, "hours"},
    {TextId::PauseOk, "OK"},
    {TextId::PauseCancel, "Cancel"},
    // What runs, in the window caption and the tray icon: %1 the task, %2 the number of tasks, %3 the pass.
    {TextId::RecordingCaption, "Recording"},
    {TextId::PlayingCaption, "Playing %1/%2"},
    {TextId::PlayingProgress, "Playing task %1 of %2, pass %3"},
    {TextId::StopCommand, "Stop"},
    {TextId::PauseCountdown, "Pause: %1 s left"},
    {TextId::TypeTask, "Type"},
    {TextId::KeyPushedTask, "Key Pushed"},
    {TextId::KeyReleasedTask, "Key Released"},
    {TextId::WheelTask, "Wheel"},
    {TextId::PathTask, "Mouse Path"},
    {TextId::PathDisplay, "%1: %2 points, %3 ms"},
    {TextId::RecordKeyboardSwitch, "Record the keyboard"},
    {TextId::KeyboardPlainTextNote, "Typed text, passwords included, is stored as plain text in the macro file: X11 "
                                    "cannot tell a password field from any other."},
    {TextId::EditMenu, "Edit"},
    {TextId::UndoCommand, "Undo"},
    {TextId::RedoCommand, "Redo"},
    {TextId::CutCommand, "Cut"},
    {TextId::CopyCommand, "Copy"},
    {TextId::PasteCommand, "Paste"},
    {TextId::DeleteRowsCommand, "Delete Rows"},
    {TextId::MoveUpCommand, "Move Up"},
    {TextId::MoveDownCommand, "Move Down"},
    {TextId::InsertPauseHereCommand, "Insert Pause Here..."},
    {TextId::PickPointCommand, "Pick Point on Screen"},
    {TextId::PlayFromHereCommand, "Play from Here"},
    {TextId::PlaySelectionCommand, "Play Selection"},
    {TextId::StepCommand, "Step"},
    {TextId::Untitled, "Untitled"},
    {TextId::NoSuchKind, "\"%1\" is not a kind of task."},
    {TextId::PointNotOnScreen, "x and y must be whole numbers on the screen: x from 0 to %1, y from 0 to %2."},
    {TextId::PointNotWhole, "x and y must be whole numbers from 0 up."},
    {TextId::PauseRange, "A pause lasts from 0 to %1 seconds."},
    {TextId::UnsafeCharacters,
     "The text may not hold \"*\", a double quote, a line break or a character beyond Latin-1."},
    {TextId::DamagedImage, "The descriptive image is damaged."},
    {TextId::NothingPasted, "Nothing was pasted: the clipboard does not hold tasks."},
    {TextId::InsertMenu, "Insert"},
    {TextId::InsertClickCommand, "Click"},
    {TextId::InsertTypingCommand, "Typing..."},
    {TextId::InsertKeyCommand, "Key..."},
    {TextId::InsertWheelCommand, "Wheel..."},
    {TextId::InsertWaitCommand, "Wait..."},
    {TextId::SelectAllCommand, "Select All"},
    {TextId::TypedTextProblem, "Write a key that types no character by its name in braces, such as {Return}, "
                               "{Tab} or {Left}, and a brace that is typed as {{."},
    {TextId::KeyComboProblem, "Press one key, with Ctrl, Shift, Alt or Super if it needs them."},
    {TextId::PickPointHint, "Click the point on the screen. Escape cancels."},
    {TextId::NoPointToPick, "Row %1 has no point to pick: only clicks, presses, releases and wheel turns have one."},
    {TextId::TypingPrompt, "The text to type ({Return} for the Return key):"},
    {TextId::KeyPrompt, "Press the key or the combination:"},
    {TextId::WheelPrompt, "Turn the wheel, then click where:"},
    {TextId::WaitPrompt, "Wait, in milliseconds:"},
    {TextId::WaitLength, "%1 ms"},
    {TextId::KeysOverPoint, "This row's task is a kind of the mouse or a pause: keys written here would lose its x "
                            "and y. Use Insert, Typing... or Key... to add keys."},
    // Runs that need no one watching: the command line, skipped tasks, waits and speed.
    {TextId::UnattendedOption,
     "  --unattended              no message box: messages go to standard error, and the program ends "
     "after playing"},
    {TextId::SpeedOption,
     "  --speed=FACTOR            play FACTOR times as fast (0.1 to 10); pauses keep their length"},
    {TextId::ExitStatusesHeading, "Exit statuses:"},
    {TextId::ExitStatusPlayed, "  0  every task was played"},
    {TextId::ExitStatusStopped,
     "  1  playback stopped: the screen never matched, or the stop keys or the tray stopped it"},
    {TextId::ExitStatusUsage, "  2  the command line was not understood"},
    {TextId::ExitStatusSkipped, "  3  playback went to the end, but tasks that cannot be played were skipped"},
    {TextId::ExitStatusFileProblem, "  4  the file could not be read or is not a valid macro file"},
    {TextId::BadSpeedValue, "%1 takes a number from %2 to %3, not \"%4\""},
    {TextId::MissingValue, "%1 needs a value"},
    {TextId::UnattendedNeedsFile, "--unattended needs a macro file to play (a name ending in #cw)"},
    {TextId::PointNotNumbers, "the point (%1, %2) is not a pair of whole numbers"},
    {TextId::PointOffScreen, "the point (%1, %2) is off the screen (%3 x %4)"},
    {TextId::UnknownTaskKind, "\"%1\" is no task this version knows"},
    {TextId::SkippedTaskLine, "task %1: %2: task skipped"},
    {TextId::SkippedRowsMessage, "Tasks that could not be played were skipped (%1): %2."},
    {TextId::UnplayableRowsNote, "Rows that cannot be played, marked in the grid (%1): %2."},
    {TextId::Wait, "Wait"},
    {TextId::KeepPaceSwitch, "Keep the pace of the recording"},
    {TextId::PlaySpeedLabel, "Speed of playing (0.1 to 10)"},
    {TextId::PlaySpeedRange, "The speed of playing must be a number from 0.1 to 10, such as 2 or 0.5."},
    {TextId::NoImagesNoCheckNote,
     "A file saved without images cannot be checked later: keep the images to check the screen."},
    {TextId::CheckWithoutImagesRemark,
     "The screen check is on, but tasks without a recorded image are played without a check: %1."},
    {TextId::DragGivenUpRemark, "task %1: the drag was given up: its button was let go where it was pressed"},
    {TextId::ReleaseNeverPressedRemark, "task %1: the button of this released task was never pressed: task skipped"},
    {TextId::BadWaitLength, "the wait (%1) is not a whole number of milliseconds from 0 to %2"},
    {TextId::UntypableKey, "no key types \"%1\" and no key code is free to lend it"},
    {TextId::BadPauseLength, "the pause (%1) is not a whole number of seconds from 0 to %2"},
    {TextId::TaskTooLong, "A task text holds at most %1 characters (about 100,000 typed keys)."},
    {TextId::ExitStatusSignal, "  128+N  signal N ended a run (130 SIGINT, 143 SIGTERM), said on standard error"},
    {TextId::EndedBySignalLine, "%1 ended the run at task %2 of %3"},
    {TextId::RunPreviewText, "This macro acts on your desktop when it plays.\n\nClicks: %1\nTyped text: %2\nKeys: "
                             "%3\n\nFirst rows:\n%4\n\nPlay it now?"},
    {TextId::RunPreviewNothing, "none"},
    {TextId::RunPreviewPlay, "Play"},
    {TextId::AskOption,
     "  --ask                     show what the file will do, and play it only when Play is chosen (the "
     "desktop entry's way)"},
    {TextId::OptionsChangedNote, "The file changed these options: %1."},
    {TextId::SwitchOn, "on"},
    {TextId::SwitchOff, "off"},
    {TextId::NotifiedFile, "%1: %2"},
    {TextId::HelpPageNotOpened, "No web browser opened the help page. It is here:\n\n%1"},
    {TextId::EndOfOptions,
     "  --                        end the options: what follows is the file, even when it begins with -"},
    // Clicks that find their target by the recorded image: %1 the task, %2 how far and which way.
    {TextId::OnMismatchFind, "Find the recorded image on the screen"},
    {TextId::FoundLine, "task %1: found %2"},
    {TextId::FoundRight, "%1 px right"},
    {TextId::FoundLeft, "%1 px left"},
    {TextId::FoundDown, "%1 px down"},
    {TextId::FoundUp, "%1 px up"},
    {TextId::FoundNote, "Tasks clicked where their recorded image was found, away from where it was recorded: %1."},
    {TextId::FoundTip, "Left: the recorded image. Right: where playback found it, %1."},
    // %2, %3 the recorded point, %4 the seconds waited; %5, %6 and %7, %8 two places found as alike.
    {TextId::NotFoundStopMessage, "Playback stopped at task %1: the image recorded at (%2, %3) was found neither "
                                  "there nor anywhere on the screen within %4 seconds."},
    {TextId::AlikeStopMessage, "Playback stopped at task %1: the image recorded at (%2, %3) was found in two places "
                               "as alike, at (%5, %6) and at (%7, %8), within %4 seconds; neither was clicked."},
    {TextId::NotFoundLine, "task %1 at (%2, %3): the recorded image was found neither there nor anywhere on the "
                           "screen within %4 s:"},
    {TextId::AlikeLine, "task %1 at (%2, %3): the recorded image was found at (%5, %6) and at (%7, %8) as alike "
                        "within %4 s:"},
    {TextId::StopOption, "  --stop                    stop the running Clickwarden's recording or playback, and exit"},
    {TextId::StopNoInstance, "no running Clickwarden answered at %1"},
    {TextId::StopNothingRunning, "Clickwarden runs, but neither records nor plays: nothing was stopped"},
    {TextId::RecordNeedsX11,
     "Recording is not offered here: a Wayland desktop lets no program see the clicks and keys made in "
     "other windows. Record in an X11 session; the files play here."},
    {TextId::WaylandLacks,
     "The Wayland compositor does not offer what Clickwarden needs to drive the pointer and the keyboard "
     "and to read the screen (missing: %1), and no X11 display could be reached. Clickwarden works on "
     "compositors with the wlroots interfaces (sway, Hyprland, river, labwc, wayfire), on GNOME (mutter's "
     "remote desktop on the session bus) and in X11 sessions."},
};

constexpr bool IsSorted()
{
    for (std::size_t i = 1; i < std::size(kTexts); ++i) {
        if (kTexts[i - 1].id >= kTexts[i].id)
            return false;
    }
    return true;
}
static_assert(IsSorted(), "text ids must be sorted and unique");

} // namespace

QString Text(TextId id)
{
    if (id == TextId::HelpPageAddress)
        return AppPaths::HelpPageUrl();
    const auto* found = std::lower_bound(std::begin(kTexts), std::end(kTexts), id,
                                         [](const Entry& e, TextId key) { return e.id < key; });
    if (found == std::end(kTexts) || found->id != id)
        return {};
    return QString::fromUtf8(found->text);
}

} // namespace TextTable
