#pragma once

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
    const PaceOptions& Pace() const { return m_pace; }

public slots:
    void OKButton_Click();
    void CancelButton_Click();

private:
    void Form_Load();
    void BuildControls();
    QLayout* BuildScreenCheckControls();
    QLayout* BuildPaceControls();
    // The note that a list saved without images cannot be checked, shown while it applies.
    void ShowImagesNote();

    OptionValues m_values;
    ScreenCheckOptions m_screenCheck;
    PaceOptions m_pace;
    MessageBoxes& m_messages;

    QLabel* lblSpeed = nullptr;
    QComboBox* cmbSpeed = nullptr;
    QLabel* lblSens = nullptr;
    QComboBox* cmbSens = nullptr;
    QCheckBox* chkTermina = nullptr;
    QCheckBox* chkRipeti = nullptr;
    QCheckBox* ChkImaging = nullptr;
    QCheckBox* chkCheckScreen = nullptr;
    QLabel* lblCheckWait = nullptr;
    QSpinBox* spnCheckWait = nullptr;
    QLabel* lblOnMismatch = nullptr;
    QComboBox* cmbOnMismatch = nullptr;
    QLabel* lblImagesNote = nullptr;
    QCheckBox* chkKeepPace = nullptr;
    QLabel* lblPlaySpeed = nullptr;
    QComboBox* cmbPlaySpeed = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
