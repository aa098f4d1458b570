#include "ImageTexts.h"
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/TaskPreview.h"
#include "core/TextTable.h"
#include "options/OptionsDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
const QString kLeft = TextTable::Text(114);
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

struct MenuEntry
{
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
};
} // namespace

// Form1 as the user meets it: menus, grid, reminders, and its side of the Options dialog, the
// task preview and the About box.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<MainWindow> m_window;
    QList<QUrl> m_opened;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QTableView* Grid() { return m_window->findChild<QTableView*>(QStringLiteral("grdComandi")); }
    TaskPreview* Picture() { return m_window->findChild<TaskPreview*>(QStringLiteral("Picture1")); }
    QImage Shown() { return Picture()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    template <typename T> static T* Child(QWidget* parent, const char* name)
    {
        return parent->findChild<T*>(QString::fromLatin1(name));
    }

    OptionsDialog* OpenOptions()
    {
        // A dialog closed before is deleted once control returns to the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Action("mnuComandiImpostazioni")->trigger();
        auto* dialog = m_window->findChild<OptionsDialog*>(QStringLiteral("frmDialog"));
        return dialog && QTest::qWaitForWindowExposed(dialog) ? dialog : nullptr;
    }

    void ClickRow(int row)
    {
        const QRect cell = Grid()->visualRect(m_window->Tasks().index(row - 1, TaskList::kColumnTask));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // The whole 51 x 51 block is the image's colour, but the 21 pixels of the cross from (20, 20)
    // to (30, 30) and from (30, 20) to (20, 30).
    void VerifyBlock(QRgb colour)
    {
        const QImage shown = Shown();
        for (int x = 0; x < DescriptiveImage::kSide; ++x) {
            for (int y = 0; y < DescriptiveImage::kSide; ++y) {
                const bool onCross = x >= 20 && x <= 30 && (x == y || x + y == 50);
                if (shown.pixel(x, y) != (onCross ? kRed : colour))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
        }
    }

    void AddTasks(int count) { m_window->Tasks().AddTasks(std::vector<TaskRow>(count, TaskRow{"1", "1", kLeft, {}})); }

private slots:
    void init()
    {
        m_messages.Clear();
        m_opened.clear();
        MainWindowServices services;
        services.messages = &m_messages;
        services.openUrl = [this](const QUrl& url) {
            m_opened << url;
            return true;
        };
        m_window = std::make_unique<MainWindow>(services);
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void startsWithCaptionMenusAndCommandState()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("#Quorvel Works - Clickwarden 2004"));
        QStringList titles;
        for (QAction* menu : m_window->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"File", "Commands", "?"}));
        QCOMPARE(Grid()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Task"));
        QVERIFY(Grid()->isColumnHidden(TaskList::kColumnImage));
        QCOMPARE(Grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(Grid()->selectionBehavior(), QAbstractItemView::SelectRows);

        // The entries built disabled are the ones UpdateCommandState switches with the grid.
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
        // As built first, then as UpdateCommandState(true) and (false) set them.
        for (int pass = 0; pass < 3; ++pass) {
            const bool flag = pass == 1;
            if (pass > 0) {
                m_window->UpdateCommandState(flag);
                QCOMPARE(Grid()->isEnabled(), flag);
            }
            for (const MenuEntry& entry : entries) {
                QAction* action = Action(entry.name);
                QVERIFY2(action, entry.name);
                QCOMPARE(action->text(), QString::fromLatin1(entry.caption));
                QCOMPARE(action->shortcut(), entry.shortcut);
                QVERIFY2(action->isEnabled() == (flag || entry.enabled), entry.name);
            }
        }

        AddTasks(3);
        m_window->UpdateCommandState(true);
        const QString shot = QCoreApplication::applicationDirPath() + QStringLiteral("/mainwindow.png");
        QVERIFY(m_window->grab().save(shot));
    }

    void deleteNewAndTheDelKey()
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
        QVERIFY(m_window->Tasks().IsEmpty());
        QVERIFY(!Action("mnuFileSalva")->isEnabled());

        // Del works while the grid has the focus.
        AddTasks(3);
        m_window->UpdateCommandState(true);
        m_window->activateWindow();
        Grid()->setFocus();
        QTRY_VERIFY(Grid()->hasFocus());
        QTest::keyClick(Grid(), Qt::Key_Delete);
        QCOMPARE(m_window->Tasks().Rows(), 3);

        Action("mnuGotosite")->trigger();
        QCOMPARE(m_opened, QList<QUrl>{QUrl(TextTable::Text(205))});
    }

    void gridSizeFollowsTheWindowAndIsNeverNegative()
    {
        m_window->resize(600, 500);
        QTRY_COMPARE(Grid()->width(), m_window->frameGeometry().width() - 10);
        QTRY_COMPARE(Grid()->height(), m_window->frameGeometry().height() - 48);
        m_window->resize(5, 5);
        QTRY_VERIFY(Grid()->width() >= 0 && Grid()->height() >= 0);
    }

    void restoringWhileRecordingOrPlayingRemindsAndMinimises()
    {
        m_window->showMinimized();
        QTRY_VERIFY(m_window->isMinimized());
        // Recording, then playing, then neither: only the last restore sticks.
        for (const int reminder : {123, 135, 0}) {
            m_messages.Clear();
            m_window->State().recording = reminder == 123;
            m_window->State().playing = reminder == 135;
            m_window->showNormal();
            if (reminder == 0) {
                QTRY_VERIFY(!m_window->isMinimized());
                QTest::qWait(100);
                QVERIFY(m_messages.Texts().isEmpty());
            } else {
                QTRY_VERIFY(!m_messages.Texts().isEmpty());
                // Under load the window manager may bounce a restore, so the reminder may come again.
                QCOMPARE(m_messages.Texts().count(TextTable::Text(reminder)), m_messages.Texts().size());
                QCOMPARE(m_messages.Messages().front().icon, MessageBoxes::Icon::Exclamation);
                QTRY_VERIFY(m_window->isMinimized());
            }
        }
    }

    void optionsApplyOnlyOnOk_data()
    {
        QTest::addColumn<QString>("closeBy");
        for (const char* closeBy : {"OK", "Cancel", "close box", "Escape", "refused, then Cancel"})
            QTest::newRow(closeBy) << QString::fromLatin1(closeBy);
    }

    void optionsApplyOnlyOnOk()
    {
        QFETCH(QString, closeBy);
        OptionsDialog* dialog = OpenOptions();
        QVERIFY(dialog);
        QVERIFY(!m_window->isEnabled());
        // The recording interval shows as it is (20 at start-up), not as a fixed 50.
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), QStringLiteral("1000"));
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QStringLiteral("20"));
        Child<QComboBox>(dialog, "cmbSpeed")->setEditText(QStringLiteral("1234"));
        Child<QComboBox>(dialog, "cmbSens")->setEditText(QStringLiteral("40"));
        Child<QCheckBox>(dialog, "chkTermina")->setChecked(true);
        Child<QCheckBox>(dialog, "ChkImaging")->setChecked(false);
        if (closeBy.startsWith(QLatin1String("refused"))) {
            Child<QComboBox>(dialog, "cmbSens")->setEditText(QStringLiteral("0"));
            QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
            QCOMPARE(m_messages.Texts(), QStringList{TextTable::Text(310)});
            QVERIFY(dialog->isVisible());
            QVERIFY(!m_window->isEnabled());
        }
        const bool applied = closeBy == QLatin1String("OK");
        if (applied)
            QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        else if (closeBy == QLatin1String("close box"))
            dialog->close();
        else if (closeBy == QLatin1String("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_window->State().options.Termina, applied);
        QCOMPARE(m_window->State().options.SalvaImmagine, !applied);

        // The timers run at the intervals the dialog shows on its next opening.
        dialog = OpenOptions();
        QVERIFY(dialog);
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), QString::fromLatin1(applied ? "1234" : "1000"));
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QString::fromLatin1(applied ? "40" : "20"));
        dialog->close();
    }

    void pickedRowsArePreviewedButPlaybackMovesAreNot()
    {
        TaskList& tasks = m_window->Tasks();
        tasks.AddTasks({{"10", "10", kLeft, UniformImageText(0xFFFFFF)},
                        {"20", "20", kLeft, UniformImageText(0)},
                        {"30", "30", kLeft, "damaged"},
                        {"5", "", TextTable::Text(141), {}}});
        m_window->UpdateCommandState(true);
        QVERIFY(Picture()->Image().isNull());
        ClickRow(1);
        VerifyBlock(kWhite);
        ClickRow(2);
        VerifyBlock(kBlack);
        // UpdateCommandState clears it; a click on the row that is already current draws it again.
        m_window->UpdateCommandState(true);
        QVERIFY(Shown().pixel(25, 25) != kRed);
        ClickRow(2);
        QCOMPARE(Shown().pixel(0, 0), kBlack);

        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key_Up);
        QCOMPARE(Shown().pixel(0, 0), kWhite);
        QTest::keyClick(Grid(), Qt::Key_Down);
        QTest::keyClick(Grid(), Qt::Key_Down);
        VerifyBlock(kBlack); // what cannot be read is black
        QTest::keyClick(Grid(), Qt::Key_Down);
        QCOMPARE(tasks.CurrentRow(), 4);
        QVERIFY(Picture()->Image().isNull()); // a pause has no image

        // Playback and loading move the current row without drawing.
        tasks.SetCurrentRow(1);
        QCoreApplication::processEvents();
        QCOMPARE(Grid()->currentIndex().row(), 0);
        tasks.AddTask("30", "30", kLeft, UniformImageText(0xFF), TaskOrigin::Inserted);
        QVERIFY(Picture()->Image().isNull());

        ClickRow(1);
        Action("mnuFileNuovo")->trigger();
        QVERIFY(Picture()->Image().isNull());
    }

    void aboutIsOneBoxAndLeavesTheMainWindowEnabled()
    {
        Action("mnuHelpAbout")->trigger();
        auto* about = m_window->findChild<AboutBox*>(QStringLiteral("frmAbout"));
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QVERIFY(m_window->isEnabled());
        Action("mnuHelpAbout")->trigger();
        QCOMPARE(m_window->findChildren<AboutBox*>().size(), 1);
        QTest::mouseClick(Child<QPushButton>(about, "GoToSite"), Qt::LeftButton);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(TextTable::Text(205))});
        QTest::mouseClick(Child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(m_window->findChildren<AboutBox*>().isEmpty());
        Action("mnuHelpAbout")->trigger();
        QCOMPARE(m_window->findChildren<AboutBox*>().size(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
