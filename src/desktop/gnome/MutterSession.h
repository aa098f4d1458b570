#pragma once

#include <QDBusConnection>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <memory>

// A remote desktop session of GNOME's compositor, mutter, over D-Bus, with the screen cast stream of
// its primary monitor beside it: the pointer is placed in that stream's coordinates, and its frames
// come over PipeWire (node NodeId()). Both sessions belong to the D-Bus connection of their own that
// made them: mutter ends them, letting go of every button and key they hold, once it closes,
// however this process ends.
class MutterSession
{
public:
    static constexpr const char* kRemoteDesktopService = "org.gnome.Mutter.RemoteDesktop";

    // The address of the session bus: the one named in the environment, else the runtime
    // directory's "bus" where it exists; empty where there is none. None is ever started.
    static QString BusAddress(const QByteArray& namedAddress, const QByteArray& runtimeDir);
    // Whether mutter's remote desktop answers on that bus.
    static bool IsOffered(const QString& busAddress);
    // Creates and starts both sessions; null with the reason in *error when mutter refused. Waits
    // for the stream's PipeWire node on a thread of its own: the caller's events wait.
    static std::unique_ptr<MutterSession> Start(const QString& busAddress, QString* error);
    ~MutterSession();
    MutterSession(const MutterSession&) = delete;
    MutterSession& operator=(const MutterSession&) = delete;

    // Where the stream's monitor sits in the layout.
    QRect MonitorRect() const { return m_monitor; }
    // The PipeWire node that carries the monitor's frames.
    quint32 NodeId() const { return m_nodeId; }

    // Each returns whether mutter took it (it queues it for its input thread, in order).
    bool MovePointer(int x, int y); // in layout coordinates
    bool Button(int evdevCode, bool pressed);
    bool Wheel(bool horizontal, int steps); // positive: down or right
    bool Key(int evdevCode, bool pressed);
    // Typed with the layout's key and the Shift or AltGr it needs, which mutter adds on its own: but
    // those it forgets to let go of when the session ends, so a held one would stay down for good.
    bool Keysym(quint32 keysym, bool pressed);

private:
    explicit MutterSession(const QDBusConnection& connection);
    bool Call(const QString& method, const QVariantList& arguments);

    QDBusConnection m_connection;
    QString m_remotePath;
    QString m_castPath;
    QString m_streamPath;
    QRect m_monitor;
    quint32 m_nodeId = 0;
    bool m_failureTold = false;
};
