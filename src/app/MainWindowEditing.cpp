// The main window's part in editing the task list: the Edit menu stands between File and Commands,
// and the task commands follow the list as edits empty it and fill it again.
#include "app/MainWindow.h"

#include "app/TaskEditor.h"
#include "app/TaskGrid.h"

#include <QMenuBar>

void MainWindow::ConnectEditing()
{
    m_editor = new TaskEditor(*this, *m_grid, m_tasks, m_state, *m_services.messages, m_services.desktop);
    menuBar()->insertMenu(m_commandsMenu->menuAction(), m_editor->Menu());
    connect(m_editor, &TaskEditor::emptied, this, [this](bool empty) { UpdateCommandState(!empty); });
}
