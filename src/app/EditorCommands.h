#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>

class AboutBox;
class MessageBoxes;
class QSettings;
class QWidget;
class TaskEditor;
class TaskList;
struct OptionValues;
struct SharedState;

// The editor's commands beside the File and Edit menus: the last task deleted, a pause appended,
// the Options dialog, and the Help menu's page and About box.
class EditorCommands : public QObject
{
    Q_OBJECT

public:
    using OpenUrl = std::function<bool(const QUrl&)>;

    // window: the dialogs' parent, disabled while Options is open; settings: where the options
    // chosen are kept, nowhere when null.
    EditorCommands(QWidget& window, TaskList& tasks, SharedState& state, TaskEditor& editor, MessageBoxes& messages,
                   OpenUrl openUrl, QSettings* settings);

    void DeleteLastTask();
    // Asks for the length of a pause and appends it.
    void AskForPause();
    // Appends a pause task of this many seconds.
    void AppendPause(int seconds);
    void EditOptions();
    void OpenHelpPage();
    void ShowAbout();

signals:
    // The task commands follow the list: on when it holds tasks.
    void commandStateChanged(bool flag);
    // The intervals and switches chosen in Options, before the rest of what it changed is kept.
    void optionsChosen(const OptionValues& options);

private:
    QWidget& m_window;
    TaskList& m_tasks;
    SharedState& m_state;
    TaskEditor& m_editor;
    MessageBoxes& m_messages;
    OpenUrl m_openUrl;
    QSettings* m_settings;
    QPointer<AboutBox> m_aboutBox; // one About box at a time
};
