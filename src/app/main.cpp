#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/QtMessageBoxes.h"
#include "app/core/AppInfo.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (const auto exitCode = CommandLine::AnswerInfoRequest(argc, argv))
        return *exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::ExecutableName());
    QApplication::setApplicationVersion(AppInfo::VersionText());
    QApplication::setOrganizationName(AppInfo::CompanyName());

    QtMessageBoxes messages;
    MainWindow window(MainWindowServices{&messages, nullptr, {}});
    messages.SetParent(&window);
    window.Form_Load();
    return QApplication::exec();
}
