#pragma once

#include "tasks/OptionValues.h"

#include <QDialog>

#include <optional>

class MessageBoxes;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The Options dialog (frmDialog): the two timer intervals and the three switches. It copies the
// values it is given into its controls and hands them back through Values() once OK has
// accepted them; it never touches the main window itself.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // The ranges OK accepts, the same a macro file may hold.
    static constexpr int kMaxPlayIntervalMs = 32767;
    static constexpr int kMaxRecIntervalMs = 1000;

    OptionsDialog(const OptionValues& values, MessageBoxes& messages, QWidget* parent = nullptr);

    // The values the dialog was opened with, or those accepted by OK.
    const OptionValues& Values() const { return m_values; }

    // A box's text as an interval, or nothing when it is not a whole number from 1 to max.
    static std::optional<int> ParseInterval(const QString& text, int max);

public slots:
    void OKButton_Click();
    void CancelButton_Click();

private:
    void Form_Load();
    void BuildControls();

    OptionValues m_values;
    MessageBoxes& m_messages;

    QLabel* lblSpeed = nullptr;
    QComboBox* cmbSpeed = nullptr;
    QLabel* lblSens = nullptr;
    QComboBox* cmbSens = nullptr;
    QCheckBox* chkTermina = nullptr;
    QCheckBox* chkRipeti = nullptr;
    QCheckBox* ChkImaging = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
