#include "options/OptionsDialog.h"

#include "core/MessageBoxes.h"
#include "core/TextTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const char* const kSpeedChoices[] = {"800", "900", "1000", "1500", "2000", "3000", "4000", "5000"};
const char* const kSensChoices[] = {"40", "50", "60", "70", "80", "90", "100"};
const char* const kPlaySpeedChoices[] = {"0.5", "1", "2", "4"};

QComboBox* MakeIntervalBox(QWidget* parent, const char* name, const QStringList& choices, const QString& tip)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    // The list is fixed: a typed value is taken as the box's text, never added to the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    // What the user types is kept: completing "300" from the list would make it 3000.
    box->setCompleter(nullptr);
    box->addItems(choices);
    box->setToolTip(tip);
    return box;
}

QStringList ToList(const auto& choices)
{
    QStringList list;
    for (const char* choice : choices)
        list << QString::fromLatin1(choice);
    return list;
}

// Shows a listed value as picked from the list, any other one as typed text.
void ShowInterval(QComboBox* box, int interval)
{
    const QString text = QString::number(interval);
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
}
} // namespace

OptionsDialog::OptionsDialog(const OptionValues& values, const ScreenCheckOptions& screenCheck, const PaceOptions& pace,
                             MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), m_values(values), m_screenCheck(screenCheck), m_pace(pace), m_messages(messages)
{
    setObjectName(QStringLiteral("frmDialog"));
    BuildControls();
    Populate();
}

void OptionsDialog::BuildControls()
{
    m_playIntervalLabel = new QLabel(this);
    m_playIntervalLabel->setObjectName(QStringLiteral("lblSpeed"));
    m_playInterval = MakeIntervalBox(this, "cmbSpeed", ToList(kSpeedChoices), TextTable::Text(TextId::PlayIntervalTip));
    m_playIntervalLabel->setBuddy(m_playInterval);

    m_recordIntervalLabel = new QLabel(this);
    m_recordIntervalLabel->setObjectName(QStringLiteral("lblSens"));
    m_recordInterval =
        MakeIntervalBox(this, "cmbSens", ToList(kSensChoices), TextTable::Text(TextId::RecordIntervalTip));
    m_recordIntervalLabel->setBuddy(m_recordInterval);

    m_closeAfterPlaying = new QCheckBox(this);
    m_closeAfterPlaying->setObjectName(QStringLiteral("chkTermina"));
    m_repeatForever = new QCheckBox(this);
    m_repeatForever->setObjectName(QStringLiteral("chkRipeti"));
    m_saveImages = new QCheckBox(this);
    m_saveImages->setObjectName(QStringLiteral("ChkImaging"));

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* intervals = new QGridLayout;
    intervals->addWidget(m_playIntervalLabel, 0, 0);
    intervals->addWidget(m_playInterval, 0, 1);
    intervals->addWidget(m_recordIntervalLabel, 1, 0);
    intervals->addWidget(m_recordInterval, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(intervals);
    layout->addWidget(m_closeAfterPlaying);
    layout->addWidget(m_repeatForever);
    layout->addWidget(m_saveImages);
    layout->addLayout(BuildKeyboardControls());
    layout->addLayout(BuildScreenCheckControls());
    layout->addLayout(BuildPaceControls());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_okButton, &QPushButton::clicked, this, &OptionsDialog::Accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &OptionsDialog::Cancel);
}

QLayout* OptionsDialog::BuildKeyboardControls()
{
    m_recordKeyboard = new QCheckBox(this);
    m_recordKeyboard->setObjectName(QStringLiteral("chkKeyboard"));
    m_recordKeyboard->setChecked(m_keyboard.record);
    // What typing into a recording means is said beside the switch, not hidden in a tool tip.
    m_keyboardNote = new QLabel(this);
    m_keyboardNote->setWordWrap(true);
    m_keyboardNote->setMaximumWidth(360);
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_recordKeyboard);
    layout->addWidget(m_keyboardNote);
    return layout;
}

