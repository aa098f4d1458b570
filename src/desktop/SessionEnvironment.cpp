#include "desktop/SessionEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

} // namespace

bool SessionEnvironment::HasSessionBus() const
{
    return !sessionBus.isEmpty() ||
           (!runtimeDir.isEmpty() && QFileInfo::exists(QFile::decodeName(runtimeDir + "/bus")));
}

SessionEnvironment SessionEnvironment::FromProcess()
{
    SessionEnvironment environment;
    environment.display = qgetenv("DISPLAY");
    environment.sessionType = qgetenv("XDG_SESSION_TYPE");
    environment.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    environment.qtPlatform = qgetenv("QT_QPA_PLATFORM");
    environment.sessionBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    environment.runtimeDir = qgetenv("XDG_RUNTIME_DIR");
    environment.waylandUsable = environment.IsWayland() &&
                                CompositorAnswers(environment.waylandDisplay, environment.runtimeDir) &&
                                QtHasWaylandPlatform();
    return environment;
}
