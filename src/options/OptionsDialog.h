#pragma once

#include "core/OptionValues.h"

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
    OptionsDialog(const OptionValues& values, MessageBoxes& messages, QWidget* parent = nullptr);

    // The values the dialog was opened with, or those accepted by OK.
    const OptionValues& Values() const { return m_values; }

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
