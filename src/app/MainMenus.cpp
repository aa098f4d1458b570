#include "app/MainMenus.h"

#include "core/TextTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

MainMenus::MainMenus(QMenuBar& bar)
{
    using CommandState::Control;
    fileMenu = bar.addMenu(QString());
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
    newAction = Add(fileMenu, "mnuFileNuovo", QKeySequence(Qt::CTRL | Qt::Key_N), Control::New);
    openAction = Add(fileMenu, "mnuFileApri", QKeySequence(Qt::CTRL | Qt::Key_O), Control::Open);
    appendAction = Add(fileMenu, "mnuFileAggiungi", QKeySequence(Qt::CTRL | Qt::Key_A), Control::Append);
    saveAction = Add(fileMenu, "mnuFileSalva", QKeySequence(Qt::CTRL | Qt::Key_S), Control::Save);
    exitAction = Add(fileMenu, "mnuFileEsci", QKeySequence(Qt::CTRL | Qt::Key_Q), Control::Exit);

    commandsMenu = bar.addMenu(QString());
    commandsMenu->setObjectName(QStringLiteral("mnuComandi"));
    recordAction =
        Add(commandsMenu, "mnuComandiRec", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12), Control::Record);
    playAction = Add(commandsMenu, "mnuComandiPlay", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F11), Control::Play);
    deleteLastAction = Add(commandsMenu, "mnuComandiCanc", QKeySequence(Qt::Key_Delete), Control::Delete);
    optionsAction = Add(commandsMenu, "mnuComandiImpostazioni", QKeySequence(), Control::Options);
    insertPauseAction = Add(commandsMenu, "mnuComandiPausa", QKeySequence(), Control::InsertPause);

    helpMenu = bar.addMenu(TextTable::Text(TextId::HelpMenu));
    helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    helpPageAction = Add(helpMenu, "mnuGotosite", QKeySequence(Qt::Key_F1), Control::OnlineHelp);
    aboutAction = Add(helpMenu, "mnuHelpAbout", QKeySequence(Qt::Key_F3), Control::About);

    // Beside Play, enabled as it is: the whole list from the current row, the selection, by steps.
    playFromHereAction = Add(commandsMenu, "playFromHere", QKeySequence(), Control::Play);
    playSelectionAction = Add(commandsMenu, "playSelection", QKeySequence(), Control::Play);
    stepAction = Add(commandsMenu, "playBySteps", QKeySequence(), Control::Play);
    for (QAction* action : {playFromHereAction, playSelectionAction, stepAction})
        commandsMenu->insertAction(deleteLastAction, action);
}

QAction* MainMenus::Add(QMenu* menu, const char* name, const QKeySequence& shortcut, CommandState::Control control)
{
    auto* action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setEnabled(CommandState::IsEnabled(control, false));
    m_commands.emplace_back(action, control);
    return action;
}

void MainMenus::SetCaptions()
{
    const std::pair<QAction*, TextId> actionCaptions[] = {
        {aboutAction, TextId::AboutCommand},
        {exitAction, TextId::ExitCommand},
        {recordAction, TextId::RecordCommand},
        {playAction, TextId::PlayCommand},
        {playFromHereAction, TextId::PlayFromHereCommand},
        {playSelectionAction, TextId::PlaySelectionCommand},
        {stepAction, TextId::StepCommand},
        {deleteLastAction, TextId::DeleteLastTaskCommand},
        {openAction, TextId::OpenCommand},
        {saveAction, TextId::SaveCommand},
        {appendAction, TextId::AppendCommand},
        {newAction, TextId::NewCommand},
        {helpPageAction, TextId::OnlineHelpCommand},
        {optionsAction, TextId::OptionsCommand},
        {insertPauseAction, TextId::InsertPauseCommand},
    };
    fileMenu->setTitle(TextTable::Text(TextId::FileMenu));
    commandsMenu->setTitle(TextTable::Text(TextId::CommandsMenu));
    for (const auto& [action, id] : actionCaptions)
        action->setText(TextTable::Text(id));
}

void MainMenus::UpdateCommandState(bool flag)
{
    // A command the desktop cannot serve (Record on Wayland, DesktopStartup) stays off whatever the rule says.
    for (const auto& [action, control] : m_commands)
        action->setEnabled(CommandState::IsEnabled(control, flag) && !action->property("notOffered").toBool());
}
