#pragma once

#include "player/Player.h"

#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

// What the program is busy with, as the tray and the window caption show it.
struct ActivityStatus
{
    enum class Activity
    {
        Idle,
        Recording,
        Playing,
    };
    Activity activity = Activity::Idle;
    PlaybackProgress progress; // while playing
};

// Shows what runs and how to stop it while the window is minimised: an icon in the system tray
// (where the desktop has one) for as long as a recording or a playback lasts, a distinct one for
// each, whose tool tip gives the state and the stop keys and whose menu offers Stop. The caption
// text for the window is built here too, so that a task bar says the same where there is no tray.
class StatusIndicator : public QObject
{
    Q_OBJECT

public:
    explicit StatusIndicator(QObject* parent = nullptr);
    ~StatusIndicator() override;

    void Show(const ActivityStatus& status);
    const ActivityStatus& Status() const { return m_status; }
    // Shows a message from the tray icon, which stays for it; false where there is no tray.
    bool ShowMessage(const QString& text);
    // The menu with Stop; it is there with or without a tray.
    QMenu* Menu() const { return m_menu.get(); }

    // The tool tip: the program, what runs and how to stop it.
    static QString ToolTip(const ActivityStatus& status);
    // The window caption from its parts: what runs, then the title.
    static QString Caption(const ActivityStatus& status, const QString& title);

signals:
    void stopRequested();
    // The menu opened (true) or closed (false).
    void menuShown(bool shown);

private:
    ActivityStatus m_status;
    // A window of its own: as the minimised main window's child it would bring that window back.
    std::unique_ptr<QMenu> m_menu;
    QAction* m_stop = nullptr;
    QSystemTrayIcon* m_tray = nullptr; // made the first time a tray is there to hold it
};
