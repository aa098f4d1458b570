#include "desktop/gnome/MutterSession.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <xkbcommon/xkbcommon-keysyms.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace {

const QString kRemoteDesktopService = QStringLiteral("org.gnome.Mutter.RemoteDesktop");
const QString kRemoteDesktopPath = QStringLiteral("/org/gnome/Mutter/RemoteDesktop");
const QString kRemoteSessionInterface = QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session");
const QString kScreenCastService = QStringLiteral("org.gnome.Mutter.ScreenCast");
const QString kScreenCastPath = QStringLiteral("/org/gnome/Mutter/ScreenCast");
const QString kCastSessionInterface = QStringLiteral("org.gnome.Mutter.ScreenCast.Session");
const QString kStreamInterface = QStringLiteral("org.gnome.Mutter.ScreenCast.Stream");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kNodeWaitMs = 5000;
// How long clients take to bind a new pointer or keyboard of the seat.
constexpr unsigned long kNewDeviceSettleMs = 100;
// mutter's axis numbers for NotifyPointerAxisDiscrete.
constexpr quint32 kVerticalAxis = 0;
constexpr quint32 kHorizontalAxis = 1;

// Hears the stream's PipeWireStreamAdded signal (QtDBus delivers signals to slots only) on a thread
// of its own, so that the caller waits without running its own events meanwhile (a player's tick
// could come in and call the desktop again).
class NodeListener : public QObject
{
    Q_OBJECT

public:
    // The node, once told; 0 when it was not told in time.
    quint32 WaitForNode(int timeoutMs)
    {
        std::unique_lock lock(m_mutex);
        m_told.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_nodeId != 0; });
        return m_nodeId;
    }

public slots:
    void OnStreamAdded(uint node)
    {
        const std::lock_guard lock(m_mutex);
        m_nodeId = node;
        m_told.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_told;
    quint32 m_nodeId = 0;
};

QDBusMessage Ask(const QDBusConnection& connection, const QString& service, const QString& path,
                 const QString& interface, const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return connection.call(message);
}

