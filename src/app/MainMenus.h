#pragma once

#include "app/CommandState.h"

#include <QKeySequence>

#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

// The main window's File, Commands and Help menus: their entries, their captions, and which of
// them the command-state rule enables. The window connects the entries to the subsystems.
class MainMenus
{
public:
    // Builds the menus on the bar, every entry enabled as for a window without tasks.
    explicit MainMenus(QMenuBar& bar);

    void SetCaptions();
    // Enables or disables the entries that need a task list.
    void UpdateCommandState(bool flag);

    QMenu* fileMenu = nullptr;
    QAction* newAction = nullptr;
    QAction* openAction = nullptr;
    QAction* appendAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* exitAction = nullptr;
    QMenu* commandsMenu = nullptr;
    QAction* recordAction = nullptr;
    QAction* playAction = nullptr;
    QAction* playFromHereAction = nullptr;
    QAction* playSelectionAction = nullptr;
    QAction* stepAction = nullptr;
    QAction* deleteLastAction = nullptr;
    QAction* optionsAction = nullptr;
    QAction* insertPauseAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* helpPageAction = nullptr;
    QAction* aboutAction = nullptr;

private:
    QAction* Add(QMenu* menu, const char* name, const QKeySequence& shortcut, CommandState::Control control);

    // Every entry with the control it is in the command-state rule.
    std::vector<std::pair<QAction*, CommandState::Control>> m_commands;
};
