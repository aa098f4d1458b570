#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

struct pw_thread_loop;
struct pw_context;
struct pw_core;
struct pw_stream;
struct spa_hook;
struct spa_pod;

// The frames of a screen cast stream, read over PipeWire on PipeWire's own thread: the latest one
// is kept as it came, for any thread to read in the program's colours (red in the low byte). mutter
// sends a frame whenever the screen changed, within a frame's time: so the latest frame is the
// screen, unless the program's own input may have changed it since; a read then waits a little for
// the frame drawn after that input.
class ScreenCastFrames
{
public:
    using Clock = std::chrono::steady_clock;
    // How long a change takes at most to come out as a frame: a frame drawn after the change.
    static constexpr std::chrono::milliseconds kChangeToFrame{50};

    // Connects to PipeWire (PIPEWIRE_REMOTE, else the runtime directory's socket) and to the node;
    // null where PipeWire cannot be reached.
    static std::shared_ptr<ScreenCastFrames> Open(quint32 nodeId);
    ~ScreenCastFrames();
    ScreenCastFrames(const ScreenCastFrames&) = delete;
    ScreenCastFrames& operator=(const ScreenCastFrames&) = delete;

    // The program sent input that may change the screen.
    void InputSent();
    // The colours of an area of the stream's picture, row by row, 0 outside it, from a frame drawn
    // after the last input sent, where one comes in time. False when no frame came at all, or stopped.
    bool Read(const QRect& area, std::vector<quint32>* colours, std::stop_token stop = {});
    // Waits for a frame after the one numbered `seen` (0: any), and returns its number; the same
    // number when stopped.
    quint64 WaitForFrameAfter(quint64 seen, std::stop_token stop);

    // Called back on PipeWire's thread (public for the C callbacks in the .cpp file).
    void OnFormat(const spa_pod* format);
    void OnProcess();

private:
    enum class Order
    {
        Bgrx, // blue, green, red in memory order
        Rgbx,
    };

    ScreenCastFrames() = default;

    pw_thread_loop* m_loop = nullptr;
    pw_context* m_context = nullptr;
    pw_core* m_core = nullptr;
    pw_stream* m_stream = nullptr;
    std::unique_ptr<spa_hook> m_listener;
    // Set on PipeWire's thread, read on any.
    std::mutex m_mutex;
    std::condition_variable_any m_arrived;
    Order m_order = Order::Bgrx;
    QSize m_size;
    int m_stride = 0;                   // bytes from one row to the next
    std::vector<unsigned char> m_bytes; // the latest frame as it came
    quint64 m_serial = 0;               // counts the frames
    Clock::time_point m_frameTime;      // when the latest frame came
    Clock::time_point m_inputTime;      // when the program last sent input
};
