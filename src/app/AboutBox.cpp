#include "app/AboutBox.h"

#include "app/AppLogo.h"
#include "app/HelpPage.h"
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
    Populate();
}

void AboutBox::BuildControls()
{
    m_icon = AddLabel(this, "picIcon");
    m_icon->setPixmap(AppLogo::Pixmap(kIconSide));
    m_icon->setWordWrap(false);
    m_title = AddLabel(this, "lblTitle");
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_version = AddLabel(this, "lblVersion");
    m_description = AddLabel(this, "lblDescription");
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_description->setMinimumWidth(kTextWidth);
    m_disclaimer = AddLabel(this, "lblDisclaimer");

    m_okButton = AddButton(this, "cmdOK");
    m_okButton->setText(TextTable::Text(TextId::CloseButton));
    m_okButton->setDefault(true);
    m_systemInfoButton = AddButton(this, "cmdSysInfo");
    m_systemInfoButton->setText(TextTable::Text(TextId::SystemInfoButton));
    m_siteButton = AddButton(this, "GoToSite");

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_systemInfoButton);
    buttons->addWidget(m_siteButton);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(m_title, 0, 1);
    layout->addWidget(m_version, 1, 1);
    layout->addWidget(m_description, 2, 1);
    layout->addWidget(line, 3, 0, 1, 3);
    layout->addWidget(m_disclaimer, 4, 0, 1, 2);
    layout->addLayout(buttons, 0, 2, 5, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_siteButton, &QPushButton::clicked, this, &AboutBox::OpenSite);
    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::CloseBox);
    connect(m_systemInfoButton, &QPushButton::clicked, this, &AboutBox::ShowSystemInfo);
}

void AboutBox::Populate()
{
    setWindowTitle(TextTable::Text(TextId::AboutTitle) + AppInfo::ProductName());
    m_version->setText(TextTable::Text(TextId::VersionLabel) + AppInfo::VersionText());
    m_title->setText(AppInfo::ProductName());
    m_disclaimer->setText(TextTable::Text(TextId::Disclaimer));
    m_siteButton->setText(TextTable::Text(TextId::GoToSite));
    const QChar lf(10);
    m_description->setText(TextTable::Text(TextId::Developers) + lf + TextTable::Text(TextId::ReportsAddress) + lf +
                           TextTable::Text(TextId::HelpPageAddress) + lf + lf + AppInfo::CopyrightLine());
}

void AboutBox::OpenSite()
{
    HelpPage::Open(m_openUrl, m_messages);
}

void AboutBox::CloseBox()
{
    close();
}

void AboutBox::ShowSystemInfo()
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
    m_messages.Show(MessageBoxes::Icon::None, TextTable::Text(TextId::NoSystemInformation));
}
