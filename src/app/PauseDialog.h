#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// The Insert Pause dialog: hours, minutes and seconds picked from three lists. It is shown
// beside the disabled main window and enables it again however it closes; OK hands a total
// above 0 seconds to the insert callback. It deletes itself once closed.
class PauseDialog : public QDialog
{
    Q_OBJECT

public:
    // The lists in the order of their index: seconds, minutes, hours.
    enum ListIndex
    {
        kSeconds = 0,
        kMinutes = 1,
        kHours = 2,
    };

    // mainWindow is the dialog's parent and is enabled again when the dialog closes.
    PauseDialog(QWidget* mainWindow, std::function<void(int seconds)> insertPause);

    // Disables the main window and shows a new dialog without modality.
    static PauseDialog* Open(QWidget* mainWindow, std::function<void(int seconds)> insertPause);

    // The pause the three lists describe, in seconds.
    int TotalSeconds() const;

    void done(int result) override;

private slots:
    void Accept();
    void Cancel();

private:
    void Populate();

    std::function<void(int)> m_insertPause;
    QLabel* m_caption = nullptr;
    std::array<QComboBox*, 3> m_parts{};
    std::array<QLabel*, 3> m_units{};
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
