#pragma once

#include "app/Notifier.h"

#include <QList>
#include <QObject>

#include <functional>

class QDBusPendingCallWatcher;

// The desktop's notification service (freedesktop notifications over the session bus); where no
// service answers, the tray's balloon message where there is a tray; else nothing, as stderr has
// the message already.
class DesktopNotifier : public QObject, public Notifier
{
    Q_OBJECT

public:
    // trayMessage shows a balloon and returns false where there is no tray.
    explicit DesktopNotifier(std::function<bool(const QString&)> trayMessage, QObject* parent = nullptr);

    void Notify(const QString& text) override;
    void Flush() override;

private:
    std::function<bool(const QString&)> m_trayMessage;
    QList<QDBusPendingCallWatcher*> m_pending;
};
