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
    void Populate();
    void OpenSite();
    void CloseBox();
    void ShowSystemInfo();

    MessageBoxes& m_messages;
    OpenUrl m_openUrl;
    // The address m_siteButton opens: the help page shipped with the program.

    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_disclaimer = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_systemInfoButton = nullptr;
    QPushButton* m_siteButton = nullptr;
};
