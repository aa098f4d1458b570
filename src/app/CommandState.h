#pragma once

// The rule that enables the main window's commands. Play, Delete, Save and Append, and the task
// grid with them, follow the flag of the last UpdateCommandState call, not the list's content (a
// file read enables them even when the file held no task); as the window is built they are off.
// The other commands are never disabled.
namespace CommandState {

enum class Control
{
    New,
    Open,
    Append,
    Save,
    Exit,
    Record,
    Play,
    Delete,
    Options,
    InsertPause,
    OnlineHelp,
    About,
    TaskGrid,
};

// Whether a control is enabled after UpdateCommandState(taskCommands); as built, the same with false.
constexpr bool IsEnabled(Control control, bool taskCommands)
{
    switch (control) {
    case Control::Append:
    case Control::Save:
    case Control::Play:
    case Control::Delete:
    case Control::TaskGrid:
        return taskCommands;
    case Control::New:
    case Control::Open:
    case Control::Exit:
    case Control::Record:
    case Control::Options:
    case Control::InsertPause:
    case Control::OnlineHelp:
    case Control::About:
        break;
    }
    return true;
}

} // namespace CommandState
