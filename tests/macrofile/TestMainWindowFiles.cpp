#include "FakeFileChooser.h"
#include "app/MainWindow.h"
#include "core/TextTable.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray kHeaderLine = "\"#Quorvel WorksClickwarden 200425\"\r\n";
const QByteArray kFooterLine = "\"***#Quorvel Works***25***\"\r\n";
const QByteArray kPause = "\"1*2*Pause**\"\r\n";
const char* const kTaskCommands[] = {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"};

QByteArray MacroBytes(const QByteArray& taskLines, const QByteArray& trailer)
{
    return kHeaderLine + taskLines + kFooterLine + trailer;
}
} // namespace

// The file commands of the main window, with the file dialog answered by a script.
class TestMainWindowFiles : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    FakeDesktop m_desktop;
    std::unique_ptr<FakeFileChooser> m_files;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_saves = 0;

    QString Path(const QString& name) const { return m_dir->filePath(name); }

    QString WriteMacro(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return file.fileName();
    }

    // A file of the test's folder holding bytes; with bytes "-" none is written, and "/" is the folder.
    QString FileFor(const QString& name, const QByteArray& bytes)
    {
        return name == "/" ? m_dir->path() : bytes == "-" ? Path(name) : WriteMacro(name, bytes);
    }

    void Start(const QStringList& arguments = {})
    {
        m_window.reset();
        m_messages.Clear();
        m_files = std::make_unique<FakeFileChooser>();
        MainWindowServices services{&m_messages, &m_desktop, {}};
        services.files = m_files.get();
        services.arguments = arguments;
        m_window = std::make_unique<MainWindow>(std::move(services));
        m_window->Form_Load();
    }

    // Runs a file command (whether or not its menu entry is enabled), answering its dialog with path.
    void Choose(const char* command, const QString& path)
    {
        m_files->QueueAnswer(path);
        if (!QMetaObject::invokeMethod(m_window.get(), command))
            qFatal("the main window has no slot %s", command);
    }

    // Saves through the Save command and returns the file's bytes: the task list, both intervals
    // and the three switches.
    QByteArray Save()
    {
        const QString path = Path(QStringLiteral("saved%1.#cw").arg(++m_saves));
        Choose("mnuFileSalva_Click", path);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QList<bool> Enabled()
    {
        QList<bool> enabled;
        for (const char* name : kTaskCommands)
            enabled << m_window->findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
        return enabled;
    }

    // Everything a read may change: what a save writes (with SalvaImmagine on, the images too) and
    // which task commands are enabled.
    std::pair<QByteArray, QList<bool>> Snapshot() { return {Save(), Enabled()}; }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void cleanup()
    {
        m_window.reset();
        m_files.reset();
        m_dir.reset();
    }

    void openReplacesTheListAndAppliesTheSettings_data()
    {
        QTest::addColumn<QByteArray>("tasks");
        QTest::addColumn<QByteArray>("trailer");
        QTest::addColumn<QByteArray>("savedTasks"); // as a save writes them again
        const QByteArray click = "\"312*148*Mouse Click Left*12345     *\"\r\n";
        QTest::newRow("click and pause") << click + kPause << QByteArray("500\r\n40\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n")
                                         << click + kPause;
        QTest::newRow("images switched off") << click << QByteArray("500\r\n40\r\n#TRUE#\r\n#TRUE#\r\n#FALSE#\r\n")
                                             << QByteArray("\"312*148*Mouse Click Left**\"\r\n");
        QTest::newRow("the empty list") << QByteArray("\"****\"\r\n")
                                        << QByteArray("2000\r\n100\r\n#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n")
                                        << QByteArray("\"****\"\r\n");
    }

    void openReplacesTheListAndAppliesTheSettings()
    {
        QFETCH(QByteArray, tasks);
        QFETCH(QByteArray, trailer);
        QFETCH(QByteArray, savedTasks);
        Start();
        m_window->Tasks().AddTask("7", "7", TextTable::Text(115), "old image", TaskOrigin::Inserted);
        Choose("mnuFileApri_Click", WriteMacro("open.#cw", MacroBytes(tasks, trailer)));
        QVERIFY(m_messages.Messages().empty());
        QCOMPARE(m_window->Tasks().TaskCount(), int(tasks.count('\n') - tasks.count("\"****\"")));
        QCOMPARE(m_window->Tasks().Rows(), int(tasks.count('\n')) + 1);
        QCOMPARE(m_window->Tasks().Image(1), m_window->Tasks().IsEmpty() ? QByteArray() : QByteArray("12345     "));
        QCOMPARE(Enabled(), QList<bool>(4, true));
        QCOMPARE(Save(), MacroBytes(savedTasks, trailer));
    }

    void appendAddsAfterTheListAndKeepsItsTitle()
    {
        Start();
        Choose("mnuFileApri_Click",
               WriteMacro("first.#cw", MacroBytes(kPause, "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n")));
        const QByteArray second = "\"3*4*Mouse Click Right**\"\r\n\"5*6*Mouse Click Right**\"\r\n";
        const QByteArray trailer = "250\r\n10\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n";
        Choose("mnuFileAggiungi_Click", WriteMacro("second.#cw", MacroBytes(second, trailer)));
        QCOMPARE(m_files->Requests().back().title, TextTable::Text(139));
        QVERIFY(m_messages.Messages().empty());
        QCOMPARE(Save(), MacroBytes(kPause + second, trailer));
        QCOMPARE(m_files->Requests().back().title, TextTable::Text(139)); // Save shows it too
    }

    void failedReadsChangeNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("textId"); // 0: a cancelled dialog, no message
        const QByteArray task = "\"9*9*Mouse Click Middle**\"\r\n";
        QTest::newRow("no footer") << "bad.#cw" << kHeaderLine + task + task << 130;
        QTest::newRow("recording interval 1001")
            << "bad.#cw" << MacroBytes(task, "300\r\n1001\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n") << 130;
        QTest::newRow("flag") << "bad.#cw" << MacroBytes(task, "300\r\n30\r\n#TRUE#\r\nyes\r\n#TRUE#\r\n") << 130;
        QTest::newRow("missing file") << "missing.#cw" << QByteArray("-") << 150;
        QTest::newRow("folder") << "/" << QByteArray() << 150;
        QTest::newRow("cancelled") << "" << QByteArray("-") << 0;
    }

    // On the empty list at start-up (task commands off), and on a loaded list with settings other
    // than the defaults and other than the bad file's.
    void failedReadsChangeNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, textId);
        const QString path = textId == 0 ? QString() : FileFor(name, bytes);
        const QString good = WriteMacro("good.#cw", MacroBytes(kPause + "\"3*4*Mouse Click Left*1 *\"\r\n",
                                                               "700\r\n35\r\n#TRUE#\r\n#FALSE#\r\n#TRUE#\r\n"));
        for (int run = 0; run < 4; ++run) {
            const char* command = run % 2 == 0 ? "mnuFileApri_Click" : "mnuFileAggiungi_Click";
            Start();
            if (run >= 2)
                Choose("mnuFileApri_Click", good);
            const auto before = Snapshot();
            m_messages.Clear();
            Choose(command, path);
            QCOMPARE(m_messages.Texts().size(), textId == 0 ? 0 : 1);
            if (textId == 130)
                QCOMPARE(m_messages.Messages()[0].text, TextTable::Text(130));
            else if (textId != 0)
                QVERIFY(m_messages.Texts()[0].startsWith(TextTable::Text(textId) + ' ' + path + '\n'));
            QVERIFY2(Snapshot() == before, command);
        }
    }

    void failedSaveSaysSo()
    {
        Start();
        const QString path = Path(QStringLiteral("no folder/x.#cw"));
        Choose("mnuFileSalva_Click", path);
        QCOMPARE(m_messages.Texts().size(), 1);
        QVERIFY(m_messages.Texts()[0].startsWith(TextTable::Text(151) + ' ' + path + '\n'));
    }

    void commandLineFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("textId"); // 0: no message
        QTest::addColumn<bool>("plays");
        const QByteArray macro = MacroBytes(kPause, "1500\r\n25\r\n#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n");
        QTest::newRow("quoted, with a blank") << "\"my macro.#cw\"" << macro << 0 << true;
        QTest::newRow("invalid") << "bad.#cw" << QByteArray("\x00\xFF binary", 9) << 130 << false;
        QTest::newRow("missing") << "missing.#cw" << QByteArray("-") << 150 << false;
    }

    // A file named on the command line is played only when it was read; otherwise the program
    // starts as usual, after the message.
    void commandLineFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, textId);
        QFETCH(bool, plays);
        const bool quoted = name.startsWith('"');
        QString path = FileFor(QString(name).remove('"'), bytes);
        if (quoted)
            path = '"' + path + '"';
        Start(path.split(' '));
        QCOMPARE(m_messages.Texts().size(), textId == 0 ? 0 : 1);
        if (textId != 0)
            QVERIFY(m_messages.Texts()[0].startsWith(TextTable::Text(textId)));
        QCOMPARE(m_window->State().playing, plays);
        QCOMPARE(m_window->Tasks().TaskCount(), plays ? 1 : 0);
        QCOMPARE(m_window->State().options.Ripeti, plays);
    }
};

QTEST_MAIN(TestMainWindowFiles)
#include "TestMainWindowFiles.moc"
