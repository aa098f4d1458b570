#include "app/DesktopStartup.h"

#include "app/QtMessageBoxes.h"
#include "core/TextTable.h"
#include "desktop/wayland/WaylandDesktop.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QStatusBar>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

bool CompositorAnswers(const QByteArray& waylandDisplay, const QByteArray& runtimeDir)
{
    const QByteArray name = waylandDisplay.isEmpty() ? QByteArray("wayland-0") : waylandDisplay;
    if (!name.startsWith('/') && runtimeDir.isEmpty())
        return false;
    const QByteArray path = name.startsWith('/') ? name : runtimeDir + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0)
        return false;
    const bool answered = connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(socketFd);
    return answered;
}

bool QtHasWaylandPlatform()
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty();
}

void PrintError(const QString& text)
{
    std::fprintf(stderr, "clickwarden: %s\n", text.toLocal8Bit().constData());
}
} // namespace

SessionEnvironment SessionEnvironment::FromProcess()
{
    SessionEnvironment environment;
    environment.display = qgetenv("DISPLAY");
    environment.sessionType = qgetenv("XDG_SESSION_TYPE");
    environment.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    environment.qtPlatform = qgetenv("QT_QPA_PLATFORM");
    environment.waylandUsable = environment.IsWayland() &&
                                CompositorAnswers(environment.waylandDisplay, qgetenv("XDG_RUNTIME_DIR")) &&
                                QtHasWaylandPlatform();
    return environment;
}

DesktopStartup DesktopStartup::Open(const SessionEnvironment& environment)
{
    QStringList missing;
    if (environment.PrefersWayland()) {
        WaylandDesktop::OpenResult wayland = WaylandDesktop::Open(environment.waylandDisplay);
        if (wayland.desktop) {
            DesktopStartup startup;
            startup.m_environment = environment;
            startup.m_desktop = std::move(wayland.desktop);
            startup.m_onWayland = true;
            return startup;
        }
        missing = wayland.noCompositor ? QStringList{QStringLiteral("wl_display")} : wayland.missingInterfaces;
    }
    // No wlroots interfaces: XWayland, where there is one, is the next best.
    DesktopStartup startup = FromOpenResult(environment, X11Desktop::Open(environment.display));
    startup.m_waylandMissing = missing;
    return startup;
}

DesktopStartup DesktopStartup::FromOpenResult(const SessionEnvironment& environment, X11Desktop::OpenResult opened)
{
    DesktopStartup startup;
    startup.m_environment = environment;
    startup.m_desktop = std::move(opened.desktop);
    startup.m_error = opened.error;
    return startup;
}

QString DesktopStartup::FailureText() const
{
    switch (m_error) {
    case X11Desktop::OpenError::NoDisplay:
        if (!m_waylandMissing.isEmpty())
            return TextTable::Text(TextId::WaylandLacks).arg(m_waylandMissing.join(QStringLiteral(", ")));
        return TextTable::Text(TextId::NoDisplay);
    case X11Desktop::OpenError::NoXTest:
        return TextTable::Text(TextId::NoXTest);
    case X11Desktop::OpenError::NoError:
        break;
    }
    return {};
}

bool DesktopStartup::CanShowFailureBox() const
{
    return m_error == X11Desktop::OpenError::NoXTest || m_environment.waylandUsable;
}

QByteArray DesktopStartup::PlatformToForce() const
{
    // The program's own window goes where its desktop is, unless the user chose.
    if (m_onWayland)
        return m_environment.waylandUsable && m_environment.qtPlatform.isEmpty() ? QByteArray("wayland") : QByteArray();
    // Without an X server the only window left is a Wayland one.
    if (m_error == X11Desktop::OpenError::NoDisplay)
        return m_environment.waylandUsable ? QByteArray("wayland") : QByteArray();
    if (m_environment.IsWayland() && m_environment.qtPlatform.isEmpty())
        return "xcb";
    return {};
}

QString DesktopStartup::WaylandWarning() const
{
    if (m_onWayland)
        return TextTable::Text(TextId::RecordNeedsX11);
    return m_desktop && m_environment.IsWayland() ? TextTable::Text(TextId::WaylandSession) : QString();
}

void DesktopStartup::PreparePlatform() const
{
    const QByteArray platform = PlatformToForce();
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

int DesktopStartup::ReportFailure(int& argc, char** argv, bool mayShowBox) const
{
    const QString text = FailureText();
    PrintError(text);
    if (mayShowBox && CanShowFailureBox()) {
        PreparePlatform();
        QApplication app(argc, argv);
        QtMessageBoxes messages;
        messages.Show(MessageBoxes::Icon::Critical, text);
    }
    return 1;
}

void DesktopStartup::WarnAboutWayland(QMainWindow& window) const
{
    const QString warning = WaylandWarning();
    if (warning.isEmpty())
        return;
    if (m_onWayland) {
        // No client may see other clients' input: there is nothing to record from.
        if (auto* record = window.findChild<QAction*>(QStringLiteral("mnuComandiRec"))) {
            record->setEnabled(false);
            record->setStatusTip(warning);
            record->setToolTip(warning);
        }
    } else {
        PrintError(warning);
    }
    // A widget of the bar, not a message of it: menu status tips would wipe a message away.
    auto* label = new QLabel(warning);
    label->setObjectName(QStringLiteral("lblWayland"));
    label->setWordWrap(true);
    window.statusBar()->addWidget(label, 1);
}