void OptionsDialog::SetKeyboard(const KeyboardOptions& keyboard)
{
    m_keyboard = keyboard;
    m_recordKeyboard->setChecked(keyboard.record);
}

QLayout* OptionsDialog::BuildScreenCheckControls()
{
    m_checkScreen = new QCheckBox(this);
    m_checkScreen->setObjectName(QStringLiteral("chkCheckScreen"));
    m_checkWaitLabel = new QLabel(this);
    m_checkWait = new QSpinBox(this);
    m_checkWait->setObjectName(QStringLiteral("spnCheckWait"));
    m_checkWait->setRange(ScreenCheckOptions::kMinWaitSeconds, ScreenCheckOptions::kMaxWaitSeconds);
    m_checkWaitLabel->setBuddy(m_checkWait);
    m_onMismatchLabel = new QLabel(this);
    m_onMismatch = new QComboBox(this);
    m_onMismatch->setObjectName(QStringLiteral("cmbOnMismatch"));
    m_onMismatchLabel->setBuddy(m_onMismatch);
    // The details count only while the check is on; Start ticks the box and so enables them.
    for (QWidget* detail :
         std::initializer_list<QWidget*>{m_checkWaitLabel, m_checkWait, m_onMismatchLabel, m_onMismatch}) {
        detail->setEnabled(false);
        connect(m_checkScreen, &QCheckBox::toggled, detail, &QWidget::setEnabled);
    }

    auto* details = new QGridLayout;
    details->setColumnMinimumWidth(0, 16);
    details->addWidget(m_checkWaitLabel, 0, 1);
    details->addWidget(m_checkWait, 0, 2);
    details->addWidget(m_onMismatchLabel, 1, 1);
    details->addWidget(m_onMismatch, 1, 2);
    auto* layout = new QVBoxLayout;
    m_imagesNote = new QLabel(this);
    m_imagesNote->setObjectName(QStringLiteral("lblImagesNote"));
    m_imagesNote->setWordWrap(true);
    connect(m_checkScreen, &QCheckBox::toggled, this, &OptionsDialog::ShowImagesNote);
    connect(m_saveImages, &QCheckBox::toggled, this, &OptionsDialog::ShowImagesNote);
    layout->addWidget(m_checkScreen);
    layout->addLayout(details);
    layout->addWidget(m_imagesNote);
    return layout;
}

QLayout* OptionsDialog::BuildPaceControls()
{
    m_keepPace = new QCheckBox(this);
    m_keepPace->setObjectName(QStringLiteral("chkKeepPace"));
    m_playSpeedLabel = new QLabel(this);
    m_playSpeed = MakeIntervalBox(this, "cmbPlaySpeed", ToList(kPlaySpeedChoices), QString());
    m_playSpeedLabel->setBuddy(m_playSpeed);
    auto* speed = new QHBoxLayout;
    speed->addWidget(m_playSpeedLabel);
    speed->addWidget(m_playSpeed);
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_keepPace);
    layout->addLayout(speed);
    return layout;
}

void OptionsDialog::ShowImagesNote()
{
    // Recorded tasks keep their images while the check is on; a file saved without them does not.
    m_imagesNote->setVisible(m_checkScreen->isChecked() && !m_saveImages->isChecked());
}

