#include "app/PauseDialog.h"

#include "core/TextTable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The last entry of each list: seconds, minutes, hours.
constexpr int kLastEntry[] = {59, 59, 6};
constexpr TextId kLabelTextIds[] = {TextId::Seconds, TextId::Minutes, TextId::Hours};
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
} // namespace

PauseDialog::PauseDialog(QWidget* mainWindow, std::function<void(int)> insertPause)
    : QDialog(mainWindow), m_insertPause(std::move(insertPause))
{
    setObjectName(QStringLiteral("frmPausa"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("Label1"));
    for (int index = 0; index < 3; ++index) {
        m_parts[index] = new QComboBox(this);
        m_parts[index]->setObjectName(QStringLiteral("cmbpausa"));
        m_parts[index]->setProperty("index", index);
        // The lists take only their own entries.
        m_parts[index]->setEditable(false);
        m_units[index] = new QLabel(this);
        m_units[index]->setObjectName(QStringLiteral("lblpausa"));
        m_units[index]->setProperty("index", index);
        m_units[index]->setBuddy(m_parts[index]);
    }
    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));

    // Hours, minutes, seconds from left to right, as a time is read.
    auto* fields = new QHBoxLayout;
    for (const int index : {kHours, kMinutes, kSeconds}) {
        fields->addWidget(m_parts[index]);
        fields->addWidget(m_units[index]);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &PauseDialog::Accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &PauseDialog::Cancel);
    Populate();
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

void PauseDialog::Populate()
{
    setWindowTitle(TextTable::Text(TextId::InsertPauseCommand));
    m_caption->setText(TextTable::Text(TextId::PauseLabel));
    for (int index = 0; index < 3; ++index)
        m_units[index]->setText(TextTable::Text(kLabelTextIds[index]));
    m_okButton->setText(TextTable::Text(TextId::PauseOk));
    m_cancelButton->setText(TextTable::Text(TextId::PauseCancel));
    for (int index = 0; index < 3; ++index) {
        for (int entry = 0; entry <= kLastEntry[index]; ++entry)
            m_parts[index]->addItem(QString::number(entry));
        m_parts[index]->setCurrentIndex(0);
    }
}

int PauseDialog::TotalSeconds() const
{
    const auto value = [this](int index) {
        return m_parts[index]->currentText().toInt();
    };
    return value(kHours) * kSecondsPerHour + value(kMinutes) * kSecondsPerMinute + value(kSeconds);
}

void PauseDialog::Accept()
{
    const int total = TotalSeconds();
    if (total > 0 && m_insertPause)
        m_insertPause(total);
    accept();
}

void PauseDialog::Cancel()
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
