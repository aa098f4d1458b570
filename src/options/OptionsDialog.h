#pragma once

#include "core/KeyboardOptions.h"
#include "core/OptionValues.h"
#include "core/PaceOptions.h"
#include "core/ScreenCheckOptions.h"

#include <QDialog>

#include <optional>

class MessageBoxes;
class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QSpinBox;

// The Options dialog (frmDialog): the two timer intervals and the three switches, and the check of
// the screen before each click. It copies the values it is given into its controls and hands them
// back through Values() and ScreenCheck() once OK has accepted them; it never touches the main
// window itself.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(const OptionValues& values, const ScreenCheckOptions& screenCheck, const PaceOptions& pace,
                  MessageBoxes& messages, QWidget* parent = nullptr);

    // The values the dialog was opened with, or those accepted by OK.
    const OptionValues& Values() const { return m_values; }
    const ScreenCheckOptions& ScreenCheck() const { return m_screenCheck; }
    // Whether recordings take the keyboard: shown from SetKeyboard, handed back once OK accepted it.
    void SetKeyboard(const KeyboardOptions& keyboard);
    const KeyboardOptions& Keyboard() const { return m_keyboard; }
    const PaceOptions& Pace() const { return m_pace; }

public slots:
    void Accept();
    void Cancel();

private:
    void Populate();
    void BuildControls();
    QLayout* BuildScreenCheckControls();
    QLayout* BuildPaceControls();
    QLayout* BuildKeyboardControls();
    // The note that a list saved without images cannot be checked, shown while it applies.
    void ShowImagesNote();

    OptionValues m_values;
    ScreenCheckOptions m_screenCheck;
    PaceOptions m_pace;
    KeyboardOptions m_keyboard;
    MessageBoxes& m_messages;

    QLabel* m_playIntervalLabel = nullptr;
    QComboBox* m_playInterval = nullptr;
    QLabel* m_recordIntervalLabel = nullptr;
    QComboBox* m_recordInterval = nullptr;
    QCheckBox* m_closeAfterPlaying = nullptr;
    QCheckBox* m_repeatForever = nullptr;
    QCheckBox* m_saveImages = nullptr;
    QCheckBox* m_recordKeyboard = nullptr;
    QLabel* m_keyboardNote = nullptr;
    QCheckBox* m_checkScreen = nullptr;
    QLabel* m_checkWaitLabel = nullptr;
    QSpinBox* m_checkWait = nullptr;
    QLabel* m_onMismatchLabel = nullptr;
    QComboBox* m_onMismatch = nullptr;
    QLabel* m_imagesNote = nullptr;
    QCheckBox* m_keepPace = nullptr;
    QLabel* m_playSpeedLabel = nullptr;
    QComboBox* m_playSpeed = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
