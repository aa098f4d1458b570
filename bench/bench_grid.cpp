// A cursor move in the task grid over a file of long typing rows: 20 rows of about 1 MiB of typed
// text each, the longest a row may be. The CPU time of one Down or Up key, with the grid's repaint.
// Target: 16 ms per move. And the cost of putting those rows in place, where what the grid shows of
// them is worked out. Runs on the X display in DISPLAY (Xvfb is fine).
#include "app/MainWindow.h"
#include "app/StderrMessageBoxes.h"
#include "app/TaskGrid.h"
#include "macrofile/MacroFile.h"
#include "tasks/InputTask.h"

#include <QApplication>
#include <QKeyEvent>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int kLongRows = 20;

// A typing row as the recorder writes one: words of a sentence, key by key, up to the longest row.
QByteArray LongTypingRow(int row)
{
    const QByteArray sentence = "T h e space q u i c k space b r o w n space f o x space Cyrillic_zhe Cyrillic_a "
                                "space j u m p s period space ";
    QByteArray task = "Type ";
    task += QByteArray::number(row) + " space ";
    while (task.size() + sentence.size() < InputTask::kMaxTaskText)
        task += sentence;
    task.chop(1);
    return "10*20*" + task + "**";
}

// The file's rows, read as Open reads them.
TaskRows LongRows()
{
    QByteArray file = "\"" + MacroFile::Header() + "\"\r\n";
    for (int row = 1; row <= kLongRows; ++row)
        file += "\"" + LongTypingRow(row) + "\"\r\n";
    file += "\"" + MacroFile::Footer() + "\"\r\n1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n";
    MacroParse parse = MacroFile::Parse(QByteArrayView(file));
    if (parse.fault.kind != MacroFault::Kind::None || parse.content.tasks.size() != kLongRows)
        std::abort();
    return std::move(parse.content.tasks);
}

void Tap(QWidget& widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
    // The grid repaints the rows it left and reached.
    QApplication::processEvents();
}

void BM_CursorMoveOverLongRows(benchmark::State& state)
{
    StderrMessageBoxes messages;
    MainWindow window(MainWindowServices{&messages, nullptr, {}});
    window.Start();
    window.Tasks().AddTasks(LongRows());
    window.UpdateCommandState(true);
    auto* grid = window.findChild<TaskGrid*>();
    grid->setFocus();
    grid->setCurrentIndex(window.Tasks().index(0, 1));
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        // Down to the last row and back up, one row a move.
        Tap(*grid, (step++ / (kLongRows - 1)) % 2 == 0 ? Qt::Key_Down : Qt::Key_Up);
    }
}
BENCHMARK(BM_CursorMoveOverLongRows)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// What a row's look costs where it is worked out: putting the read rows in place of the list, as
// Open does once the file is read.
void BM_PutLongRowsInPlace(benchmark::State& state)
{
    const TaskRows rows = LongRows();
    TaskList tasks;
    for (auto _ : state) {
        tasks.ClearTaskList();
        tasks.AddTasks(TaskRows(rows));
    }
}
BENCHMARK(BM_PutLongRowsInPlace)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
} // namespace

CW_QT_BENCHMARK_MAIN(QApplication)
