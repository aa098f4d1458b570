#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class MessageBoxes;
class QLabel;
class QPushButton;

// The About box (frmAbout): identity, version, the help page and a way to the desktop's
// system-information tool. It is shown without modality.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    using OpenUrl = std::function<bool(const QUrl&)>;

    AboutBox(MessageBoxes& messages, OpenUrl openUrl, QWidget* parent = nullptr);

    // The system-information tools looked for on the PATH, the preferred first.
    static QStringList SystemInfoTools();
    // The full path of the first of those tools found on the PATH, or an empty text.
    static QString FindSystemInfoTool();

    // Starts the system-information tool, or says that there is none.
    void StartSysInfo();

private:
    void BuildControls();
    void Form_Load();
    void GoToSite_Click();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    MessageBoxes& m_messages;
    OpenUrl m_openUrl;
    // The address GoToSite opens: the help page shipped with the program.
    QUrl m_siteAddress;

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* GoToSite = nullptr;
};
