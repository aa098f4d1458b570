// Saving and opening macro files: 1,000 tasks with descriptive images (about 26 MB) and 32,766
// tasks without, and the memory that opening the large file adds on top of what was there before.
// Opening here is what the Open command does: read and check the file whole, then put its tasks in
// place of the list.
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {
constexpr int kImageTasks = 1000;
constexpr int kPlainTasks = 32766;
constexpr int kImageBytes = 2601 * 10;

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

QString ImageFile()
{
    return Folder().filePath(QStringLiteral("images.#cw"));
}

QString PlainFile()
{
    return Folder().filePath(QStringLiteral("plain.#cw"));
}

// A descriptive image text as the recorder makes it: colour numbers padded to 10 characters.
QByteArray ImageText(int seed)
{
    QByteArray image;
    image.reserve(kImageBytes);
    for (int i = 0; i < 2601; ++i)
        image += QByteArray::number((seed * 2654435761U + static_cast<unsigned>(i) * 40503U) % 16777216U)
                     .leftJustified(10, ' ');
    return image;
}

TaskList& ImageList()
{
    static TaskList tasks;
    if (tasks.IsEmpty()) {
        std::vector<TaskRow> rows;
        for (int i = 0; i < kImageTasks; ++i)
            rows.push_back(TaskRow{QString::number(i % 1280), QString::number(i % 1024), TextTable::Text(114 + i % 3),
                                   ImageText(i)});
        tasks.AddTasks(std::move(rows));
    }
    return tasks;
}

void WritePlainFile()
{
    TaskList tasks;
    tasks.AddTasks(std::vector<TaskRow>(kPlainTasks, TaskRow{"640", "512", TextTable::Text(115), {}}));
    if (MacroFile::Save(PlainFile(), tasks, OptionValues{1000, 20, false, false, false}))
        std::abort();
}

// What the Open command does once the dialog has given it a path.
void Open(const QString& path, TaskList& into)
{
    MacroReadResult read = MacroFile::Read(path);
    if (read.status != MacroReadResult::Status::Ok)
        std::abort();
    into.ClearTaskList();
    into.AddTasks(std::move(read.content.tasks));
}

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ':';
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

// Writing 5 to clear_refs sets the peak resident size back to the current one.
void ResetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_SaveImages(benchmark::State& state)
{
    TaskList& tasks = ImageList();
    for (auto _ : state) {
        if (MacroFile::Save(ImageFile(), tasks, OptionValues{}))
            state.SkipWithError("save failed");
    }
    state.counters["file_MB"] = static_cast<double>(QFile(ImageFile()).size()) / 1e6;
}
BENCHMARK(BM_SaveImages)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// One open into a fresh list, first of the opens, so the heap has not been grown by earlier ones.
void BM_OpenImagesMemory(benchmark::State& state)
{
    const double fileMb = static_cast<double>(QFile(ImageFile()).size()) / 1e6;
    long addedKb = 0;
    for (auto _ : state) {
        TaskList tasks;
        ResetPeakRss();
        const long before = StatusKb("VmRSS");
        Open(ImageFile(), tasks);
        addedKb = StatusKb("VmHWM") - before;
        benchmark::DoNotOptimize(tasks.Rows());
    }
    state.counters["added_MB"] = static_cast<double>(addedKb) * 1024 / 1e6;
    state.counters["x_file_size"] = static_cast<double>(addedKb) * 1024 / 1e6 / fileMb;
}
BENCHMARK(BM_OpenImagesMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_OpenImages(benchmark::State& state)
{
    TaskList tasks;
    for (auto _ : state)
        Open(ImageFile(), tasks);
    if (tasks.TaskCount() != kImageTasks)
        state.SkipWithError("wrong task count");
}
BENCHMARK(BM_OpenImages)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_OpenPlain(benchmark::State& state)
{
    TaskList tasks;
    for (auto _ : state)
        Open(PlainFile(), tasks);
    if (tasks.TaskCount() != kPlainTasks)
        state.SkipWithError("wrong task count");
}
BENCHMARK(BM_OpenPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // The large file exists before the first open, whatever filter picks the benchmarks.
    if (MacroFile::Save(ImageFile(), ImageList(), OptionValues{}))
        return 1;
    WritePlainFile();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
