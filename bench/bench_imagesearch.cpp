// The search for a task's recorded image on a real X server, read included (the screen reader a
// search thread uses): near the point (300 pixels around it) and over the whole screen, on a
// desktop of text-filled windows as large as the screen, where the window the image was recorded
// on has moved by (+150, +80). And the search and the read on their own, over the whole screen.
// scripts/bench.sh runs it on a 1280x1024, a 1920x1080 and a 3840x2160 screen.
#include "desktop/ScreenReader.h"
#include "desktop/x11/X11Desktop.h"
#include "player/ImageSearch.h"
#include "tasks/DescriptiveImage.h"

#include <QCoreApplication>

#include "ExposedWindow.h"
#include "QtBenchmarkMain.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
const QPoint kPoint(420, 300);
const QPoint kMoved(150, 80);
const QRect kWindow(300, 200, 320, 260);
constexpr int kRepetitions = 5;

// A desktop as 0x00RRGGBB pixels: a plain background and windows of text, dark strokes on white
// in lines 14 pixels apart, every window's text its own.
std::vector<quint32> Desktop(bool moved, int width, int height)
{
    std::vector<quint32> pixels(std::size_t(width * height), 0x3a6ea5);
    quint32 seed = 12345;
    const auto random = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % quint32(below));
    };
    const auto paint = [&](const QRect& window, const QPoint& shift) {
        for (int y = window.top(); y <= window.bottom(); ++y) {
            for (int x = window.left(); x <= window.right(); ++x) {
                const QPoint at = QPoint(x, y) + shift;
                if (QRect(0, 0, width, height).contains(at))
                    pixels[std::size_t(at.y() * width + at.x())] = 0xffffff;
            }
        }
        for (int line = window.top() + 6; line + 10 < window.bottom(); line += 14) {
            for (int x = window.left() + 6; x + 8 < window.right(); x += 2 + random(5)) {
                const int top = line + random(4);
                const int bottom = line + 6 + random(4);
                for (int y = top; y <= bottom; ++y) {
                    const QPoint at = QPoint(x, y) + shift;
                    if (QRect(0, 0, width, height).contains(at))
                        pixels[std::size_t(at.y() * width + at.x())] = 0x202020 + quint32(random(40)) * 0x010101;
                }
            }
        }
    };
    // Windows of text tile the screen beside the one recorded on.
    for (int top = 40; top + 300 < height; top += 440) {
        for (int left = top == 40 ? 700 : 40; left + 400 < width; left += 620)
            paint(QRect(left, top, 560, 400), {});
    }
    paint(kWindow, moved ? kMoved : QPoint());
    return pixels;
}

// A window over the whole screen that shows a desktop.
class DesktopWindow : public ExposedWindow
{
public:
    explicit DesktopWindow(QSize size) : ExposedWindow(0, 0, size.width(), size.height()), m_size(size) {}

    void Show(std::vector<quint32> pixels)
    {
        const unsigned width = unsigned(m_size.width());
        const unsigned height = unsigned(m_size.height());
        XImage* image = XCreateImage(display(), DefaultVisual(display(), DefaultScreen(display())), 24, ZPixmap, 0,
                                     reinterpret_cast<char*>(pixels.data()), width, height, 32, 0);
        GC gc = XCreateGC(display(), window(), 0, nullptr);
        XPutImage(display(), window(), gc, image, 0, 0, 0, 0, width, height);
        XFreeGC(display(), gc);
        image->data = nullptr; // the pixels are the vector's
        XDestroyImage(image);
        XSync(display(), False);
    }

private:
    QSize m_size;
};

QSize DisplaySize()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    const QSize size(DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display)));
    XCloseDisplay(display);
    return size;
}

struct Rig
{
    QSize size = DisplaySize();
    DesktopWindow window{size};
    std::unique_ptr<X11Desktop> desktop = X11Desktop::Open().desktop;
    std::unique_ptr<ScreenReader> reader;
    QImage recorded;

    Rig()
    {
        if (!desktop || !window.IsOpen())
            return;
        reader = desktop->OpenScreenReader();
        window.Show(Desktop(false, size.width(), size.height()));
        recorded = DescriptiveImage::Decode(DescriptiveImage::Encode(
            desktop->PixelBlock(kPoint.x() - kSide / 2, kPoint.y() - kSide / 2, kSide, kSide)));
        window.Show(Desktop(true, size.width(), size.height()));
    }
};

Rig& SharedRig()
{
    static Rig rig;
    return rig;
}

Rig* ReadyRig(benchmark::State& state)
{
    Rig& rig = SharedRig();
    if (rig.recorded.isNull()) {
        state.SkipWithError("no X display with XTEST");
        return nullptr;
    }
    state.SetLabel(QStringLiteral("%1x%2").arg(rig.size.width()).arg(rig.size.height()).toStdString());
    return &rig;
}

// Reads the area and searches it, as the search thread does; state.range(0): 1 near, 0 the whole screen.
void BM_ReadAndFind(benchmark::State& state)
{
    Rig* rig = ReadyRig(state);
    if (!rig)
        return;
    const ImageSearch search(rig->recorded, kPoint, rig->size);
    const QRect area = state.range(0) ? search.NearArea({}) : search.WholeScreen();
    for (auto _ : state) {
        const std::vector<quint32> block = rig->reader->Block(area, {});
        const ImageSearch::Result result = search.Find(block, area);
        if (result.answer != ImageSearch::Answer::Found || result.offset != kMoved) {
            state.SkipWithError("the image was not found where the window moved");
            return;
        }
    }
}
BENCHMARK(BM_ReadAndFind)
    ->ArgName("near")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();

// The whole screen's search alone, on a block read once.
void BM_FindOnly(benchmark::State& state)
{
    Rig* rig = ReadyRig(state);
    if (!rig)
        return;
    const ImageSearch search(rig->recorded, kPoint, rig->size);
    const QRect area = search.WholeScreen();
    const std::vector<quint32> block = rig->reader->Block(area, {});
    for (auto _ : state)
        benchmark::DoNotOptimize(search.Find(block, area));
}
BENCHMARK(BM_FindOnly)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

// The whole screen's read alone.
void BM_ReadOnly(benchmark::State& state)
{
    Rig* rig = ReadyRig(state);
    if (!rig)
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(rig->reader->Block(QRect(QPoint(0, 0), rig->size), {}));
}
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
