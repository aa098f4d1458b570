// Installs the build into a temporary prefix and starts the installed program from there: it has
// to find its help page and its recording cursor in share/clickwarden, not beside itself.
#include "RootCursor.h"
#include "Xdo.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

namespace {
const QString kMainWindowTitle = QStringLiteral("^#Quorvel Works - Clickwarden 2004$");
const QString kMessageTitle = QStringLiteral("^Clickwarden 2004$");
const QString kHelpPageLabel = QStringLiteral("Help page: ");

// Polls the pointer shape until it matches (or stops matching) the expected one.
bool WaitForCursor(const PointerShape& expected, bool shown)
{
    const QDeadlineTimer deadline(Xdo::kWaitMs);
    do {
        // No shape at all counts as "not shown": a program killed while recording can leave that.
        const auto current = CurrentPointerShape();
        if ((current && current->Matches(expected)) == shown)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}
} // namespace

class TestInstalledLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CW_CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(CW_BUILD_DIR),
                                                         QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    void filesAreInPlace_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {"bin/clickwarden", "share/clickwarden/rec.cur", "share/clickwarden/help/index.html",
              "share/applications/clickwarden.desktop", "share/mime/packages/clickwarden.xml",
              "share/icons/hicolor/scalable/apps/clickwarden.svg", "share/man/man1/clickwarden.1.gz"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }

    void filesAreInPlace()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(m_prefix.filePath(path)).isFile(), qPrintable(path));
    }

    void installedProgramFindsItsHelpPage()
    {
        QProcess program;
        program.start(Program(), {QStringLiteral("--help")});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);
        const QStringList lines = QString::fromLocal8Bit(program.readAllStandardOutput()).split(QLatin1Char('\n'));
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [](const QString& text) { return text.startsWith(kHelpPageLabel); });
        QVERIFY2(line != lines.end(), qPrintable(lines.join(QLatin1Char('\n'))));
        const QString page = QUrl(line->mid(kHelpPageLabel.size())).toLocalFile();
        QCOMPARE(QFileInfo(page).canonicalFilePath(),
                 QFileInfo(m_prefix.filePath(QStringLiteral("share/clickwarden/help/index.html"))).canonicalFilePath());
    }

    // While it records, the program shows rec.cur as the root window's pointer shape.
    void installedProgramShowsItsRecordingCursor()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display");
        const auto recordingCursor =
            PointerShapeFromFile(m_prefix.filePath(QStringLiteral("share/clickwarden/rec.cur")));
        QVERIFY(recordingCursor);

        // A corner of the screen where no window will be, so the root window's cursor shows.
        const QStringList screen = Xdo::Run({QStringLiteral("getdisplaygeometry")}).split(QLatin1Char(' '));
        QCOMPARE(screen.size(), 2);
        const int cornerX = screen[0].toInt() - 6;
        const int cornerY = screen[1].trimmed().toInt() - 6;
        Xdo::MoveTo(cornerX, cornerY);
        const auto before = CurrentPointerShape();
        QVERIFY2(!(before && before->Matches(*recordingCursor)), "the recording cursor shows already");

        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(Program(), {});
        const auto cleanup = qScopeGuard([&program] {
            if (program.state() != QProcess::NotRunning) {
                program.kill();
                program.waitForFinished();
            }
        });
        const QStringList mainWindow = Xdo::WaitForWindows(program.processId(), kMainWindowTitle);
        QVERIFY(!mainWindow.isEmpty());
        // The splash has the title the message boxes have, and a key press closes it.
        QVERIFY(Xdo::WaitForOnlyWindow(program.processId(), mainWindow.first()));
        QVERIFY(Xdo::Activate(mainWindow.first()));
        Xdo::Key(QStringLiteral("ctrl+shift+F12"));
        QVERIFY2(WaitForCursor(*recordingCursor, true), "the recording cursor did not show");

        // One click, so that the recording ends with a message to dismiss.
        Xdo::MoveTo(cornerX, cornerY);
        Xdo::Click(1);
        Xdo::HoldKeys(QStringLiteral("ctrl+shift+F12"), 300);
        const QStringList message = Xdo::WaitForWindows(program.processId(), kMessageTitle);
        QVERIFY(!message.isEmpty());
        QVERIFY2(WaitForCursor(*recordingCursor, false), "the recording cursor stayed after the recording");
        QVERIFY(Xdo::Activate(message.first()));
        Xdo::Key(QStringLiteral("Return"));
        QVERIFY(Xdo::WaitUntilNoWindow(program.processId(), kMessageTitle));

        QVERIFY(Xdo::Activate(Xdo::WaitForWindows(program.processId(), kMainWindowTitle).value(0)));
        Xdo::Key(QStringLiteral("ctrl+q"));
        QVERIFY(program.waitForFinished(Xdo::kWaitMs));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    }

private:
    QString Program() const { return m_prefix.filePath(QStringLiteral("bin/clickwarden")); }

    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(TestInstalledLayout)
#include "TestInstalledLayout.moc"
