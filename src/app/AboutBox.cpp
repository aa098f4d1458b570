#include "app/AboutBox.h"

#include "app/AppLogo.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
constexpr int kIconSide = 48;
constexpr int kTextWidth = 360;

QLabel* AddLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

QPushButton* AddButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

AboutBox::AboutBox(MessageBoxes& messages, OpenUrl openUrl, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("frmAbout"));
    BuildControls();
    Form_Load();
}

void AboutBox::BuildControls()
{
    picIcon = AddLabel(this, "picIcon");
    picIcon->setPixmap(AppLogo::Pixmap(kIconSide));
    picIcon->setWordWrap(false);
    lblTitle = AddLabel(this, "lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = AddLabel(this, "lblVersion");
    lblDescription = AddLabel(this, "lblDescription");
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDescription->setMinimumWidth(kTextWidth);
    lblDisclaimer = AddLabel(this, "lblDisclaimer");

    cmdOK = AddButton(this, "cmdOK");
    cmdOK->setText(QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdSysInfo = AddButton(this, "cmdSysInfo");
    cmdSysInfo->setText(QStringLiteral("&System Info..."));
    GoToSite = AddButton(this, "GoToSite");

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(GoToSite);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->addWidget(line, 3, 0, 1, 3);
    layout->addWidget(lblDisclaimer, 4, 0, 1, 2);
    layout->addLayout(buttons, 0, 2, 5, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(GoToSite, &QPushButton::clicked, this, &AboutBox::GoToSite_Click);
    connect(cmdOK, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
}

void AboutBox::Form_Load()
{
    setWindowTitle(QStringLiteral("Informazioni su ") + AppInfo::ProductName());
    lblVersion->setText(QStringLiteral("Versione ") + AppInfo::VersionText());
    lblTitle->setText(AppInfo::ProductName());
    lblDisclaimer->setText(TextTable::Text(201));
    GoToSite->setText(TextTable::Text(202));
    m_siteAddress = QUrl(TextTable::Text(205));
    const QChar lf(10);
    lblDescription->setText(TextTable::Text(203) + lf + TextTable::Text(204) + lf + TextTable::Text(205) + lf + lf +
                            AppInfo::CopyrightLine());
}

void AboutBox::GoToSite_Click()
{
    m_openUrl(m_siteAddress);
}

void AboutBox::cmdOK_Click()
{
    close();
}

void AboutBox::cmdSysInfo_Click()
{
    StartSysInfo();
}

QStringList AboutBox::SystemInfoTools()
{
    return {
        QStringLiteral("hardinfo2"),
        QStringLiteral("hardinfo"),
        QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"),
        QStringLiteral("mate-system-monitor"),
        QStringLiteral("xfce4-taskmanager"),
        QStringLiteral("lxtask"),
    };
}

QString AboutBox::FindSystemInfoTool()
{
    for (const QString& tool : SystemInfoTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// There is no registry entry to read on Linux: the tool is the first known one on the PATH,
// started directly, never through a shell.
void AboutBox::StartSysInfo()
{
    const QString tool = FindSystemInfoTool();
    if (!tool.isEmpty() && QProcess::startDetached(tool, {}))
        return;
    m_messages.Show(MessageBoxes::Icon::None,
                    QStringLiteral("Le informazioni sul sistema non sono attualmente disponibili."));
}
