#include "app/EditorCommands.h"

#include "app/AboutBox.h"
#include "app/HelpPage.h"
#include "app/PauseDialog.h"
#include "app/TaskEditor.h"
#include "core/TextTable.h"
#include "options/OptionsDialog.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QWidget>

EditorCommands::EditorCommands(QWidget& window, TaskList& tasks, SharedState& state, TaskEditor& editor,
                               MessageBoxes& messages, OpenUrl openUrl, QSettings* settings)
    : QObject(&window), m_window(window), m_tasks(tasks), m_state(state), m_editor(editor), m_messages(messages),
      m_openUrl(std::move(openUrl)), m_settings(settings)
{}

void EditorCommands::DeleteLastTask()
{
    // Rows the user selected are what Del takes, as in a document; with none, the last task.
    if (m_tasks.IsEmpty())
        emit commandStateChanged(false);
    else if (!m_editor.DeleteSelectedRows())
        m_editor.Apply(TaskEdits::Remove(m_tasks, {m_tasks.TaskCount()}));
}

void EditorCommands::AskForPause()
{
    PauseDialog::Open(&m_window, [this](int seconds) { AppendPause(seconds); });
}

void EditorCommands::AppendPause(int seconds)
{
    TaskRows pause;
    pause.push_back(TaskRow{QString::number(seconds), {}, TaskKinds::Text(TaskKinds::Action::Pause), {}});
    m_editor.Apply(TaskEdits::Insert(m_tasks, m_tasks.Rows(), std::move(pause)));
    // A list that holds only a pause can be played, saved and deleted too.
    emit commandStateChanged(true);
}

// The main window stays disabled while the dialog is open, and is enabled however it closes.
void EditorCommands::EditOptions()
{
    m_window.setEnabled(false);
    auto* dialog = new OptionsDialog(m_state.options, m_state.screenCheck, m_state.pace, m_messages, &m_window);
    dialog->SetKeyboard(m_state.keyboard);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // A window inside a disabled window is disabled with it unless enabled on its own.
    dialog->setEnabled(true);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        if (result == QDialog::Accepted) {
            emit optionsChosen(dialog->Values());
            m_state.screenCheck = dialog->ScreenCheck();
            m_state.pace = dialog->Pace();
            m_state.keyboard = dialog->Keyboard();
            if (m_settings) {
                m_state.screenCheck.Save(*m_settings);
                m_state.pace.Save(*m_settings);
                m_state.keyboard.Save(*m_settings);
            }
        }
        m_window.setEnabled(true);
    });
    dialog->show();
}

void EditorCommands::OpenHelpPage()
{
    HelpPage::Open(m_openUrl, m_messages);
}

void EditorCommands::ShowAbout()
{
    if (!m_aboutBox) {
        m_aboutBox = new AboutBox(m_messages, m_openUrl, &m_window);
        m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}
