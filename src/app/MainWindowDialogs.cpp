// The main window's side of the Options dialog, the task preview and the About box.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/TaskGrid.h"
#include "app/TaskPreview.h"
#include "options/OptionsDialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QTableView>

namespace {
// Hands every key release of the grid to a handler. The grid has moved its current row on the
// key press, so by the release the row the user moved to is current.
class KeyUpFilter : public QObject
{
public:
    using Handler = std::function<void(int, Qt::KeyboardModifiers)>;

    KeyUpFilter(QObject* parent, Handler handler) : QObject(parent), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            m_handler(key->key(), key->modifiers());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Handler m_handler;
};
} // namespace

void MainWindow::ConnectDialogs()
{
    connect(m_optionsAction, &QAction::triggered, this, &MainWindow::EditOptions);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::ShowAbout);
    // Only the user's picks draw the preview: playback and loading move the current row too, and
    // clicked comes also for the row that is already current.
    connect(m_grid, &QAbstractItemView::clicked, this, &MainWindow::GridClicked);
    m_grid->installEventFilter(
        new KeyUpFilter(m_grid, [this](int keyCode, Qt::KeyboardModifiers shift) { GridKeyReleased(keyCode, shift); }));
}

// The main window stays disabled while the dialog is open, and is enabled however it closes.
void MainWindow::EditOptions()
{
    setEnabled(false);
    auto* dialog = new OptionsDialog(CurrentOptions(), m_state.screenCheck, m_state.pace, *m_services.messages, this);
    dialog->SetKeyboard(m_state.keyboard);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // A window inside a disabled window is disabled with it unless enabled on its own.
    dialog->setEnabled(true);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        if (result == QDialog::Accepted) {
            ApplyOptions(dialog->Values());
            m_state.screenCheck = dialog->ScreenCheck();
            m_state.pace = dialog->Pace();
            m_state.keyboard = dialog->Keyboard();
            if (m_services.settings) {
                m_state.screenCheck.Save(*m_services.settings);
                m_state.pace.Save(*m_services.settings);
                m_state.keyboard.Save(*m_services.settings);
            }
        }
        setEnabled(true);
    });
    dialog->show();
}

void MainWindow::ShowAbout()
{
    if (!m_aboutBox) {
        m_aboutBox = new AboutBox(*m_services.messages, m_services.openUrl, this);
        m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

void MainWindow::GridClicked()
{
    PreviewCurrentRow();
}

void MainWindow::GridKeyReleased(int /*keyCode*/, Qt::KeyboardModifiers /*shift*/)
{
    PreviewCurrentRow();
}

void MainWindow::PreviewCurrentRow()
{
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : 0;
    const QByteArray image = m_tasks.Image(row);
    // The task the last run stopped on, as long as it is still the same task.
    const ScreenMismatch* stop = m_player && m_player->StoppedOn() ? &*m_player->StoppedOn() : nullptr;
    const Player::FoundPlace* found = m_player ? m_player->FoundAt(row) : nullptr;
    if (stop && stop->row == row && stop->storedImage == image)
        m_preview->PreviewBeside(image, stop->current);
    else if (found && !found->screen.isNull() && found->storedImage == image)
        m_preview->PreviewBeside(image, found->screen, ScreenCheck::FoundTip(found->offset));
    else
        m_preview->Preview(image);
}
