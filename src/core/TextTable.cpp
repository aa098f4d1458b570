#include "core/TextTable.h"

#include "core/AppPaths.h"

#include <algorithm>
#include <iterator>

namespace TextTable {
namespace {

struct Entry
{
    int id;
    const char* text;
};

// Sorted by id. Some texts carry blanks that belong to them: 117 to 119 have two after "Mouse".
constexpr Entry kTexts[] = {
    {101, "#Quorvel Works"},
    {102, "Clickwarden 2004"},
    {108, "File"},
    {109, "About..."},
    {110, "Exit"},
    {111, "Commands"},
    {112, "Record"},
    {113, "Play"},
    {114, "Mouse Click Left"},
    {115, "Mouse Click Right"},
    {116, "Mouse Click Middle"},
    {117, "Mouse  DClick Left"},
    {118, "Mouse  DClick Right"},
    {119, "Mouse  DClick Middle"},
    {121, "All task have been executed."},
    {123, "Recording in progress. Press CTRL+SHIFT+F12 to stop."},
    {124, "Delete last task added."},
    {125, "x"},
    {126, "y"},
    {127, "Task"},
    {129, "Number of events captured:"},
    {130, "File not valid or wrong version"},
    {131, "Open..."},
    {132, "Save..."},
    {133, "Append..."},
    {134, "New"},
    {135, "Playing in process. Press CTRL+SHIFT+F11 to stop."},
    {136, "Number of task executed:"},
    {137, "Online help"},
    {138, "Options..."},
    {139, "Add"},
    {140, "Insert Pause..."},
    {141, "Pause"},
    {142, "Left Mouse Pushed"},
    {143, "Left Mouse Released"},
    {144, "Right Mouse Pushed"},
    {145, "Right Mouse Released"},
    {146, "Middle Mouse Pushed"},
    {147, "Middle Mouse Released"},
    {148, "Key"},
    {149, "."},
    // Macro file errors: the caller appends the file's path and the reason.
    {150, "The file could not be read:"},
    {151, "The file could not be saved:"},
    {152, "It is a device or a pipe, not a file."},
    {153, "It is larger than 1 GB."},
    {154, "It is a folder, not a file."},
    {155, "It would be larger than 1 GB, too large to open again. Switch off the descriptive images in the "
          "options or delete tasks, then save again."},
    // Questions before work is lost: 156 and 159, each with its answers (157, 158; 181, 182) and 304.
    {156, "The task list has changed since it was last saved. Save it first?"},
    {157, "Save"},
    {158, "Discard"},
    {159, "The descriptive images are switched off, but the list still holds images (tasks with one: %1). Keep "
          "them in the file?"},
    // The desktop layer.
    {160, "No X11 display could be reached. Clickwarden records and plays the mouse on X11 desktops only: "
          "start it in an X11 session, where the DISPLAY variable names the X server."},
    {161, "The X server does not offer the XTEST extension that Clickwarden needs to move the pointer and press "
          "the mouse buttons."},
    {162, "This is a Wayland session: Clickwarden sees and drives only the windows that run through XWayland, "
          "not native Wayland windows."},
    {163, "The X server does not offer the RECORD extension: recording samples the mouse buttons at every "
          "recording tick, so a press shorter than the recording interval may be missed."},
    // The command line.
    {170, "Usage: clickwarden [OPTION...] [FILE.#cw]"},
    {171, "Records mouse clicks anywhere on an X11 desktop and plays them back. A macro file named on the "
          "command line is loaded and played at once."},
    {172, "Options:"},
    {173, "  --help                    show this help and exit"},
    {174, "  --version                 show the version and exit"},
    {175, "Help page:"},
    {176, "Keys, pressed anywhere on the desktop:"},
    {177, "  Ctrl+Shift+F12  stop a recording"},
    {178, "  Ctrl+Shift+F11  stop a playback"},
    {179, "  --check-screen[=SECONDS]  before each click, wait for the recorded image"},
    {180, "  --on-mismatch=stop|skip|find  when it never comes: stop, skip the task, or click where\n"
          "                            the image is found now"},
    {181, "Keep the images"},
    {182, "Save without images"},
    // What is wrong in a file that is not valid, and where: 187 or 188 with one of 183 to 186, 189.
    {183, "The first line must be %1, the header of this version of Clickwarden."},
    {184, "A line that begins with a double quote must end with one."},
    {185, "A task line holds x, y, the task and the image, each followed by \"*\"."},
    {186, "The task lines must end with the line %1."},
    {187, "Line %1: %2"},
    {188, "The file ends before line %1: %2"},
    {189, "The switch \"%1\" must be #TRUE# or #FALSE#."},
    // Checking the screen before each click: placeholders %1, %2, ... are filled in where used.
    {190, "Playback stopped at task %1: the screen around (%2, %3) did not match the task's recorded image within "
          "%4 seconds; %5 pixels differed."},
    {191, "Tasks skipped because the screen did not match their recorded image: %1."},
    {192, "task %1 at (%2, %3): the screen did not match the recorded image within %4 s, %5 pixels differed:"},
    {193, "task skipped"},
    {194, "playback stopped"},
    {195, "Left: the recorded image. Right: the screen when playback stopped at this task."},
    {196, "unknown option %1"},
    {197, "%1 takes a whole number of seconds from %2 to %3, not \"%4\""},
    {198, "%1 takes stop, skip or find, not \"%2\""},
    {199, "Try \"clickwarden --help\" for the options."},
    {201, "Clickwarden is freeware and comes with no warranty: use it at your own risk."},
    {202, "Go to web site"},
    {203, "The Clickwarden developers"},
    {204, "Questions and reports: the project's issue tracker"},
    // 205, the help page address, is worked out where the program runs: see Text().
    {301, "Options"},
    {302, "Time unit for playing (msec)"},
    {303, "OK"},
    {304, "Cancel"},
    {305, "Sensibility in recording (msec)"},
    {306, "Close Clickwarden after playing finished"},
    {307, "Repeat tasks forever (CTRL+SHIFT+F11 to stop)"},
    {308, "Save a descriptive image for every event captured"},
    {309, "The time unit for playing must be a whole number from 1 to 32767."},
    {310, "The sensibility in recording must be a whole number from 1 to 1000."},
    {320, "Check the screen before each click"},
    {321, "Wait for the recorded image up to (sec)"},
    {322, "When the screen never matches"},
    {323, "Stop"},
    {324, "Skip the task"},
    {401, "Insert pause of"},
    {402, "sec"},
    {403, "min"},
    {404, "hours"},
    {405, "OK"},
    {406, "Cancel"},
    // What runs, in the window caption and the tray icon: %1 the task, %2 the number of tasks, %3 the pass.
    {501, "Recording"},
    {502, "Playing %1/%2"},
    {503, "Playing task %1 of %2, pass %3"},
    {504, "Stop"},
    // Clicks that find their target by the recorded image: %1 the task, %2 to %8 as below.
    {900, "Find the recorded image on the screen"},
    {901, "task %1: found %2"},
    {902, "%1 px right"},
    {903, "%1 px left"},
    {904, "%1 px down"},
    {905, "%1 px up"},
    {906, "Tasks clicked where their recorded image was found, away from where it was recorded: %1."},
    {907, "Left: the recorded image. Right: where playback found it, %1."},
    // %2, %3 the recorded point, %4 the seconds waited; %5, %6 and %7, %8 two places found.
    {908, "Playback stopped at task %1: the image recorded at (%2, %3) was found neither there nor anywhere on the "
          "screen within %4 seconds."},
    {909, "Playback stopped at task %1: the image recorded at (%2, %3) was found in two places as alike, at (%5, %6) "
          "and at (%7, %8), within %4 seconds; neither was clicked."},
    {910, "task %1 at (%2, %3): the recorded image was found neither there nor anywhere on the screen within %4 s:"},
    {911, "task %1 at (%2, %3): the recorded image was found at (%5, %6) and at (%7, %8) as alike within %4 s:"},
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

constexpr int kHelpPageId = 205;

} // namespace

QString Text(int id)
{
    if (id == kHelpPageId)
        return AppPaths::HelpPageUrl();
    const auto* found =
        std::lower_bound(std::begin(kTexts), std::end(kTexts), id, [](const Entry& e, int key) { return e.id < key; });
    if (found == std::end(kTexts) || found->id != id)
        return {};
    return QString::fromUtf8(found->text);
}

} // namespace TextTable
