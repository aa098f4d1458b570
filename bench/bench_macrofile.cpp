// Saving and opening macro files: 1,000 tasks with descriptive images (about 26 MB), 32,766 tasks
// without, 105 MB of the smallest task lines ("1***", 13 million of them), and the refusal of a
// 1 GiB file of zero bytes; with the memory that opening adds on top of what was there before.
// Opening here is what the Open command does: read and check the file whole (on its reading thread),
// then put its tasks in place of the list (on the window's thread: "apply_ms").
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "tasks/TaskKinds.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {
constexpr int kImageTasks = 1000;
constexpr int kPlainTasks = 32766;
constexpr int kImageBytes = 2601 * 10;
constexpr qint64 kTinyFileBytes = 105'000'000;

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

QString TinyFile()
{
    return Folder().filePath(QStringLiteral("tiny.#cw"));
}

QString ZeroFile()
{
    return Folder().filePath(QStringLiteral("zero.#cw"));
}

// The header, task lines "1***" up to about kTinyFileBytes, the footer and the settings.
void WriteTinyFile()
{
    QFile file(TinyFile());
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write("\"" + MacroFile::Header() + "\"\r\n");
    const QByteArray line = "\"1***\"\r\n";
    const QByteArray block = line.repeated(1 << 16);
    while (file.size() < kTinyFileBytes)
        file.write(block);
    file.write("\"" + MacroFile::Footer() + "\"\r\n1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n");
}

// 1 GiB of zero bytes, sparse: it takes no room on disk but reads as a whole GiB.
void WriteZeroFile()
{
    QFile file(ZeroFile());
    if (!file.open(QIODevice::WriteOnly) || !file.resize(MacroFile::kMaxFileSize))
        std::abort();
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
            rows.push_back(TaskRow{QString::number(i % 1280), QString::number(i % 1024),
                                   TaskKinds::Text(TaskKinds::Action::Click, kMouseButtons[i % 3]), ImageText(i)});
        tasks.AddTasks(std::move(rows));
    }
    return tasks;
}

void WritePlainFile()
{
    TaskList tasks;
    tasks.AddTasks(std::vector<TaskRow>(kPlainTasks, TaskRow{"640", "512", TextTable::Text(TextId::ClickRight), {}}));
    if (MacroFile::Save(PlainFile(), tasks, OptionValues{1000, 20, false, false, false}, false))
        std::abort();
}

// What the Open command does once the dialog has given it a path; returns the seconds spent
// putting the tasks in place, the part that runs on the window's thread.
double Open(const QString& path, TaskList& into)
{
    MacroReadResult read = MacroFile::Read(path);
    if (read.status != MacroReadResult::Status::Ok)
        std::abort();
    const auto start = std::chrono::steady_clock::now();
    into.ClearTaskList();
    into.AddTasks(std::move(read.content.tasks));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
        if (MacroFile::Save(ImageFile(), tasks, OptionValues{}, true))
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

// 13 million tasks of a few bytes each: the memory the open adds, against the file's size, and the
// time the window's thread spends on it.
void BM_OpenTinyLines(benchmark::State& state)
{
    const double fileMb = static_cast<double>(QFile(TinyFile()).size()) / 1e6;
    long addedKb = 0;
    double applySeconds = 0;
    int tasksRead = 0;
    for (auto _ : state) {
        TaskList tasks;
        ResetPeakRss();
        const long before = StatusKb("VmRSS");
        applySeconds = Open(TinyFile(), tasks);
        addedKb = StatusKb("VmHWM") - before;
        tasksRead = tasks.TaskCount();
    }
    state.counters["file_MB"] = fileMb;
    state.counters["tasks"] = tasksRead;
    state.counters["added_MB"] = static_cast<double>(addedKb) * 1024 / 1e6;
    state.counters["x_file_size"] = static_cast<double>(addedKb) * 1024 / 1e6 / fileMb;
    state.counters["apply_ms"] = applySeconds * 1e3;
}
BENCHMARK(BM_OpenTinyLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A file that does not begin with the header is refused after its first piece.
void BM_RefuseZeroFile(benchmark::State& state)
{
    long addedKb = 0;
    for (auto _ : state) {
        ResetPeakRss();
        const long before = StatusKb("VmRSS");
        if (MacroFile::Read(ZeroFile()).status != MacroReadResult::Status::Invalid)
            state.SkipWithError("the zero file was not refused");
        addedKb = StatusKb("VmHWM") - before;
    }
    state.counters["file_MB"] = static_cast<double>(QFile(ZeroFile()).size()) / 1e6;
    state.counters["added_MB"] = static_cast<double>(addedKb) * 1024 / 1e6;
}
BENCHMARK(BM_RefuseZeroFile)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(10);

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
    if (MacroFile::Save(ImageFile(), ImageList(), OptionValues{}, true))
        return 1;
    WritePlainFile();
    WriteTinyFile();
    WriteZeroFile();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
