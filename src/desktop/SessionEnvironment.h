#pragma once

#include <QByteArray>

// What the environment says about the desktop session the program starts in.
struct SessionEnvironment
{
    QByteArray display;        // DISPLAY
    QByteArray sessionType;    // XDG_SESSION_TYPE
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray qtPlatform;     // QT_QPA_PLATFORM, the user's choice of Qt platform
    // A Wayland compositor answers and Qt has its wayland platform, so a window can be shown
    // there even without any X server.
    bool waylandUsable = false;
    QByteArray sessionBus = {}; // DBUS_SESSION_BUS_ADDRESS
    QByteArray runtimeDir = {}; // XDG_RUNTIME_DIR

    static SessionEnvironment FromProcess();
    bool IsWayland() const { return sessionType == "wayland" || !waylandDisplay.isEmpty(); }
    // A Wayland session whose compositor the program should drive itself: WAYLAND_DISPLAY is set
    // and the session says it is Wayland, or no X display is named.
    // A session bus is named, or the user's bus is in the runtime directory, where libdbus looks
    // when none is named; otherwise the first call on one would autolaunch a bus.
    bool HasSessionBus() const;
    bool PrefersWayland() const { return !waylandDisplay.isEmpty() && (sessionType == "wayland" || display.isEmpty()); }
};
