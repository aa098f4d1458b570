#include "player/PauseDialog.h"

#include "core/TextTable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The last entry of each list: seconds, minutes, hours.
constexpr int kLastEntry[] = {59, 59, 6};
constexpr int kLabelTextIds[] = {402, 403, 404};
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
} // namespace

PauseDialog::PauseDialog(QWidget* mainWindow, std::function<void(int)> insertPause)
    : QDialog(mainWindow), m_insertPause(std::move(insertPause))
{
    setObjectName(QStringLiteral("frmPausa"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    for (int index = 0; index < 3; ++index) {
        cmbpausa[index] = new QComboBox(this);
        cmbpausa[index]->setObjectName(QStringLiteral("cmbpausa"));
        cmbpausa[index]->setProperty("index", index);
        // The lists take only their own entries.
        cmbpausa[index]->setEditable(false);
        lblpausa[index] = new QLabel(this);
        lblpausa[index]->setObjectName(QStringLiteral("lblpausa"));
        lblpausa[index]->setProperty("index", index);
        lblpausa[index]->setBuddy(cmbpausa[index]);
    }
    OKButton = new QPushButton(this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    // Hours, minutes, seconds from left to right, as a time is read.
    auto* fields = new QHBoxLayout;
    for (const int index : {kHours, kMinutes, kSeconds}) {
        fields->addWidget(cmbpausa[index]);
        fields->addWidget(lblpausa[index]);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(OKButton, &QPushButton::clicked, this, &PauseDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &PauseDialog::CancelButton_Click);
    Form_Load();
}

PauseDialog* PauseDialog::Open(QWidget* mainWindow, std::function<void(int)> insertPause)
{
    mainWindow->setEnabled(false);
    auto* dialog = new PauseDialog(mainWindow, std::move(insertPause));
    // A child window takes over its parent's disabled state: this one must stay usable.
    dialog->setEnabled(true);
    dialog->show();
    return dialog;
}

void PauseDialog::Form_Load()
{
    setWindowTitle(TextTable::Text(140));
    Label1->setText(TextTable::Text(401));
    for (int index = 0; index < 3; ++index)
        lblpausa[index]->setText(TextTable::Text(kLabelTextIds[index]));
    OKButton->setText(TextTable::Text(405));
    CancelButton->setText(TextTable::Text(406));
    for (int index = 0; index < 3; ++index) {
        for (int entry = 0; entry <= kLastEntry[index]; ++entry)
            cmbpausa[index]->addItem(QString::number(entry));
        cmbpausa[index]->setCurrentIndex(0);
    }
}

int PauseDialog::TotalSeconds() const
{
    const auto value = [this](int index) {
        return cmbpausa[index]->currentText().toInt();
    };
    return value(kHours) * kSecondsPerHour + value(kMinutes) * kSecondsPerMinute + value(kSeconds);
}

void PauseDialog::OKButton_Click()
{
    const int total = TotalSeconds();
    if (total > 0 && m_insertPause)
        m_insertPause(total);
    accept();
}

void PauseDialog::CancelButton_Click()
{
    reject();
}

// OK, Cancel, Escape and the close box all end here.
void PauseDialog::done(int result)
{
    if (QWidget* mainWindow = parentWidget())
        mainWindow->setEnabled(true);
    QDialog::done(result);
}
