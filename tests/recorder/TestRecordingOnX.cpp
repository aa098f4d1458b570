// The recorder on a real X server: presses made through XTEST from another connection, one as short
// as a tool makes it and a double click at a person's speed, all end up in the list.
#include "desktop/x11/X11Desktop.h"
#include "recorder/Recorder.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"
#include "xdriver/XDriver.h"

#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

using std::chrono::milliseconds;

class TestRecordingOnX : public QObject
{
    Q_OBJECT

private slots:
    void aZeroMsClickAndAHumanDoubleClickAreRecorded()
    {
        auto opened = X11Desktop::Open();
        QVERIFY(opened.desktop);
        TaskList tasks;
        SharedState state;
        QTimer tmrRec;
        tmrRec.setInterval(20);
        Recorder recorder(tasks, *opened.desktop, state, tmrRec);
        connect(&tmrRec, &QTimer::timeout, &recorder, &Recorder::tmrRec_Timer);
        recorder.mnuComandiRec_Click();

        // The user has a thread of their own: the recorder holds this one while it follows a held press.
        const std::jthread user([] {
            XDriver driver;
            driver.MovePointer({200, 200});
            driver.Button(1, true);
            driver.Button(1, false);
            driver.MovePointer({400, 300});
            for (const int pause : {0, 150}) {
                std::this_thread::sleep_for(milliseconds(pause));
                driver.Button(1, true);
                std::this_thread::sleep_for(milliseconds(80));
                driver.Button(1, false);
            }
        });
        const auto rows = [&tasks] {
            QStringList rows;
            for (int row = 1; row <= tasks.TaskCount(); ++row)
                rows << QStringLiteral("%1 at %2,%3")
                            .arg(tasks.Cell(row, TaskList::kColumnTask), tasks.Cell(row, TaskList::kColumnX),
                                 tasks.Cell(row, TaskList::kColumnY));
            return rows;
        };
        QTRY_COMPARE(rows(), (QStringList{"Mouse Click Left at 200,200", "Mouse  DClick Left at 400,300"}));
    }
};

QTEST_MAIN(TestRecordingOnX)
#include "TestRecordingOnX.moc"
