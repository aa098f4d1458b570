#include "FakeFileChooser.h"
#include "app/MainWindow.h"
#include "app/core/TextTable.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray kHeaderLine = "\"#Quorvel WorksClickwarden 200425\"\r\n";
const QByteArray kFooterLine = "\"***#Quorvel Works***25***\"\r\n";
const char* const kTaskCommands[] = {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"};

QByteArray MacroBytes(const QByteArray& taskLines, const QByteArray& trailer)
{
    return kHeaderLine + taskLines + kFooterLine + trailer;
}

// Everything a read may change: the task list with its images, both intervals and the three
// switches (all of which a save writes out), and which task commands are enabled.
struct Snapshot
{
    QByteArray saved;
    QList<bool> enabled;
    QStringList cells;

    bool operator==(const Snapshot&) const = default;
};
} // namespace

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
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }

    QString WriteMacro(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return file.fileName();
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

    // Saves through the Save command (whether or not it is enabled) and returns the file's bytes.
    QByteArray Save()
    {
        const QString path = Path(QStringLiteral("snapshot%1.#cw").arg(++m_saves));
        Choose("mnuFileSalva_Click", path);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Snapshot Take()
    {
        Snapshot snapshot;
        for (const char* name : kTaskCommands)
            snapshot.enabled << Action(name)->isEnabled();
        const TaskList& tasks = m_window->Tasks();
        for (int row = 1; row < tasks.Rows(); ++row)
            for (int column = TaskList::kColumnX; column <= TaskList::kColumnImage; ++column)
                snapshot.cells << tasks.Cell(row, column);
        // Saving writes the images only while SalvaImmagine is on; the cells above hold them anyway.
        snapshot.saved = Save();
        return snapshot;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_saves = 0;
    }

    void cleanup()
    {
        m_window.reset();
        m_files.reset();
        m_dir.reset();
    }

    void openReplacesTheListAndAppliesTheSettings()
    {
        Start();
        m_window->Tasks().AddTask("1", "1", TextTable::Text(115), "old image", TaskOrigin::Inserted);
        const QByteArray trailer = "500\r\n40\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n";
        const QString path = WriteMacro("open.#cw", MacroBytes("\"312*148*Mouse Click Left*12345     *\"\r\n"
                                                               "\"30**Pause**\"\r\n",
                                                               trailer));
        Choose("mnuFileApri_Click", path);
        QVERIFY(m_messages.Messages().empty());
        QCOMPARE(m_window->Tasks().TaskCount(), 2);
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnX), QStringLiteral("312"));
        QCOMPARE(m_window->Tasks().Image(1), QByteArray("12345     "));
        QCOMPARE(m_window->Tasks().Cell(2, TaskList::kColumnTask), TextTable::Text(141));
        QVERIFY(m_window->State().Termina && m_window->State().Ripeti && m_window->State().SalvaImmagine);
        for (const char* name : kTaskCommands)
            QVERIFY2(Action(name)->isEnabled(), name);
        // Saved again, the file comes back byte for byte.
        QCOMPARE(Save(), MacroBytes("\"312*148*Mouse Click Left*12345     *\"\r\n\"30**Pause**\"\r\n", trailer));
    }

    void appendAddsAfterTheListAndKeepsItsTitle()
    {
        Start();
        Choose("mnuFileApri_Click",
               WriteMacro("first.#cw",
                          MacroBytes("\"1*2*Pause**\"\r\n", "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n")));
        const QByteArray second = "\"3*4*Mouse Click Right**\"\r\n\"5*6*Mouse Click Right**\"\r\n";
        const QByteArray trailer = "250\r\n10\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n";
        Choose("mnuFileAggiungi_Click", WriteMacro("second.#cw", MacroBytes(second, trailer)));
        QCOMPARE(m_files->Requests().back().title, TextTable::Text(139));
        QVERIFY(m_messages.Messages().empty());
        QCOMPARE(Save(), MacroBytes("\"1*2*Pause**\"\r\n" + second, trailer));
        QCOMPARE(m_files->Requests().back().title, TextTable::Text(139)); // Save shows it too
    }

    void emptyListRoundTrips()
    {
        Start();
        const QByteArray saved = Save();
        QCOMPARE(saved.count('\n'), 8);
        m_window->Tasks().AddTask("7", "7", TextTable::Text(114), {}, TaskOrigin::Inserted);
        const QByteArray trailer = "2000\r\n100\r\n#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n";
        QByteArray changed = saved;
        changed.replace("1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n", trailer);
        Choose("mnuFileApri_Click", WriteMacro("empty.#cw", changed));
        QVERIFY(m_window->Tasks().IsEmpty());
        QCOMPARE(m_window->Tasks().Rows(), 2);
        QVERIFY(m_window->State().Ripeti);
        QCOMPARE(Save(), changed);
    }

    void savesImagesOnlyWhenSwitchedOn()
    {
        Start();
        m_window->Tasks().AddTask("1", "2", TextTable::Text(114), "0         1         ", TaskOrigin::Inserted);
        m_window->Tasks().AddTask("3", "4", TextTable::Text(115), "2         ", TaskOrigin::Inserted);
        QVERIFY(Save().contains("\"1*2*Mouse Click Left*0         1         *\"\r\n"));
        m_window->State().SalvaImmagine = false;
        const QList<QByteArray> lines = Save().split('\n');
        QVERIFY(lines[1].endsWith("**\"\r") && lines[2].endsWith("**\"\r"));
    }

    void invalidFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray task = "\"9*9*Mouse Click Middle**\"\r\n";
        const QByteArray trailer = "300\r\n30\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n";
        QTest::newRow("other header") << "\"#Quorvel WorksClickwarden 200424\"\r\n" + task + kFooterLine + trailer;
        QTest::newRow("no footer") << kHeaderLine + task + task;
        QTest::newRow("ends after the footer") << kHeaderLine + task + kFooterLine + "300\r\n30\r\n#TRUE#\r\n";
        QTest::newRow("playback interval 0") << MacroBytes(task, "0\r\n30\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n");
        QTest::newRow("recording interval 1001") << MacroBytes(task, "300\r\n1001\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n");
        QTest::newRow("flag") << MacroBytes(task, "300\r\n30\r\n#TRUE#\r\nyes\r\n#TRUE#\r\n");
        QTest::newRow("two stars") << MacroBytes(task + "\"1*2\"\r\n", trailer);
        QTest::newRow("no closing star") << MacroBytes(task + "\"1*2*Pause*x\"\r\n", trailer);
        QTest::newRow("empty file") << QByteArray();
    }

    void invalidFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        const QString bad = WriteMacro("bad.#cw", bytes);
        // Once on the empty list at start-up, once on a loaded list with non-default settings.
        for (bool loaded : {false, true}) {
            Start();
            if (loaded) {
                const QString good = WriteMacro(
                    "good.#cw", MacroBytes("\"1*2*Pause**\"\r\n", "700\r\n35\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n"));
                Choose("mnuFileApri_Click", good);
            }
            for (const char* command : {"mnuFileApri_Click", "mnuFileAggiungi_Click"}) {
                const Snapshot before = Take();
                m_messages.Clear();
                Choose(command, bad);
                QCOMPARE(m_messages.Messages().size(), std::size_t(1));
                QCOMPARE(m_messages.Messages()[0].icon, MessageBoxes::Icon::None);
                QCOMPARE(m_messages.Messages()[0].text, TextTable::Text(130));
                QVERIFY2(Take() == before, command);
            }
        }
    }

    void unreadableFilesChangeNothing()
    {
        Start();
        Choose(
            "mnuFileApri_Click",
            WriteMacro("good.#cw", MacroBytes("\"1*2*Pause**\"\r\n", "700\r\n35\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n")));
        for (const QString& path : {Path(QStringLiteral("missing.#cw")), m_dir->path()}) {
            const Snapshot before = Take();
            m_messages.Clear();
            Choose("mnuFileApri_Click", path);
            QCOMPARE(m_messages.Messages().size(), std::size_t(1));
            QVERIFY(m_messages.Messages()[0].text.startsWith(TextTable::Text(150) + ' ' + path + '\n'));
            QVERIFY(Take() == before);
        }
        // A cancelled dialog says nothing.
        m_messages.Clear();
        Choose("mnuFileApri_Click", QString());
        QVERIFY(m_messages.Messages().empty());
    }

    void failedSaveSaysSo()
    {
        Start();
        const QString path = Path(QStringLiteral("no folder/x.#cw"));
        Choose("mnuFileSalva_Click", path);
        QCOMPARE(m_messages.Messages().size(), std::size_t(1));
        QVERIFY(m_messages.Messages()[0].text.startsWith(TextTable::Text(151) + ' ' + path + '\n'));
        QVERIFY(!QFile::exists(path));
    }

    void commandLineFileIsLoadedAndPlayed_data()
    {
        QTest::addColumn<bool>("quoted");
        QTest::newRow("bare") << false;
        QTest::newRow("quoted") << true;
    }

    void commandLineFileIsLoadedAndPlayed()
    {
        QFETCH(bool, quoted);
        const QString path = WriteMacro("my macro.#cw", MacroBytes("\"10*20*Mouse Click Left**\"\r\n",
                                                                   "1500\r\n25\r\n#FALSE#\r\n#TRUE#\r\n#FALSE#\r\n"));
        const QStringList parts = path.split(' ');
        Start(quoted ? QStringList{'"' + parts[0], parts[1] + '"'} : parts);
        QVERIFY(m_messages.Messages().empty());
        QCOMPARE(m_window->Tasks().TaskCount(), 1);
        QVERIFY(m_window->State().Ripeti);
        QVERIFY(m_window->State().playing);
    }

    void commandLineProblemsStartNormally_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("invalid") << "bad.#cw" << QByteArray("\x00\xFF binary", 9) << TextTable::Text(130);
        QTest::newRow("missing") << "" << QByteArray() << TextTable::Text(150);
        QTest::newRow("not a macro file name") << "notes.#cw~"
                                               << MacroBytes("\"1*2*Pause**\"\r\n", "1\r\n1\r\n"
                                                                                    "#FALSE#\r\n#FALSE#\r\n"
                                                                                    "#FALSE#\r\n")
                                               << QString();
    }

    void commandLineProblemsStartNormally()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = name.isEmpty() ? Path(QStringLiteral("missing.#cw")) : WriteMacro(name, bytes);
        Start({path});
        QCOMPARE(m_messages.Texts().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY(m_messages.Texts()[0].startsWith(message));
        QVERIFY(!m_window->State().playing);
        QVERIFY(m_window->Tasks().IsEmpty());
        QVERIFY(!Action("mnuComandiPlay")->isEnabled());
        QCOMPARE(m_window->State().SalvaImmagine, true);
    }
};

QTEST_MAIN(TestMainWindowFiles)
#include "TestMainWindowFiles.moc"
