// A whole user journey on the real program, driven only from outside through XTEST (xdotool):
// record a click, a double click and a drag over a window that logs its button events, switch on
// "close after playing" in Options through the menu with the mouse, save with Ctrl+S through the
// file dialog, then start the program again with the file on its command line. The logging window
// must get the same events at the same points, and the program must close by itself.
#include "Xdo.h"
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "tasks/TaskKinds.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {
const QString kMainTitle = QStringLiteral("^#Quorvel Works - Clickwarden 2004$");
const QString kMessageTitle = QStringLiteral("^Clickwarden 2004$");
const QString kOptionsTitle = QStringLiteral("^Options$");
const QString kSaveTitle = QStringLiteral("^Save As$");
const QString kTargetTitle = QStringLiteral("^Clickwarden click target$");

// Where things are on screen under Qt's Fusion style with DejaVu Sans, from the top-left corner of
// the window that holds them: the "Commands" menu title in the main window's menu bar, and the
// "Close Clickwarden after playing finished" box in the Options dialog.
constexpr QPoint kCommandsTitle(78, 10);
constexpr int kCommandsItems = 5; // Record, Play, Delete, Options, Insert Pause
constexpr int kOptionsItem = 3;
constexpr QPoint kCloseAfterPlayingBox(17, 76);

// The target window's place, and the points clicked on it (from its top-left corner).
constexpr QPoint kTargetPlace(860, 80);
constexpr QSize kTargetSize(400, 320);
constexpr QPoint kClickAt(70, 60);
constexpr QPoint kDoubleClickAt(200, 60);
constexpr QPoint kDragFrom(70, 220);
constexpr QPoint kDragTo(300, 250);

struct ButtonEvent
{
    QString kind; // press, release or double
    int button = 0;
    QPoint at;

    bool operator==(const ButtonEvent&) const = default;
};

QString Describe(const QList<ButtonEvent>& events)
{
    QStringList lines;
    for (const ButtonEvent& event : events)
        lines << QStringLiteral("%1 %2 %3,%4").arg(event.kind).arg(event.button).arg(event.at.x()).arg(event.at.y());
    return lines.join(QStringLiteral("; "));
}

// Compares event lists and shows both in full when they differ.
bool SameEvents(const QList<ButtonEvent>& actual, const QList<ButtonEvent>& expected)
{
    if (actual == expected)
        return true;
    qWarning("got:      %s\nexpected: %s", qPrintable(Describe(actual)), qPrintable(Describe(expected)));
    return false;
}

QList<ButtonEvent> ReadLog(const QString& path)
{
    QList<ButtonEvent> events;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return events;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).simplified().split(QLatin1Char(' '));
        if (fields.size() == 4)
            events.append({fields[0], fields[1].toInt(), QPoint(fields[2].toInt(), fields[3].toInt())});
    }
    return events;
}

QString Number(int value)
{
    return QString::number(value);
}

// A press held as a hand holds it: the recorder samples the buttons every 20 ms.
void ClickAt(QPoint at)
{
    Xdo::Run({QStringLiteral("mousemove"), Number(at.x()), Number(at.y()), QStringLiteral("sleep"),
              QStringLiteral("0.2"), QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"),
              QStringLiteral("0.1"), QStringLiteral("mouseup"), QStringLiteral("1")});
}

// Quick enough for the recorder's double-click window (four samples) and for Qt's.
void DoubleClickAt(QPoint at)
{
    Xdo::Run({QStringLiteral("mousemove"), Number(at.x()), Number(at.y()), QStringLiteral("sleep"),
              QStringLiteral("0.2"), QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"),
              QStringLiteral("0.05"), QStringLiteral("mouseup"), QStringLiteral("1"), QStringLiteral("sleep"),
              QStringLiteral("0.03"), QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"),
              QStringLiteral("0.05"), QStringLiteral("mouseup"), QStringLiteral("1")});
}

