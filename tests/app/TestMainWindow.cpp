#include "app/AboutBox.h"
#include "app/CommandState.h"
#include "app/MainWindow.h"
#include "app/TaskPreview.h"
#include "core/TextTable.h"
#include "options/OptionsDialog.h"
#include "player/PauseDialog.h"
#include "support/FakeDesktop.h"
#include "support/ImageText.h"
#include "support/RecordingMessageBoxes.h"
#include "xdriver/XDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
using CommandState::Control;
const QString kLeft = TextTable::Text(114);
const QString kPause = TextTable::Text(141);
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr auto kInformation = MessageBoxes::Icon::Information;
using Shown = std::vector<RecordingMessageBoxes::Shown>;

// "<text> <count> .", as the ends of a recording and of a stopped playback say it.
QString Counted(int textId, int count)
{
    return TextTable::Text(textId) + QStringLiteral(" %1 ").arg(count) + TextTable::Text(149);
}
} // namespace

// What only the main window does: the command-state rule, the stop-key reminders, its side of
// the dialogs, the preview and the messages at the end of a recording or a playback. The
// subsystems have tests of their own; the wiring as a whole is the user journey's.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<MainWindow> m_window;
    QList<QUrl> m_opened;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QTableView* Grid() { return m_window->findChild<QTableView*>(); }
    const QImage& Previewed() { return m_window->findChild<TaskPreview*>()->Image(); }
    // Runs a handler of the window the way its timer does.
    void Run(const char* handler) { QMetaObject::invokeMethod(m_window.get(), handler, Qt::DirectConnection); }
    void CloseBy(QDialog* dialog, const QString& closeBy)
    {
        if (closeBy == QLatin1String("close box"))
            dialog->close();
        else
            dialog->findChild<QPushButton*>(closeBy)->click();
    }
    void VerifyTaskCommands(bool enabled)
    {
        for (const char* name : {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"})
            QVERIFY2(Action(name)->isEnabled() == enabled, name);
        QCOMPARE(Grid()->isEnabled(), enabled);
    }
    void ClickRow(int row)
    {
        const QRect cell = Grid()->visualRect(m_window->Tasks().index(row - 1, TaskList::kColumnTask));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }

private slots:
    void init()
    {
        m_messages.Clear();
        m_opened.clear();
        m_desktop = std::make_unique<FakeDesktop>();
        m_window =
            std::make_unique<MainWindow>(MainWindowServices{&m_messages, m_desktop.get(), [this](const QUrl& url) {
                                                                m_opened << url;
                                                                return true;
                                                            }});
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void commandStateRule()
    {
        const Control followTheFlag[] = {Control::Append, Control::Save, Control::Play, Control::Delete,
                                         Control::TaskGrid};
        for (int value = 0; value <= int(Control::TaskGrid); ++value) {
            const bool follows = std::count(std::begin(followTheFlag), std::end(followTheFlag), Control(value)) > 0;
            QVERIFY(CommandState::IsEnabled(Control(value), true));
            QVERIFY2(CommandState::IsEnabled(Control(value), false) == !follows, qPrintable(QString::number(value)));
        }
    }

    // The task commands are off as built and follow the last update: a pause enables them; Del
    // (while the grid has the focus) down to the empty list, and New, disable them.
    void taskCommandsFollowTheLastUpdate()
    {
        VerifyTaskCommands(false);
        m_window->InserisciPausa(5);
        VerifyTaskCommands(true);
        m_window->activateWindow();
        Grid()->setFocus();
        QTRY_VERIFY(Grid()->hasFocus());
        QTest::keyClick(Grid(), Qt::Key_Delete);
        QVERIFY(m_window->Tasks().IsEmpty());
        VerifyTaskCommands(false);
        m_window->Tasks().AddTasks({{"1", "1", kLeft, {}}, {"2", "2", kLeft, {}}});
        m_window->UpdateCommandState(true);
        Action("mnuComandiCanc")->trigger();
        VerifyTaskCommands(true);
        Action("mnuFileNuovo")->trigger();
        QVERIFY(m_window->Tasks().IsEmpty());
        VerifyTaskCommands(false);
        Action("mnuGotosite")->trigger();
        QCOMPARE(m_opened, QList<QUrl>{QUrl(TextTable::Text(205))});
    }

    void restoringWhileRecordingOrPlayingRemindsAndMinimises()
    {
        m_window->showMinimized();
        // Recording, then playing, then neither: only the last restore sticks.
        for (const int reminder : {123, 135, 0}) {
            // Down for real (the window manager has unmapped it), then restored as the user does it,
            // through the window manager: the program's own showNormal is no user's restore.
            QTRY_VERIFY(!m_window->windowHandle()->isExposed());
            m_messages.Clear();
            m_window->State().recording = reminder == 123;
            m_window->State().playing = reminder == 135;
            XDriver().Activate(m_window->winId());
            if (reminder == 0) {
                QTRY_VERIFY(!m_window->isMinimized());
                QCoreApplication::sendPostedEvents(); // a reminder would be queued by now
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

    void gridFollowsTheWindowAndIsNeverNegative()
    {
        const auto margin = [this] {
            return m_window->frameGeometry().size() - Grid()->size();
        };
        m_window->resize(600, 500);
        QTRY_COMPARE(m_window->size(), QSize(600, 500));
        const QSize first = margin();
        m_window->resize(700, 650);
        QTRY_COMPARE(m_window->size(), QSize(700, 650));
        QTRY_COMPARE(margin(), first);
        m_window->resize(5, 5);
        QTRY_VERIFY(Grid()->width() >= 0 && Grid()->height() >= 0);
    }

    void optionsApplyOnlyOnOk_data()
    {
        QTest::addColumn<QString>("closeBy");
        for (const char* closeBy : {"OKButton", "CancelButton", "close box"})
            QTest::newRow(closeBy) << QString::fromLatin1(closeBy);
    }

    // The dialog opens on the values in force, with the main window disabled until it closes.
    void optionsApplyOnlyOnOk()
    {
        QFETCH(QString, closeBy);
        const OptionValues before{1234, 35, false, true, false};
        m_window->ApplyOptions(before);
        Action("mnuComandiImpostazioni")->trigger();
        auto* dialog = m_window->findChild<OptionsDialog*>();
        QVERIFY(dialog && !m_window->isEnabled());
        QCOMPARE(dialog->Values(), before);
        dialog->findChild<QComboBox*>(QStringLiteral("cmbSens"))->setEditText(QStringLiteral("40"));
        dialog->findChild<QCheckBox*>(QStringLiteral("chkTermina"))->setChecked(true);
        CloseBy(dialog, closeBy);
        QVERIFY(m_window->isEnabled());
        const OptionValues after = closeBy == "OKButton" ? OptionValues{1234, 40, true, true, false} : before;
        QCOMPARE(m_window->CurrentOptions(), after);
        QCOMPARE(m_window->findChild<QTimer*>(QStringLiteral("tmrPlay"))->interval(), after.playIntervalMs);
        QCOMPARE(m_window->findChild<QTimer*>(QStringLiteral("tmrRec"))->interval(), after.recIntervalMs);
    }

    void insertPause_data()
    {
        QTest::addColumn<QString>("closeBy");
        QTest::addColumn<QStringList>("picked"); // hours, minutes, seconds
        QTest::addColumn<QString>("added");      // the length of the pause added, if any
        QTest::newRow("0:0:0 adds nothing") << "OKButton" << QStringList{"0", "0", "0"} << "";
        QTest::newRow("6:59:59") << "OKButton" << QStringList{"6", "59", "59"} << "25199";
        QTest::newRow("Cancel") << "CancelButton" << QStringList{"1", "2", "3"} << "";
        QTest::newRow("close box") << "close box" << QStringList{"1", "2", "3"} << "";
    }

    // The main window is disabled until the dialog closes; a pause it adds enables the task commands.
    void insertPause()
    {
        QFETCH(QString, closeBy);
        QFETCH(QStringList, picked);
        QFETCH(QString, added);
        Action("mnuComandiPausa")->trigger();
        QPointer<PauseDialog> dialog = m_window->findChild<PauseDialog*>();
        QVERIFY(dialog && !m_window->isEnabled());
        const QList<QComboBox*> lists = dialog->findChildren<QComboBox*>();
        for (const int index : {PauseDialog::kSeconds, PauseDialog::kMinutes, PauseDialog::kHours})
            lists[index]->setCurrentText(picked[2 - index]);
        CloseBy(dialog, closeBy);
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnX), added);
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnTask), added.isEmpty() ? QString() : kPause);
        VerifyTaskCommands(!added.isEmpty());
    }

    void pickedRowsArePreviewedButPlaybackMovesAreNot()
    {
        TaskList& tasks = m_window->Tasks();
        tasks.AddTasks(
            {{"1", "1", kLeft, ImageText(0xFFFFFF)}, {"2", "2", kLeft, ImageText(0)}, {"5", "", kPause, {}}});
        m_window->UpdateCommandState(true);
        // The block in the top left corner, with a red cross of 11 pixels a side over its centre.
        ClickRow(1);
        const QImage shown = m_window->findChild<TaskPreview*>()->grab().toImage();
        for (const QPoint red : {QPoint(20, 20), QPoint(30, 30), QPoint(30, 20), QPoint(20, 30), QPoint(25, 25)})
            QCOMPARE(shown.pixel(red), 0xFFFF0000);
        for (const QPoint white :
             {QPoint(0, 0), QPoint(19, 19), QPoint(31, 31), QPoint(31, 19), QPoint(19, 31), QPoint(25, 24)})
            QCOMPARE(shown.pixel(white), kWhite);
        ClickRow(2);
        QCOMPARE(Previewed().pixel(0, 0), kBlack);
        // UpdateCommandState clears it; a click on the row that is already current draws it again.
        m_window->UpdateCommandState(true);
        QVERIFY(Previewed().isNull());
        ClickRow(2);
        QCOMPARE(Previewed().pixel(0, 0), kBlack);
        // Moves by key preview too; a pause has no image.
        QTest::keyClick(Grid(), Qt::Key_Up);
        QCOMPARE(Previewed().pixel(0, 0), kWhite);
        QTest::keyClick(Grid(), Qt::Key_Down);
        QTest::keyClick(Grid(), Qt::Key_Down);
        QCOMPARE(tasks.CurrentRow(), 3);
        QVERIFY(Previewed().isNull());
        // Playback moves the grid's current row without drawing.
        tasks.SetCurrentRow(1);
        QCOMPARE(Grid()->currentIndex().row(), 0);
        QVERIFY(Previewed().isNull());
    }

    void aboutIsOneBoxAndLeavesTheMainWindowEnabled()
    {
        Action("mnuHelpAbout")->trigger();
        Action("mnuHelpAbout")->trigger();
        QCOMPARE(m_window->findChildren<AboutBox*>().size(), 1);
        QVERIFY(m_window->isEnabled());
        m_window->findChild<AboutBox*>()->close();
        QTRY_VERIFY(m_window->findChildren<AboutBox*>().isEmpty());
        Action("mnuHelpAbout")->trigger();
        QCOMPARE(m_window->findChildren<AboutBox*>().size(), 1);
    }

    void recordingEndSetsTheCommands_data()
    {
        QTest::addColumn<bool>("drag");
        QTest::newRow("a drag") << true;
        QTest::newRow("nothing") << false;
    }

    // The message counts what was captured; the commands follow it, not what they showed before.
    void recordingEndSetsTheCommands()
    {
        QFETCH(bool, drag);
        m_window->UpdateCommandState(!drag);
        Action("mnuComandiRec")->trigger();
        QTRY_VERIFY(m_window->isMinimized());
        m_desktop->HoldFor(VirtualKey::kLeftButton, drag ? 3 : 0, 45, 50);
        Run("tmrRec_Timer");
        m_desktop->HoldShortcut(VirtualKey::kF12, 4);
        Run("tmrRec_Timer");
        QCOMPARE(m_messages.Messages(), (drag ? Shown{{kInformation, Counted(129, 2)}} : Shown{}));
        VerifyTaskCommands(drag);
        QTRY_VERIFY(!m_window->isMinimized());
    }

    void playbackEndSaysSo_data()
    {
        QTest::addColumn<bool>("stopKeys");
        QTest::newRow("end of the list") << false;
        QTest::newRow("stop keys on the recording poll") << true;
    }

    void playbackEndSaysSo()
    {
        QFETCH(bool, stopKeys);
        // Timers too slow to tick during the test: it runs their handlers itself.
        m_window->ApplyOptions({OptionValues::kMaxPlayIntervalMs, OptionValues::kMaxRecIntervalMs, false, false, true});
        m_window->Tasks().AddTasks({{"1", "1", kLeft, {}}, {"2", "2", kLeft, {}}});
        m_window->UpdateCommandState(true);
        Action("mnuComandiPlay")->trigger();
        QTRY_VERIFY(m_window->isMinimized());
        Run("tmrRec_Timer"); // the stop keys are seen up first
        Run("tmrPlay_Timer");
        m_desktop->HoldShortcut(VirtualKey::kF11, stopKeys ? 4 : 0);
        Run(stopKeys ? "tmrRec_Timer" : "tmrPlay_Timer");
        QCOMPARE(m_messages.Messages(), (Shown{{kInformation, stopKeys ? Counted(136, 1) : TextTable::Text(121)}}));
        QTRY_VERIFY(!m_window->isMinimized());
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
