#include "desktop/DesktopFactory.h"

#include "core/TextTable.h"
#include "desktop/gnome/GnomeDesktop.h"
#include "desktop/wayland/WaylandDesktop.h"
#include "desktop/x11/X11Desktop.h"

namespace {

DesktopFactory::Problem ProblemOf(X11Desktop::OpenError error)
{
    switch (error) {
    case X11Desktop::OpenError::NoDisplay:
        return DesktopFactory::Problem::NoDisplay;
    case X11Desktop::OpenError::NoXTest:
        return DesktopFactory::Problem::NoXTest;
    case X11Desktop::OpenError::NoError:
        break;
    }
    return DesktopFactory::Problem::None;
}

// A desktop driven on the Wayland compositor itself: Record is not offered, and the window says why.
DesktopChoice WaylandChoice(const SessionEnvironment& environment, std::unique_ptr<Desktop> desktop)
{
    DesktopChoice choice;
    choice.desktop = std::move(desktop);
    // The program's own window goes where its desktop is, unless the user chose.
    if (environment.waylandUsable && environment.qtPlatform.isEmpty())
        choice.qtPlatform = "wayland";
    choice.warning = TextTable::Text(TextId::RecordNeedsX11);
    choice.recordingOffered = false;
    return choice;
}

} // namespace

DesktopChoice DesktopFactory::Open(const SessionEnvironment& environment)
{
    QStringList waylandMissing;
    if (environment.PrefersWayland()) {
        WaylandDesktop::OpenResult wayland = WaylandDesktop::Open(environment.waylandDisplay);
        if (wayland.desktop)
            return WaylandChoice(environment, std::move(wayland.desktop));
        // GNOME's compositor offers its own interfaces instead, on the session bus.
        if (!wayland.noCompositor)
            if (std::unique_ptr<GnomeDesktop> gnome =
                    GnomeDesktop::Open(environment.sessionBus, environment.runtimeDir, environment.waylandDisplay))
                return WaylandChoice(environment, std::move(gnome));
        waylandMissing = wayland.noCompositor
                             ? QStringList{QStringLiteral("wl_display")}
                             : wayland.missingInterfaces << QStringLiteral("org.gnome.Mutter.RemoteDesktop");
    }
    // Without the wlroots interfaces, XWayland, where there is one, is the next best.
    X11Desktop::OpenResult opened = X11Desktop::Open(environment.display);
    const Problem problem = ProblemOf(opened.error);
    DesktopChoice choice = Decide(environment, std::move(opened.desktop), problem);
    if (problem == Problem::NoDisplay && !waylandMissing.isEmpty())
        choice.failure = TextTable::Text(TextId::WaylandLacks).arg(waylandMissing.join(QStringLiteral(", ")));
    return choice;
}

DesktopChoice DesktopFactory::Decide(const SessionEnvironment& environment, std::unique_ptr<Desktop> desktop,
                                     Problem problem)
{
    DesktopChoice choice;
    // An X server that answers can show a box, and so can a Wayland compositor.
    choice.failureShowable = problem == Problem::NoXTest || environment.waylandUsable;
    switch (problem) {
    case Problem::NoDisplay:
        choice.failure = TextTable::Text(TextId::NoDisplay);
        // Without an X server the only window left is a Wayland one.
        choice.qtPlatform = environment.waylandUsable ? QByteArray("wayland") : QByteArray();
        return choice;
    case Problem::NoXTest:
        choice.failure = TextTable::Text(TextId::NoXTest);
        break;
    case Problem::None:
        choice.desktop = std::move(desktop);
        if (environment.IsWayland())
            choice.warning = TextTable::Text(TextId::WaylandSession);
        break;
    }
    // Under Wayland the program drives XWayland, so Qt must run there too unless the user chose.
    if (environment.IsWayland() && environment.qtPlatform.isEmpty())
        choice.qtPlatform = "xcb";
    return choice;
}