void OptionsDialog::Populate()
{
    setWindowTitle(TextTable::Text(TextId::OptionsTitle));
    m_playIntervalLabel->setText(TextTable::Text(TextId::PlayIntervalLabel));
    m_okButton->setText(TextTable::Text(TextId::OkAnswer));
    m_cancelButton->setText(TextTable::Text(TextId::CancelAnswer));
    m_recordIntervalLabel->setText(TextTable::Text(TextId::RecordIntervalLabel));
    m_closeAfterPlaying->setText(TextTable::Text(TextId::CloseAfterPlayingSwitch));
    m_repeatForever->setText(TextTable::Text(TextId::RepeatForeverSwitch));
    m_saveImages->setText(TextTable::Text(TextId::SaveImagesSwitch));

    m_closeAfterPlaying->setChecked(m_values.closeAfterPlaying);
    m_repeatForever->setChecked(m_values.repeatForever);
    m_saveImages->setChecked(m_values.saveImages);
    ShowInterval(m_playInterval, m_values.playIntervalMs);
    ShowInterval(m_recordInterval, m_values.recIntervalMs);

    m_recordKeyboard->setText(TextTable::Text(TextId::RecordKeyboardSwitch));
    m_keyboardNote->setText(TextTable::Text(TextId::KeyboardPlainTextNote));
    m_checkScreen->setText(TextTable::Text(TextId::CheckScreenSwitch));
    m_checkWaitLabel->setText(TextTable::Text(TextId::CheckWaitLabel));
    m_onMismatchLabel->setText(TextTable::Text(TextId::OnMismatchLabel));
    m_onMismatch->addItem(TextTable::Text(TextId::OnMismatchStop),
                          QVariant::fromValue(int(ScreenCheckOptions::OnMismatch::Stop)));
    m_onMismatch->addItem(TextTable::Text(TextId::OnMismatchSkip),
                          QVariant::fromValue(int(ScreenCheckOptions::OnMismatch::Skip)));
    m_onMismatch->addItem(TextTable::Text(TextId::OnMismatchFind),
                          QVariant::fromValue(int(ScreenCheckOptions::OnMismatch::Find)));
    m_checkScreen->setChecked(m_screenCheck.enabled);
    m_checkWait->setValue(m_screenCheck.waitSeconds);
    m_onMismatch->setCurrentIndex(m_onMismatch->findData(int(m_screenCheck.onMismatch)));
    m_imagesNote->setText(TextTable::Text(TextId::NoImagesNoCheckNote));
    ShowImagesNote();

    m_keepPace->setText(TextTable::Text(TextId::KeepPaceSwitch));
    m_playSpeedLabel->setText(TextTable::Text(TextId::PlaySpeedLabel));
    m_keepPace->setChecked(m_pace.keepPace);
    if (const int index = m_playSpeed->findText(PaceOptions::SpeedText(m_pace.speed)); index >= 0)
        m_playSpeed->setCurrentIndex(index);
    m_playSpeed->setEditText(PaceOptions::SpeedText(m_pace.speed));
}

// A recording interval that stops m_pollTimer, or slows it to seconds, would leave recording and
// playback without a timely way to stop: such values are refused and the dialog stays open.
void OptionsDialog::Accept()
{
    const std::optional<int> play = ParseInterval(m_playInterval->currentText(), OptionValues::kMinPlayIntervalMs,
                                                  OptionValues::kMaxPlayIntervalMs);
    if (!play) {
        m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(TextId::PlayIntervalRange));
        m_playInterval->setFocus();
        return;
    }
    const std::optional<int> rec = ParseInterval(m_recordInterval->currentText(), OptionValues::kMinRecIntervalMs,
                                                 OptionValues::kMaxRecIntervalMs);
    if (!rec) {
        m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(TextId::RecordIntervalRange));
        m_recordInterval->setFocus();
        return;
    }
    const std::optional<double> speed = PaceOptions::ParseSpeed(m_playSpeed->currentText());
    if (!speed) {
        m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(TextId::PlaySpeedRange));
        m_playSpeed->setFocus();
        return;
    }
    m_pace.speed = *speed;
    m_pace.keepPace = m_keepPace->isChecked();
    m_values.playIntervalMs = *play;
    m_values.recIntervalMs = *rec;
    m_values.closeAfterPlaying = m_closeAfterPlaying->isChecked();
    m_values.repeatForever = m_repeatForever->isChecked();
    m_values.saveImages = m_saveImages->isChecked();
    m_keyboard.record = m_recordKeyboard->isChecked();
    m_screenCheck.enabled = m_checkScreen->isChecked();
    m_screenCheck.waitSeconds = m_checkWait->value();
    m_screenCheck.onMismatch = ScreenCheckOptions::OnMismatch(m_onMismatch->currentData().toInt());
    accept();
}

void OptionsDialog::Cancel()
{
    reject();
}