void Drag(QPoint from, QPoint to)
{
    const QPoint middle = (from + to) / 2;
    Xdo::Run({QStringLiteral("mousemove"),
              Number(from.x()),
              Number(from.y()),
              QStringLiteral("sleep"),
              QStringLiteral("0.2"),
              QStringLiteral("mousedown"),
              QStringLiteral("1"),
              QStringLiteral("sleep"),
              QStringLiteral("0.15"),
              QStringLiteral("mousemove"),
              Number(middle.x()),
              Number(middle.y()),
              QStringLiteral("sleep"),
              QStringLiteral("0.05"),
              QStringLiteral("mousemove"),
              Number(to.x()),
              Number(to.y()),
              QStringLiteral("sleep"),
              QStringLiteral("0.15"),
              QStringLiteral("mouseup"),
              QStringLiteral("1")});
}

QPoint Origin(const QString& windowId)
{
    const Xdo::Geometry geometry = Xdo::WindowGeometry(windowId);
    return {geometry.x, geometry.y};
}

void ClickOnWindow(const QString& windowId, QPoint offset)
{
    ClickAt(Origin(windowId) + offset);
}

// Polls until the process shows a window that is not in the given list.
QString WaitForNewWindow(qint64 pid, const QStringList& known)
{
    const QDeadlineTimer deadline(Xdo::kWaitMs);
    do {
        for (const QString& window : Xdo::VisibleWindows(pid)) {
            if (!known.contains(window))
                return window;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return {};
}

bool WaitForFile(const QString& path)
{
    const QDeadlineTimer deadline(Xdo::kWaitMs);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}
} // namespace

class TestUserJourney : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QProcess* process : {&m_target, &m_recording, &m_playing}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished();
            }
        }
    }

    void recordSaveAndPlayFromTheCommandLine()
    {
        QVERIFY(m_dir.isValid());
        const QString log = m_dir.filePath(QStringLiteral("events.log"));
        const QString macro = m_dir.filePath(QStringLiteral("journey.#cw"));

        m_target.setProcessChannelMode(QProcess::ForwardedChannels);
        m_target.start(QStringLiteral(CW_CLICK_TARGET), {log, Number(kTargetPlace.x()), Number(kTargetPlace.y()),
                                                         Number(kTargetSize.width()), Number(kTargetSize.height())});
        const QStringList target = Xdo::WaitForWindows(m_target.processId(), kTargetTitle);
        QVERIFY(!target.isEmpty());
        const QPoint origin = Origin(target.first());
        const QPoint click = origin + kClickAt;
        const QPoint doubleClick = origin + kDoubleClickAt;
        const QPoint dragFrom = origin + kDragFrom;
        const QPoint dragTo = origin + kDragTo;

        // Record.
        StartProgram(m_recording, {});
        const QStringList main = Xdo::WaitForWindows(m_recording.processId(), kMainTitle);
        QVERIFY(!main.isEmpty());
        // The splash closes on a key press: wait until the main window is the only one left.
        QVERIFY(Xdo::WaitForOnlyWindow(m_recording.processId(), main.first()));
        QVERIFY(Xdo::Activate(main.first()));
        Xdo::Key(QStringLiteral("ctrl+shift+F12"));
        QVERIFY2(Xdo::WaitUntilNoWindow(m_recording.processId(), kMainTitle), "recording did not minimise");
        ClickAt(click);
        QThread::msleep(400); // past the double-click window, so that the next click stands alone
        DoubleClickAt(doubleClick);
        QThread::msleep(400);
        Drag(dragFrom, dragTo);
        Xdo::HoldKeys(QStringLiteral("ctrl+shift+F12"), 300);
        const QStringList message = Xdo::WaitForWindows(m_recording.processId(), kMessageTitle);
        QVERIFY2(!message.isEmpty(), "no message at the end of the recording");
        QVERIFY(Xdo::Activate(message.first()));
        Xdo::Key(QStringLiteral("Return"));
        QVERIFY(Xdo::WaitUntilNoWindow(m_recording.processId(), kMessageTitle));
        QVERIFY(!Xdo::WaitForWindows(m_recording.processId(), kMainTitle).isEmpty());

        // Commands > Options..., with the mouse: the menu captions have no access keys.
        QVERIFY(Xdo::Activate(main.first()));
        ClickOnWindow(main.first(), kCommandsTitle);
        const QString menu = WaitForNewWindow(m_recording.processId(), main);
        QVERIFY2(!menu.isEmpty(), "the Commands menu did not open");
        const Xdo::Geometry items = Xdo::WindowGeometry(menu);
        ClickAt({items.x + items.width / 3, items.y + items.height * (2 * kOptionsItem + 1) / (2 * kCommandsItems)});
        const QStringList options = Xdo::WaitForWindows(m_recording.processId(), kOptionsTitle);
        QVERIFY2(!options.isEmpty(), "the Options dialog did not open");
        ClickOnWindow(options.first(), kCloseAfterPlayingBox);
        Xdo::Key(QStringLiteral("Return")); // OK
        QVERIFY(Xdo::WaitUntilNoWindow(m_recording.processId(), kOptionsTitle));

        // Save with Ctrl+S through the file dialog.
        QVERIFY(Xdo::Activate(main.first()));
        Xdo::Key(QStringLiteral("ctrl+s"));
        const QStringList save = Xdo::WaitForWindows(m_recording.processId(), kSaveTitle);
        QVERIFY2(!save.isEmpty(), "the save dialog did not open");
        QVERIFY(Xdo::Activate(save.first()));
        Xdo::Run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), macro});
        Xdo::Key(QStringLiteral("Return"));
        QVERIFY2(WaitForFile(macro), qPrintable(macro));
        QVERIFY(Xdo::WaitUntilNoWindow(m_recording.processId(), kSaveTitle));
        QVERIFY(Xdo::Activate(main.first()));
        Xdo::Key(QStringLiteral("ctrl+q"));
        QVERIFY(m_recording.waitForFinished(Xdo::kWaitMs));

        // The file holds what was done, and the switch.
        const MacroReadResult saved = MacroFile::Read(macro);
        QCOMPARE(saved.status, MacroReadResult::Status::Ok);
        QVERIFY2(saved.content.settings.Termina, "\"Close Clickwarden after playing finished\" was not saved on");
        using TaskKinds::Action;
        const QList<std::tuple<QPoint, QString>> expectedTasks = {
            {click, TaskKinds::Text(Action::Click, VirtualKey::kLeftButton)},
            {doubleClick, TaskKinds::Text(Action::DoubleClick, VirtualKey::kLeftButton)},
            {dragFrom, TaskKinds::Text(Action::Down, VirtualKey::kLeftButton)},
            {dragTo, TaskKinds::Text(Action::Up, VirtualKey::kLeftButton)}};
        QCOMPARE(saved.content.tasks.size(), std::size_t(expectedTasks.size()));
        for (qsizetype i = 0; i < expectedTasks.size(); ++i) {
            const TaskRow& row = saved.content.tasks[std::size_t(i)];
            const auto& [at, kind] = expectedTasks[i];
            QCOMPARE(QPoint(row.x.toInt(), row.y.toInt()), at);
            QCOMPARE(row.task, kind);
        }

        // What the target saw while recording: the driver did what the journey says.
        const QList<ButtonEvent> expected = {
            {QStringLiteral("press"), 1, click},        {QStringLiteral("release"), 1, click},
            {QStringLiteral("press"), 1, doubleClick},  {QStringLiteral("release"), 1, doubleClick},
            {QStringLiteral("double"), 1, doubleClick}, {QStringLiteral("release"), 1, doubleClick},
            {QStringLiteral("press"), 1, dragFrom},     {QStringLiteral("release"), 1, dragTo},
        };
        QVERIFY(SameEvents(ReadLog(log), expected));

        // Play from the command line: the same events at the same points, then the program ends.
        StartProgram(m_playing, {macro});
        QVERIFY2(m_playing.waitForFinished(120000), "the program did not close after playing");
        QCOMPARE(m_playing.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_playing.exitCode(), 0);
        QVERIFY(SameEvents(ReadLog(log).mid(expected.size()), expected));
    }

private:
    void StartProgram(QProcess& program, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(m_dir.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(CW_PROGRAM), arguments);
    }

    QTemporaryDir m_dir;
    QProcess m_target;
    QProcess m_recording;
    QProcess m_playing;
};

QTEST_GUILESS_MAIN(TestUserJourney)
#include "TestUserJourney.moc"
