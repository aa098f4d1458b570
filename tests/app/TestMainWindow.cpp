#include "app/MainWindow.h"
#include "app/core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

namespace {
const QString kLeft = TextTable::Text(114);

struct MenuEntry
{
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
};
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<MainWindow> m_window;
    QList<QUrl> m_opened;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QTableView* Grid() { return m_window->findChild<QTableView*>(QStringLiteral("grdComandi")); }

    void AddTasks(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_window->Tasks().CloseDoubleClickWindow();
            m_window->Tasks().AddTask(QString::number(i), "1", kLeft, {});
        }
    }

private slots:
    void init()
    {
        m_messages.Clear();
        m_opened.clear();
        m_window = std::make_unique<MainWindow>(MainWindowServices{&m_messages, nullptr, [this](const QUrl& url) {
                                                                       m_opened << url;
                                                                       return true;
                                                                   }});
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void startsWithCaptionMenusAndEmptyList()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("#Quorvel Works - Clickwarden 2004"));
        const MenuEntry entries[] = {
            {"mnuFileNuovo", "New", QKeySequence(QStringLiteral("Ctrl+N")), true},
            {"mnuFileApri", "Open...", QKeySequence(QStringLiteral("Ctrl+O")), true},
            {"mnuFileAggiungi", "Append...", QKeySequence(QStringLiteral("Ctrl+A")), false},
            {"mnuFileSalva", "Save...", QKeySequence(QStringLiteral("Ctrl+S")), false},
            {"mnuFileEsci", "Exit", QKeySequence(QStringLiteral("Ctrl+Q")), true},
            {"mnuComandiRec", "Record", QKeySequence(QStringLiteral("Ctrl+Shift+F12")), true},
            {"mnuComandiPlay", "Play", QKeySequence(QStringLiteral("Ctrl+Shift+F11")), false},
            {"mnuComandiCanc", "Delete last task added.", QKeySequence(QStringLiteral("Del")), false},
            {"mnuComandiImpostazioni", "Options...", QKeySequence(), true},
            {"mnuComandiPausa", "Insert Pause...", QKeySequence(), true},
            {"mnuGotosite", "Online help", QKeySequence(QStringLiteral("F1")), true},
            {"mnuHelpAbout", "About...", QKeySequence(QStringLiteral("F3")), true},
        };
        for (const MenuEntry& entry : entries) {
            QAction* action = Action(entry.name);
            QVERIFY2(action, entry.name);
            QCOMPARE(action->text(), QString::fromLatin1(entry.caption));
            QCOMPARE(action->shortcut(), entry.shortcut);
            QCOMPARE(action->isEnabled(), entry.enabled);
        }
        QStringList titles;
        for (QAction* menu : m_window->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"File", "Commands", "?"}));

        QTableView* grid = Grid();
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("x"));
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("y"));
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Task"));
        QVERIFY(grid->isColumnHidden(TaskList::kColumnImage));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(m_window->Tasks().IsEmpty());

        AddTasks(3);
        m_window->UpdateCommandState(true);
        const QString shot = QCoreApplication::applicationDirPath() + QStringLiteral("/mainwindow.png");
        QVERIFY(m_window->grab().save(shot));
    }

    void commandStateFollowsTheLastCall()
    {
        const char* taskCommands[] = {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"};
        m_window->UpdateCommandState(true);
        for (const char* name : taskCommands)
            QVERIFY2(Action(name)->isEnabled(), name);
        QVERIFY(Grid()->isEnabled());

        // The state follows the calls, not the list: adding a task changes nothing.
        m_window->UpdateCommandState(false);
        AddTasks(1);
        for (const char* name : taskCommands)
            QVERIFY2(!Action(name)->isEnabled(), name);
        QVERIFY(!Grid()->isEnabled());
        for (const char* name : {"mnuFileNuovo", "mnuFileApri", "mnuFileEsci", "mnuComandiRec",
                                 "mnuComandiImpostazioni", "mnuComandiPausa", "mnuGotosite", "mnuHelpAbout"})
            QVERIFY2(Action(name)->isEnabled(), name);
    }

    void newAndDeleteUpdateTheCommands()
    {
        AddTasks(2);
        m_window->UpdateCommandState(true);
        Action("mnuComandiCanc")->trigger();
        QCOMPARE(m_window->Tasks().Rows(), 2);
        QVERIFY(Action("mnuComandiPlay")->isEnabled());
        Action("mnuComandiCanc")->trigger();
        QVERIFY(m_window->Tasks().IsEmpty());
        QVERIFY(!Action("mnuComandiPlay")->isEnabled());

        AddTasks(5);
        m_window->UpdateCommandState(true);
        Action("mnuFileNuovo")->trigger();
        QCOMPARE(m_window->Tasks().Rows(), 2);
        QVERIFY(m_window->Tasks().IsEmpty());
        QVERIFY(!Action("mnuFileSalva")->isEnabled());
    }

    void deleteKeyWorksInTheGrid()
    {
        AddTasks(3);
        m_window->UpdateCommandState(true);
        m_window->activateWindow();
        Grid()->setFocus();
        QTRY_VERIFY(Grid()->hasFocus());
        QTest::keyClick(Grid(), Qt::Key_Delete);
        QCOMPARE(m_window->Tasks().Rows(), 3);
    }

    void gridFollowsTheWindowSize()
    {
        m_window->resize(600, 500);
        QTRY_COMPARE(Grid()->width(), m_window->frameGeometry().width() - 10);
        QTRY_COMPARE(Grid()->height(), m_window->frameGeometry().height() - 48);
        // Too small a window never gives the grid a negative size.
        m_window->resize(5, 5);
        QTRY_VERIFY(Grid()->width() >= 0 && Grid()->height() >= 0);
    }

    void restoringWhileRecordingRemindsAndMinimises()
    {
        m_window->State().recording = true;
        m_window->showMinimized();
        QTRY_VERIFY(m_window->isMinimized());
        m_window->showNormal();
        QTRY_COMPARE(m_messages.Texts(), QStringList{TextTable::Text(123)});
        QCOMPARE(m_messages.Messages().front().icon, MessageBoxes::Icon::Exclamation);
        QTRY_VERIFY(m_window->isMinimized());

        m_messages.Clear();
        m_window->State().recording = false;
        m_window->State().playing = true;
        m_window->showNormal();
        QTRY_COMPARE(m_messages.Texts(), QStringList{TextTable::Text(135)});
        QTRY_VERIFY(m_window->isMinimized());

        // Once neither runs, the window stays restored.
        m_messages.Clear();
        m_window->State().playing = false;
        m_window->showNormal();
        QTRY_VERIFY(!m_window->isMinimized());
        QTest::qWait(100);
        QVERIFY(m_messages.Texts().isEmpty());
    }

    void onlineHelpOpensTheShippedPage()
    {
        Action("mnuGotosite")->trigger();
        QCOMPARE(m_opened.size(), 1);
        QVERIFY(m_opened.front().isLocalFile());
        QVERIFY(m_opened.front().toLocalFile().endsWith(QStringLiteral("help/index.html")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
