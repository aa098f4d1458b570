#include "app/AppLogo.h"
#include "app/CommandLine.h"
#include "app/DesktopNotifier.h"
#include "app/DesktopStartup.h"
#include "app/ExitStatus.h"
#include "app/MainWindow.h"
#include "app/PlaybackArguments.h"
#include "app/QtFileChooser.h"
#include "app/QtMessageBoxes.h"
#include "app/QuitOnSignals.h"
#include "app/SplashWindow.h"
#include "app/StatusIndicator.h"
#include "app/StderrMessageBoxes.h"
#include "app/StopSocket.h"
#include "core/AppInfo.h"
#include "core/TextTable.h"

#include <QApplication>
#include <QSettings>

#include <cstring>

int main(int argc, char* argv[])
{
    if (const auto exitCode = CommandLine::AnswerInfoRequest(argc, argv))
        return *exitCode;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const PlaybackArguments given = PlaybackArguments::Parse(arguments);
    if (!given.error.isEmpty())
        return given.ReportError();

    const DesktopStartup desktop = DesktopStartup::Open(SessionEnvironment::FromProcess());
    if (desktop.Desktop() == nullptr)
        return desktop.ReportFailure(argc, argv, !given.unattended);
    desktop.PreparePlatform();

    QApplication app(argc, argv);
    // The toolkit put its own handlers in place as it connected (on X11 its error handlers).
    desktop.Desktop()->ToolkitStarted();
    QApplication::setApplicationName(AppInfo::ExecutableName());
    QApplication::setApplicationVersion(AppInfo::VersionText());
    QApplication::setOrganizationName(AppInfo::CompanyName());
    QApplication::setWindowIcon(AppLogo::Icon());
    QuitOnSignals::Install(&app);

    QtMessageBoxes boxes;
    StderrMessageBoxes lines;
    QtFileChooser files;
    // Parsed again from what Qt has left of the arguments once it took its own.
    const PlaybackArguments playback = PlaybackArguments::Parse(QCoreApplication::arguments().mid(1));
    QSettings settings;
    PaceOptions pace = PaceOptions::Load(settings);
    pace.speed = playback.speed.value_or(pace.speed);
    // The notifier's balloons come from the tray icon that shows what runs.
    StatusIndicator indicator;
    DesktopNotifier notifier([&indicator](const QString& text) { return indicator.ShowMessage(text); });
    MainWindow window(MainWindowServices{playback.unattended ? static_cast<MessageBoxes*>(&lines) : &boxes,
                                         desktop.Desktop(),
                                         {},
                                         &files,
                                         playback.fileArguments,
                                         playback.AppliedTo(ScreenCheckOptions::Load(settings)),
                                         &settings,
                                         pace,
                                         playback.unattended,
                                         &notifier,
                                         &indicator,
                                         playback.ask});
    boxes.SetParent(&window);
    files.SetParent(&window);
    desktop.ShowWarning(window);
    // A run a signal ended did not play to its end: a script must not read it as done.
    int interrupted = 0;
    QuitOnSignals::SetWitness([&window, &interrupted](int signal) {
        if (!window.IsPlaying())
            return;
        const PlaybackProgress progress = window.RunOwner()->Progress();
        StderrMessageBoxes::Print(TextTable::Text(TextId::EndedBySignalLine)
                                      .arg(QStringLiteral("SIG") + QString::fromLatin1(sigabbrev_np(signal)))
                                      .arg(progress.task)
                                      .arg(progress.taskCount));
        interrupted = ExitStatus::kSignalBase + signal;
    });
    // "clickwarden --stop" from a key binding of the desktop stops the run as the tray's Stop does.
    const StopSocket stopSocket([&window] {
        Run* run = window.RunOwner();
        if (run == nullptr || run->IsIdle())
            return false;
        run->Stop();
        return true;
    });
    // The splash's load shows the main window, then the splash.
    SplashWindow splash(window);
    splash.Start();
    // A signal answered while a start-up message was open ends the program here.
    const int status = QuitOnSignals::Requested() ? 0 : QApplication::exec();
    return interrupted != 0 ? interrupted : status;
}
