#pragma once

#include "desktop/EvdevDesktop.h"
#include "desktop/wayland/WaylandKeymap.h"

#include <QByteArray>
#include <QRect>
#include <QStringList>

#include <chrono>
#include <memory>
#include <vector>

class GuardianProcess;
class WaylandConnection;
class WaylandScreenCopy;
struct zwlr_virtual_pointer_v1;
struct zwp_virtual_keyboard_v1;

// The desktop of a Wayland compositor that offers the wlroots interfaces: a virtual pointer moved
// absolutely over the output layout, a virtual keyboard with a keymap of the program's own, and
// screen copy. A Wayland client sees no other client's input and no global pointer, so this desktop
// follows no buttons or keys, reads no key state and knows the pointer only where it put it.
class WaylandDesktop : public EvdevDesktop
{
public:
    // The guardian program that lets go of held buttons should this program be killed.
    static constexpr const char* kGuardianName = "clickwarden-wayland-guardian";

    struct OpenResult
    {
        std::unique_ptr<WaylandDesktop> desktop; // null when the compositor is unreachable or lacks interfaces
        bool noCompositor = false;               // no compositor answered under the display name
        QStringList missingInterfaces;           // what the compositor does not offer, by interface name
    };

    // Connects to the compositor named (WAYLAND_DISPLAY where empty) with a connection of its own.
    // The guardian program is started with the first press; by default the one installed beside.
    static OpenResult Open(const QByteArray& displayName = {}, const QString& guardianProgram = {});

    ~WaylandDesktop() override;

    void KeyDown(quint32 keysym) override;
    void KeyUp(quint32 keysym) override;
    void KeyTap(quint32 keysym) override;
    void TurnWheel(WheelDirection direction, int notches) override;
    // Where the program last put the pointer (at first the middle of the layout).
    int PointerX() override { return m_pointerX; }
    int PointerY() override { return m_pointerY; }
    void MovePointer(int x, int y) override;
    QSize ScreenSize() override;
    quint32 PixelColor(int x, int y) override;
    std::vector<quint32> PixelBlock(int left, int top, int width, int height) override;
    std::unique_ptr<ScreenReader> OpenScreenReader() override;

private:
    WaylandDesktop(std::unique_ptr<WaylandConnection> connection, const QByteArray& displayName,
                   const QString& guardianProgram);
    void TellGuardian(const HeldInputs::Input& input, bool held);
    quint32 Now() const;
    void Deliver(const HeldInputs::Input& input, bool press) override;
    void SendKey(quint32 keysym, bool press);
    bool EnsureKeyboard();
    void UploadKeymap();

    std::unique_ptr<WaylandConnection> m_connection;
    std::unique_ptr<WaylandScreenCopy> m_screenCopy;
    zwlr_virtual_pointer_v1* m_pointer = nullptr;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr; // made with the first key
    WaylandKeymap m_keymap;
    quint32 m_modifiers = 0; // the modifier mask of the keys held
    int m_pointerX = 0;
    int m_pointerY = 0;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    QByteArray m_displayName;
    QString m_guardianProgram;
    std::unique_ptr<GuardianProcess> m_guardian; // started with the first press
    bool m_guardianTried = false;
};
