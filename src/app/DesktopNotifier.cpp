#include "app/DesktopNotifier.h"

#include "core/AppInfo.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QVariantMap>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
constexpr int kFlushMs = 1000;
// Shown until the user closes it: the run has ended and may have been hours ago.
constexpr int kNeverExpires = 0;
} // namespace

DesktopNotifier::DesktopNotifier(std::function<bool(const QString&)> trayMessage, QObject* parent)
    : QObject(parent), m_trayMessage(std::move(trayMessage))
{}

void DesktopNotifier::Notify(const QString& text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (m_trayMessage)
            m_trayMessage(text);
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/Notifications"),
                                                          kService, QStringLiteral("Notify"));
    message << AppInfo::ProductName() << 0U << QStringLiteral("dialog-warning") << AppInfo::ProductName() << text
            << QStringList() << QVariantMap{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))}}
            << kNeverExpires;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, kFlushMs), this);
    m_pending << watcher;
    // No service on the bus answers with an error: the tray says it then.
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, text] {
        if (watcher->isError() && m_trayMessage)
            m_trayMessage(text);
        m_pending.removeOne(watcher);
        watcher->deleteLater();
    });
}

void DesktopNotifier::Flush()
{
    if (m_pending.isEmpty())
        return;
    QEventLoop loop;
    const QDeadlineTimer deadline(kFlushMs);
    QTimer tick;
    connect(&tick, &QTimer::timeout, &loop, [&] {
        if (m_pending.isEmpty() || deadline.hasExpired())
            loop.quit();
    });
    tick.start(10);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
