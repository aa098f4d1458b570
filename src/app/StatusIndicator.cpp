#include "app/StatusIndicator.h"

#include "core/AppInfo.h"
#include "core/TextTable.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSystemTrayIcon>

namespace {

// A red dot for recording, a green triangle for playing: the signs of a recorder's two keys.
QIcon ActivityIcon(ActivityStatus::Activity activity)
{
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / 16.0, side / 16.0);
        painter.setPen(QPen(Qt::white, 1));
        if (activity == ActivityStatus::Activity::Recording) {
            painter.setBrush(QColor(0xd6, 0x2f, 0x2f));
            painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        } else {
            QPainterPath triangle;
            triangle.moveTo(3, 1.5);
            triangle.lineTo(14.5, 8);
            triangle.lineTo(3, 14.5);
            triangle.closeSubpath();
            painter.setBrush(QColor(0x3c, 0xa5, 0x5c));
            painter.drawPath(triangle);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}
} // namespace

StatusIndicator::StatusIndicator(QObject* parent) : QObject(parent), m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("mnuStatus"));
    m_stop = m_menu->addAction(TextTable::Text(TextId::StopCommand));
    m_stop->setObjectName(QStringLiteral("mnuStatusStop"));
    connect(m_stop, &QAction::triggered, this, &StatusIndicator::stopRequested);
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { emit menuShown(true); });
    connect(m_menu.get(), &QMenu::aboutToHide, this, [this] { emit menuShown(false); });
}

StatusIndicator::~StatusIndicator() = default;

void StatusIndicator::Show(const ActivityStatus& status)
{
    const bool changed = status.activity != m_status.activity;
    m_status = status;
    const bool busy = status.activity != ActivityStatus::Activity::Idle;
    // A tray that appears later (its host started after the program) is used from the next run on.
    if (!m_tray && busy && changed && QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray = new QSystemTrayIcon(this);
        m_tray->setObjectName(QStringLiteral("trayStatus"));
        m_tray->setContextMenu(m_menu.get());
        // A left click opens the menu too: Stop is the one thing to do there.
        connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                m_menu->popup(QCursor::pos());
        });
    }
    if (!m_tray)
        return;
    if (!busy) {
        m_tray->hide();
        return;
    }
    if (changed)
        m_tray->setIcon(ActivityIcon(status.activity));
    m_tray->setToolTip(ToolTip(status));
    m_tray->show();
}

QString StatusIndicator::ToolTip(const ActivityStatus& status)
{
    QString tip = TextTable::Text(TextId::Product);
    switch (status.activity) {
    case ActivityStatus::Activity::Idle:
        break;
    case ActivityStatus::Activity::Recording:
        tip += QLatin1Char('\n') + TextTable::Text(TextId::RecordingReminder);
        break;
    case ActivityStatus::Activity::Playing:
        tip += QLatin1Char('\n') + TextTable::Text(TextId::PlayingProgress)
                                       .arg(status.progress.task)
                                       .arg(status.progress.taskCount)
                                       .arg(status.progress.pass);
        if (status.progress.pauseSecondsLeft > 0)
            tip += QLatin1Char('\n') + TextTable::Text(TextId::PauseCountdown).arg(status.progress.pauseSecondsLeft);
        tip += QLatin1Char('\n') + TextTable::Text(TextId::PlayingReminder);
        break;
    }
    return tip;
}

QString StatusIndicator::Caption(const ActivityStatus& status, const QString& title)
{
    const QString separator = QStringLiteral(" - ");
    switch (status.activity) {
    case ActivityStatus::Activity::Idle:
        return title;
    case ActivityStatus::Activity::Recording:
        return TextTable::Text(TextId::RecordingCaption) + separator + title;
    case ActivityStatus::Activity::Playing: {
        QString caption =
            TextTable::Text(TextId::PlayingCaption).arg(status.progress.task).arg(status.progress.taskCount);
        // A run held by a pause says how long, or it would look stuck.
        if (status.progress.pauseSecondsLeft > 0)
            caption += separator + TextTable::Text(TextId::PauseCountdown).arg(status.progress.pauseSecondsLeft);
        return caption + separator + title;
    }
    }
    return title;
}

bool StatusIndicator::ShowMessage(const QString& text)
{
    if (!m_tray)
        return false;
    m_tray->show();
    m_tray->showMessage(AppInfo::ProductName(), text, QSystemTrayIcon::Warning);
    return true;
}