QVariant Property(const QDBusConnection& connection, const QString& service, const QString& path,
                  const QString& interface, const QString& name)
{
    const QDBusMessage reply = Ask(connection, service, path, kProperties, QStringLiteral("Get"), {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

QPoint PairOf(const QVariant& value)
{
    const auto argument = value.value<QDBusArgument>();
    int first = 0;
    int second = 0;
    argument.beginStructure();
    argument >> first >> second;
    argument.endStructure();
    return {first, second};
}

QString ObjectPathOf(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusObjectPath>().path();
}

QString ErrorOf(const QDBusMessage& reply, const QString& step)
{
    return step + QStringLiteral(": ") + (reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
}

} // namespace

QString MutterSession::BusAddress(const QByteArray& namedAddress, const QByteArray& runtimeDir)
{
    // An autolaunch address would start a bus; "disabled:" names none.
    if (!namedAddress.isEmpty())
        return namedAddress.startsWith("unix:") || namedAddress.startsWith("tcp:")
                   ? QString::fromLocal8Bit(namedAddress)
                   : QString();
    const QString socket = QFile::decodeName(runtimeDir) + QStringLiteral("/bus");
    if (runtimeDir.isEmpty() || !QFileInfo(socket).exists())
        return {};
    return QStringLiteral("unix:path=") + socket;
}

bool MutterSession::IsOffered(const QString& busAddress)
{
    if (busAddress.isEmpty())
        return false;
    static std::atomic<int> probes{0};
    const QString name = QStringLiteral("clickwarden-probe-%1").arg(++probes);
    bool offered = false;
    {
        const QDBusConnection connection = QDBusConnection::connectToBus(busAddress, name);
        if (connection.isConnected() && connection.interface() != nullptr)
            offered = connection.interface()->isServiceRegistered(kRemoteDesktopService).value() &&
                      connection.interface()->isServiceRegistered(kScreenCastService).value();
    }
    QDBusConnection::disconnectFromBus(name);
    return offered;
}

std::unique_ptr<MutterSession> MutterSession::Start(const QString& busAddress, QString* error)
{
    static std::atomic<int> sessions{0};
    const QDBusConnection connection =
        QDBusConnection::connectToBus(busAddress, QStringLiteral("clickwarden-mutter-%1").arg(++sessions));
    if (!connection.isConnected()) {
        *error = QStringLiteral("the session bus cannot be reached: ") + connection.lastError().message();
        return nullptr;
    }
    std::unique_ptr<MutterSession> session(new MutterSession(connection));
    QDBusMessage reply = Ask(connection, kRemoteDesktopService, kRemoteDesktopPath, kRemoteDesktopService,
                             QStringLiteral("CreateSession"));
    session->m_remotePath = ObjectPathOf(reply);
    if (session->m_remotePath.isEmpty()) {
        *error = ErrorOf(reply, QStringLiteral("no remote desktop session"));
        return nullptr;
    }
    const QString id = Property(connection, kRemoteDesktopService, session->m_remotePath, kRemoteSessionInterface,
                                QStringLiteral("SessionId"))
                           .toString();
    // A screen cast of the remote desktop session starts and stops with it.
    reply = Ask(connection, kScreenCastService, kScreenCastPath, kScreenCastService, QStringLiteral("CreateSession"),
                {QVariantMap{{QStringLiteral("remote-desktop-session-id"), id}}});
    session->m_castPath = ObjectPathOf(reply);
    if (session->m_castPath.isEmpty()) {
        *error = ErrorOf(reply, QStringLiteral("no screen cast session"));
        return nullptr;
    }
    // No connector: the primary monitor. The pointer is left out of the frames, as on X11.
    reply = Ask(connection, kScreenCastService, session->m_castPath, kCastSessionInterface,
                QStringLiteral("RecordMonitor"), {QString(), QVariantMap()});
    session->m_streamPath = ObjectPathOf(reply);
    if (session->m_streamPath.isEmpty()) {
        *error = ErrorOf(reply, QStringLiteral("no screen cast stream"));
        return nullptr;
    }
    QThread listening;
    auto* listener = new NodeListener;
    listener->moveToThread(&listening);
    // Deleted once the thread has ended.
    QObject::connect(&listening, &QThread::finished, listener, &QObject::deleteLater);
    listening.start();
    const auto stopListening = qScopeGuard([&listening] {
        listening.quit();
        listening.wait();
    });
    QDBusConnection(connection)
        .connect(kScreenCastService, session->m_streamPath, kStreamInterface, QStringLiteral("PipeWireStreamAdded"),
                 listener, SLOT(OnStreamAdded(uint)));
    reply =
        Ask(connection, kRemoteDesktopService, session->m_remotePath, kRemoteSessionInterface, QStringLiteral("Start"));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        *error = ErrorOf(reply, QStringLiteral("the session did not start"));
        return nullptr;
    }
    // mutter adds the session's pointer and keyboard to the seat at their first event, and clients
    // bind them on their own time: a click or key sent at once would be lost to them. A move by
    // nothing and the press of a key symbol that no layout has make both now, with no effect.
    session->Call(QStringLiteral("NotifyPointerMotionRelative"), {0.0, 0.0});
    session->Keysym(XKB_KEY_VoidSymbol, true);
    session->m_nodeId = listener->WaitForNode(kNodeWaitMs);
    QThread::msleep(kNewDeviceSettleMs);
    const QVariantMap parameters = qdbus_cast<QVariantMap>(
        Property(connection, kScreenCastService, session->m_streamPath, kStreamInterface, QStringLiteral("Parameters"))
            .value<QDBusArgument>());
    session->m_monitor = QRect(PairOf(parameters.value(QStringLiteral("position"))),
                               QSize(PairOf(parameters.value(QStringLiteral("size"))).x(),
                                     PairOf(parameters.value(QStringLiteral("size"))).y()));
    return session;
}

MutterSession::MutterSession(const QDBusConnection& connection) : m_connection(connection)
{}

MutterSession::~MutterSession()
{
    if (!m_remotePath.isEmpty())
        Ask(m_connection, kRemoteDesktopService, m_remotePath, kRemoteSessionInterface, QStringLiteral("Stop"));
    QDBusConnection::disconnectFromBus(m_connection.name());
}

bool MutterSession::Call(const QString& method, const QVariantList& arguments)
{
    const QDBusMessage reply =
        Ask(m_connection, kRemoteDesktopService, m_remotePath, kRemoteSessionInterface, method, arguments);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    // Said once: the user may have ended the session from the desktop's own menu.
    if (!std::exchange(m_failureTold, true))
        std::fprintf(stderr, "clickwarden: GNOME's remote desktop session stopped taking input: %s\n",
                     qPrintable(ErrorOf(reply, method)));
    return false;
}

bool MutterSession::MovePointer(int x, int y)
{
    // Stream coordinates are the monitor's, in unscaled layout pixels; mutter maps any point of the
    // layout through them, also outside the monitor.
    return Call(QStringLiteral("NotifyPointerMotionAbsolute"),
                {m_streamPath, double(x - m_monitor.left()), double(y - m_monitor.top())});
}

bool MutterSession::Button(int evdevCode, bool pressed)
{
    return Call(QStringLiteral("NotifyPointerButton"), {evdevCode, pressed});
}

bool MutterSession::Wheel(bool horizontal, int steps)
{
    return Call(QStringLiteral("NotifyPointerAxisDiscrete"), {horizontal ? kHorizontalAxis : kVerticalAxis, steps});
}

bool MutterSession::Key(int evdevCode, bool pressed)
{
    return Call(QStringLiteral("NotifyKeyboardKeycode"), {static_cast<uint>(evdevCode), pressed});
}

bool MutterSession::Keysym(quint32 keysym, bool pressed)
{
    return Call(QStringLiteral("NotifyKeyboardKeysym"), {keysym, pressed});
}

#include "MutterSession.moc"
