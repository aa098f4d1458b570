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

OptionsDialog::OptionsDialog(const OptionValues& values, const ScreenCheckOptions& screenCheck, MessageBoxes& messages,
                             QWidget* parent)
    : QDialog(parent), m_values(values), m_screenCheck(screenCheck), m_messages(messages)
{
    setObjectName(QStringLiteral("frmDialog"));
    BuildControls();
    Form_Load();
}

void OptionsDialog::BuildControls()
{
    lblSpeed = new QLabel(this);
    lblSpeed->setObjectName(QStringLiteral("lblSpeed"));
    cmbSpeed = MakeIntervalBox(this, "cmbSpeed", ToList(kSpeedChoices),
                               QStringLiteral("Intervallo di tempo tra un evento ed il successivo"));
    lblSpeed->setBuddy(cmbSpeed);

    lblSens = new QLabel(this);
    lblSens->setObjectName(QStringLiteral("lblSens"));
    cmbSens =
        MakeIntervalBox(this, "cmbSens", ToList(kSensChoices), QStringLiteral("Sensibilità nel rilevare i click"));
    lblSens->setBuddy(cmbSens);

    chkTermina = new QCheckBox(this);
    chkTermina->setObjectName(QStringLiteral("chkTermina"));
    chkRipeti = new QCheckBox(this);
    chkRipeti->setObjectName(QStringLiteral("chkRipeti"));
    ChkImaging = new QCheckBox(this);
    ChkImaging->setObjectName(QStringLiteral("ChkImaging"));

    OKButton = new QPushButton(this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* intervals = new QGridLayout;
    intervals->addWidget(lblSpeed, 0, 0);
    intervals->addWidget(cmbSpeed, 0, 1);
    intervals->addWidget(lblSens, 1, 0);
    intervals->addWidget(cmbSens, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(intervals);
    layout->addWidget(chkTermina);
    layout->addWidget(chkRipeti);
    layout->addWidget(ChkImaging);
    layout->addLayout(BuildScreenCheckControls());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &OptionsDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &OptionsDialog::CancelButton_Click);
}

QLayout* OptionsDialog::BuildScreenCheckControls()
{
    chkCheckScreen = new QCheckBox(this);
    chkCheckScreen->setObjectName(QStringLiteral("chkCheckScreen"));
    lblCheckWait = new QLabel(this);
    spnCheckWait = new QSpinBox(this);
    spnCheckWait->setObjectName(QStringLiteral("spnCheckWait"));
    spnCheckWait->setRange(ScreenCheckOptions::kMinWaitSeconds, ScreenCheckOptions::kMaxWaitSeconds);
    lblCheckWait->setBuddy(spnCheckWait);
    lblOnMismatch = new QLabel(this);
    cmbOnMismatch = new QComboBox(this);
    cmbOnMismatch->setObjectName(QStringLiteral("cmbOnMismatch"));
    lblOnMismatch->setBuddy(cmbOnMismatch);
    // The details count only while the check is on; Form_Load ticks the box and so enables them.
    for (QWidget* detail : std::initializer_list<QWidget*>{lblCheckWait, spnCheckWait, lblOnMismatch, cmbOnMismatch}) {
        detail->setEnabled(false);
        connect(chkCheckScreen, &QCheckBox::toggled, detail, &QWidget::setEnabled);
    }

    auto* details = new QGridLayout;
    details->setColumnMinimumWidth(0, 16);
    details->addWidget(lblCheckWait, 0, 1);
    details->addWidget(spnCheckWait, 0, 2);
    details->addWidget(lblOnMismatch, 1, 1);
    details->addWidget(cmbOnMismatch, 1, 2);
    auto* layout = new QVBoxLayout;
    layout->addWidget(chkCheckScreen);
    layout->addLayout(details);
    return layout;
}

void OptionsDialog::Form_Load()
{
    setWindowTitle(TextTable::Text(301));
    lblSpeed->setText(TextTable::Text(302));
    OKButton->setText(TextTable::Text(303));
    CancelButton->setText(TextTable::Text(304));
    lblSens->setText(TextTable::Text(305));
    chkTermina->setText(TextTable::Text(306));
    chkRipeti->setText(TextTable::Text(307));
    ChkImaging->setText(TextTable::Text(308));

    chkTermina->setChecked(m_values.Termina);
    chkRipeti->setChecked(m_values.Ripeti);
    ChkImaging->setChecked(m_values.SalvaImmagine);
    ShowInterval(cmbSpeed, m_values.playIntervalMs);
    ShowInterval(cmbSens, m_values.recIntervalMs);

    chkCheckScreen->setText(TextTable::Text(320));
    lblCheckWait->setText(TextTable::Text(321));
    lblOnMismatch->setText(TextTable::Text(322));
    cmbOnMismatch->addItem(TextTable::Text(323), QVariant::fromValue(int(ScreenCheckOptions::OnMismatch::Stop)));
    cmbOnMismatch->addItem(TextTable::Text(324), QVariant::fromValue(int(ScreenCheckOptions::OnMismatch::Skip)));
    cmbOnMismatch->addItem(TextTable::Text(900), QVariant::fromValue(int(ScreenCheckOptions::OnMismatch::Find)));
    chkCheckScreen->setChecked(m_screenCheck.enabled);
    spnCheckWait->setValue(m_screenCheck.waitSeconds);
    cmbOnMismatch->setCurrentIndex(cmbOnMismatch->findData(int(m_screenCheck.onMismatch)));
}

// A recording interval that stops tmrRec, or slows it to seconds, would leave recording and
// playback without a timely way to stop: such values are refused and the dialog stays open.
void OptionsDialog::OKButton_Click()
{
    const std::optional<int> play =
        ParseInterval(cmbSpeed->currentText(), OptionValues::kMinPlayIntervalMs, OptionValues::kMaxPlayIntervalMs);
    if (!play) {
        m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(309));
        cmbSpeed->setFocus();
        return;
    }
    const std::optional<int> rec =
        ParseInterval(cmbSens->currentText(), OptionValues::kMinRecIntervalMs, OptionValues::kMaxRecIntervalMs);
    if (!rec) {
        m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(310));
        cmbSens->setFocus();
        return;
    }
    m_values.playIntervalMs = *play;
    m_values.recIntervalMs = *rec;
    m_values.Termina = chkTermina->isChecked();
    m_values.Ripeti = chkRipeti->isChecked();
    m_values.SalvaImmagine = ChkImaging->isChecked();
    m_screenCheck.enabled = chkCheckScreen->isChecked();
    m_screenCheck.waitSeconds = spnCheckWait->value();
    m_screenCheck.onMismatch = ScreenCheckOptions::OnMismatch(cmbOnMismatch->currentData().toInt());
    accept();
}

void OptionsDialog::CancelButton_Click()
{
    reject();
}
