// Cost of one task preview: decoding the image text and painting the block and its cross.
// Target: 2 ms per preview. Runs on the X display in DISPLAY (Xvfb is fine).
#include "app/TaskPreview.h"
#include "tasks/DescriptiveImage.h"

#include <QApplication>
#include <QPainter>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {
// An image text of varied colours, as the recorder writes it.
QByteArray SampleImageText(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> colour(0, 0xFFFFFF);
    QByteArray text;
    text.reserve(DescriptiveImage::kFieldCount * DescriptiveImage::kFieldWidth);
    for (int k = 0; k < DescriptiveImage::kFieldCount; ++k)
        text += QByteArray::number(colour(random)).leftJustified(DescriptiveImage::kFieldWidth, ' ');
    return text;
}

void BM_Decode(benchmark::State& state)
{
    const QByteArray text = SampleImageText(1);
    for (auto _ : state) {
        QImage image = DescriptiveImage::Decode(text);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMicrosecond);

// Decode and paint into an image of the picture's size, without the window system.
void BM_PreviewRender(benchmark::State& state)
{
    const QByteArray texts[] = {SampleImageText(1), SampleImageText(2)};
    TaskPreview preview;
    preview.resize(65, 65);
    QImage target(preview.size(), QImage::Format_RGB32);
    int next = 0;
    for (auto _ : state) {
        preview.Preview(texts[next]);
        next = 1 - next;
        preview.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PreviewRender)->Unit(benchmark::kMicrosecond);

// Decode and paint on screen, flushed to the X server, as a pick in the grid does.
void BM_PreviewOnScreen(benchmark::State& state)
{
    const QByteArray texts[] = {SampleImageText(1), SampleImageText(2)};
    TaskPreview preview;
    preview.resize(65, 65);
    preview.show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    int next = 0;
    for (auto _ : state) {
        preview.Preview(texts[next]);
        next = 1 - next;
        preview.repaint();
    }
}
BENCHMARK(BM_PreviewOnScreen)->Unit(benchmark::kMicrosecond);
} // namespace

CW_QT_BENCHMARK_MAIN(QApplication)
