// The program's windows on the scripted desktop: what only the main window does (the command-state
// rule, the stop-key reminder, its side of the dialogs, the preview, the messages at the end of a
// recording or a playback), the Options dialog, the splash and what start-up does in each session.
// The subsystems have tests of their own; the wiring as a whole is the user journey's.
#include "app/DesktopStartup.h"
#include "app/MainWindow.h"
#include "app/Notifier.h"
#include "app/PauseDialog.h"
#include "app/PointPicker.h"
#include "app/SplashWindow.h"
#include "core/KeySymbols.h"
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "options/OptionsDialog.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "support/FakeFileChooser.h"
#include "support/ImageText.h"
#include "support/RecordingMessageBoxes.h"
#include "xdriver/XDriver.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

namespace {
const QString kLeft = TextTable::Text(TextId::ClickLeft);
const QString kPause = TextTable::Text(TextId::Pause);

struct RecordingNotifier : Notifier
{
    QStringList texts;
    void Notify(const QString& text) override { texts << text; }
};
} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<MainWindow> m_window;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    // By the button of this name, or else by the close box.
    void CloseBy(QDialog* dialog, const QString& closeBy)
    {
        if (auto* button = dialog->findChild<QPushButton*>(closeBy))
            return button->click();
        dialog->close();
    }
    // Play, Delete, Save and Append and the grid follow the last update; no other command is ever off.
    void VerifyTaskCommands(bool on)
    {
        const QStringList taskCommands{"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"};
        for (const QAction* action : m_window->findChildren<QAction*>(QRegularExpression(QStringLiteral("^mnu"))))
            QVERIFY2(action->isEnabled() == (on || !taskCommands.contains(action->objectName())),
                     qPrintable(action->objectName()));
        QCOMPARE(m_window->findChild<QWidget*>(QStringLiteral("grdComandi"))->isEnabled(), on);
    }

private slots:
    void init()
    {
        // The old window goes before its desktop: its player lets go of the buttons through it.
        m_window.reset();
        m_messages.Clear();
        m_desktop = std::make_unique<FakeDesktop>();
        m_window = std::make_unique<MainWindow>(MainWindowServices{&m_messages, m_desktop.get(), {}});
        new QAbstractItemModelTester(&m_window->Tasks(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     m_window.get());
        m_window->Start();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    // F1 where no browser opens the help page says where the page is.
    void helpWithoutABrowserSaysWhereItIs()
    {
        QList<QUrl> asked;
        m_window =
            std::make_unique<MainWindow>(MainWindowServices{&m_messages, m_desktop.get(), [&asked](const QUrl& url) {
                                                                asked << url;
                                                                return false;
                                                            }});
        Action("mnuGotosite")->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(m_messages.Texts(),
                 QStringList{TextTable::Text(TextId::HelpPageNotOpened).arg(asked[0].toLocalFile())});
        QVERIFY(m_messages.Texts()[0].contains(QStringLiteral("/help/index.html")));
    }

    // Adding tasks enables the task commands; deleting down to the empty list, and New, disable them.
    void taskCommandsFollowTheLastUpdate()
    {
        VerifyTaskCommands(false);
        m_window->AppendPause(5);
        m_window->Tasks().AddTasks({{"1", "1", kLeft, {}}});
        VerifyTaskCommands(true);
        Action("mnuComandiCanc")->trigger();
        QCOMPARE(m_window->Tasks().TaskCount(), 1);
        VerifyTaskCommands(true);
        Action("mnuComandiCanc")->trigger();
        QVERIFY(m_window->Tasks().IsEmpty());
        VerifyTaskCommands(false);
        m_window->AppendPause(5);
        Action("mnuFileNuovo")->trigger();
        QVERIFY(m_window->Tasks().IsEmpty());
        VerifyTaskCommands(false);
    }

    // The preview has its place beside the grid while the list holds an image, and gives it to the
    // grid while none does; going from row to row never changes the grid's width.
    void previewTakesItsPlaceOnlyWhileImagesAre()
    {
        TaskList& tasks = m_window->Tasks();
        auto* grid = m_window->findChild<QTableView*>(QStringLiteral("grdComandi"));
        const auto* preview = m_window->findChild<QWidget*>(QStringLiteral("Picture1"));
        tasks.AddTasks({{"1", "1", kLeft, {}}, {"2", "2", kLeft, {}}});
        m_window->UpdateCommandState(true);
        QTest::qWait(0);
        QVERIFY(preview->isHidden() && grid->geometry().right() > preview->geometry().left());
        const int wide = grid->width();
        tasks.AddTasks({{"3", "3", kLeft, ImageText([](int x, int y) { return quint32(x * 5 + y * 0x500); })}});
        QTRY_VERIFY(!preview->isHidden());
        QVERIFY(grid->geometry().right() < preview->geometry().left());
        const int narrow = grid->width();
        grid->setFocus();
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Home}) {
            QTest::keyClick(grid, key);
            QCOMPARE(grid->width(), narrow);
        }
        tasks.DeleteLastTask();
        QTRY_VERIFY(preview->isHidden());
        QCOMPARE(grid->width(), wide);
    }

    // A cell changed in place is checked first: a point off the screen is refused with the reason and
    // changes nothing. Picking on the screen sets the row's point and image from the next click,
    // while the window stays down; each change is one step to undo.
    void cellsAndPickedPointsChangeTheRow()
    {
        TaskList& tasks = m_window->Tasks();
        tasks.AddTasks({{"1", "1", kLeft, {}}});
        m_window->UpdateCommandState(true);
        auto* grid = m_window->findChild<QTableView*>(QStringLiteral("grdComandi"));
        const QModelIndex x = tasks.index(0, TaskList::kColumnX);
        for (const char* typed : {"5000", "12"}) {
            grid->edit(x);
            auto* editor = grid->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->setText(QString::fromLatin1(typed));
            grid->itemDelegate()->setModelData(editor, &tasks, x);
            grid->itemDelegate()->destroyEditor(editor, x);
        }
        QTRY_COMPARE(m_messages.Texts(), QStringList{TextTable::Text(TextId::PointNotOnScreen).arg(1919).arg(1079)});
        QCOMPARE(tasks.Cell(1, TaskList::kColumnX), "12");

        m_desktop->SetFollowable(true);
        m_desktop->SetPixels([](int px, int py) { return quint32(px + py); });
        Action("editPickPoint")->trigger();
        QTRY_VERIFY(m_window->isMinimized());
        m_desktop->QueueButtonEvent({MouseButton::Left, true, 30, 40});
        m_desktop->QueueButtonEvent({MouseButton::Left, false, 31, 40});
        m_window->RunOwner()->ThePicker().Tick();
        QCOMPARE(tasks.Row(1).x + ',' + tasks.Row(1).y, "30,40");
        QCOMPARE(tasks.Image(1).left(10), "20        "); // (5, 15) at the block's top left
        QVERIFY(!m_window->isMinimized());
        for (const char* x : {"12", "1"}) {
            Action("editUndo")->trigger();
            QCOMPARE(tasks.Cell(1, TaskList::kColumnX), x);
        }
    }

    // The close box asks before unsaved work is lost, as Exit does; Cancel keeps the window.
    void closeBoxAsksAboutUnsavedWork()
    {
        m_window->AppendPause(5);
        m_messages.QueueAnswer(MessageBoxes::Answer::Cancel);
        XDriver user;
        QVERIFY(user.Focus(m_window->winId()));
        user.Tap(QStringLiteral("Alt_L+F4"));
        QTRY_COMPARE(m_messages.Questions(), QStringList{TextTable::Text(TextId::SaveChangesQuestion)});
        QVERIFY(m_window->isVisible());
    }

    void restoringWhilePlayingRemindsAndMinimises()
    {
        m_window->ApplyOptions({OptionValues::kMaxPlayIntervalMs, OptionValues::kMaxRecIntervalMs});
        m_window->AppendPause(5);
        // Playing, then not: only the last restore sticks.
        for (const bool playing : {true, false}) {
            if (playing)
                m_window->RunOwner()->Play(); // it minimises the window
            else
                m_window->RunOwner()->Stop(), m_window->showMinimized();
            // Down for real (the window manager has unmapped it), then restored as the user does it,
            // through the window manager: the program's own showNormal is no user's restore.
            QTRY_VERIFY(!m_window->windowHandle()->isExposed());
            m_messages.Clear();
            XDriver().Activate(m_window->winId());
            if (playing) {
                QTRY_VERIFY(!m_messages.Texts().isEmpty());
                // Under load the window manager may bounce a restore, so the reminder may come again.
                QCOMPARE(m_messages.Texts().count(TextTable::Text(TextId::PlayingReminder)), m_messages.Texts().size());
                QTRY_VERIFY(m_window->isMinimized());
            } else {
                QTRY_VERIFY(!m_window->isMinimized());
                QCoreApplication::sendPostedEvents(); // a reminder would be queued by now
                QVERIFY(m_messages.Texts().isEmpty());
            }
        }
    }

    void dialogsApplyOnlyOnOk_data()
    {
        QTest::addColumn<QString>("closeBy");
        for (const char* closeBy : {"OKButton", "CancelButton", "close box"})
            QTest::newRow(closeBy) << QString::fromLatin1(closeBy);
    }

    // Options and Insert Pause leave the main window disabled until they close, however they close.
    // Only OK applies what they show: the options in force, with the timers; a pause of 6:59:59.
    void dialogsApplyOnlyOnOk()
    {
        QFETCH(QString, closeBy);
        const bool ok = closeBy == QLatin1String("OKButton");
        const OptionValues before{1234, 35, false, true, false};
        m_window->ApplyOptions(before);
        Action("mnuComandiImpostazioni")->trigger();
        auto* options = m_window->findChild<OptionsDialog*>();
        QVERIFY(options && !m_window->isEnabled());
        QCOMPARE(options->Values(), before);
        options->findChild<QComboBox*>(QStringLiteral("cmbSens"))->setEditText(QStringLiteral("40"));
        options->findChild<QCheckBox*>(QStringLiteral("chkTermina"))->setChecked(true);
        QVERIFY(m_window->State().keyboard.record);
        options->findChild<QCheckBox*>(QStringLiteral("chkKeyboard"))->setChecked(false);
        CloseBy(options, closeBy);
        QCOMPARE(m_window->State().keyboard.record, !ok);
        const OptionValues after = ok ? OptionValues{1234, 40, true, true, false} : before;
        QCOMPARE(m_window->CurrentOptions(), after);
        QCOMPARE(m_window->RunOwner()->findChild<QTimer*>(QStringLiteral("tmrPlay"))->interval(), after.playIntervalMs);
        QCOMPARE(m_window->RunOwner()->findChild<QTimer*>(QStringLiteral("tmrRec"))->interval(), after.recIntervalMs);
        QVERIFY(m_window->isEnabled());

        Action("mnuComandiPausa")->trigger();
        QPointer<PauseDialog> pause = m_window->findChild<PauseDialog*>();
        QVERIFY(pause && !m_window->isEnabled());
        const QList<QComboBox*> lists = pause->findChildren<QComboBox*>();
        for (const int index : {PauseDialog::kSeconds, PauseDialog::kMinutes, PauseDialog::kHours})
            lists[index]->setCurrentText(QStringList{"59", "59", "6"}[index]);
        CloseBy(pause, closeBy);
        QTRY_VERIFY(pause.isNull());
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnX), ok ? QStringLiteral("25199") : QString());
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnTask), ok ? kPause : QString());
        VerifyTaskCommands(ok);
    }

    // The end of the list says so and brings the window back.
    void playbackEndSaysSo()
    {
        // Timers too slow to tick during the test: it runs their handlers itself.
        m_window->ApplyOptions({OptionValues::kMaxPlayIntervalMs, OptionValues::kMaxRecIntervalMs, false, false, true});
        m_window->Tasks().AddTasks({{"1", "1", kLeft, {}}, {"2", "2", kLeft, {}}});
        m_window->UpdateCommandState(true);
        Action("mnuComandiPlay")->trigger();
        QTRY_VERIFY(m_window->isMinimized());
        Player& player = m_window->RunOwner()->ThePlayer();
        player.Step();
        player.Step();
        QCOMPARE(m_messages.Texts(), QStringList{TextTable::Text(TextId::AllTasksExecuted)});
        QTRY_VERIFY(!m_window->isMinimized());
    }

    // A run that closes the program tells a script how it went, and a person when it failed; with
    // --unattended whatever the file says, and no box waits for anyone.
    void runsThatCloseEndWithAStatus_data()
    {
        QTest::addColumn<bool>("unattended");
        QTest::addColumn<bool>("unplayable"); // a row that cannot be played, in the middle
        QTest::addColumn<bool>("stopKeys");
        QTest::addColumn<int>("status");
        // The numbers themselves, as scripts read them (--help, the README).
        QTest::newRow("unattended, all played") << true << false << false << 0;
        QTest::newRow("unattended, a row skipped") << true << true << false << 3;
        QTest::newRow("unattended, stop keys") << true << false << true << 1;
        QTest::newRow("closing, a row skipped") << false << true << false << 3;
    }

    void runsThatCloseEndWithAStatus()
    {
        QFETCH(bool, unattended);
        QFETCH(bool, unplayable);
        QFETCH(bool, stopKeys);
        QFETCH(int, status);
        RecordingNotifier notifier;
        FakeFileChooser files;
        MainWindowServices services{&m_messages, m_desktop.get(), {}, &files};
        services.unattended = unattended;
        services.notifier = &notifier;
        m_window = std::make_unique<MainWindow>(services);
        m_window->Start();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // The list comes from a file, which a notification names.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("invoices.#cw"));
        TaskList saved;
        saved.AddTasks({{"1", "1", kLeft, {}}, {unplayable ? "1o6" : "2", "2", kLeft, {}}});
        QVERIFY(!MacroFile::Save(path, saved, OptionValues{}, false));
        files.QueueAnswer(path);
        Action("mnuFileApri")->trigger();
        QTRY_COMPARE(m_window->Tasks().TaskCount(), 2);
        m_window->ApplyOptions(
            {OptionValues::kMaxPlayIntervalMs, OptionValues::kMaxRecIntervalMs, !unattended, false, true});
        Action("mnuComandiPlay")->trigger();
        Run& run = *m_window->RunOwner();
        run.Poll(); // the stop keys are seen up first
        run.ThePlayer().Step();
        m_desktop->HoldShortcut(KeySymbols::kF11, stopKeys ? 1 : 0);
        if (stopKeys)
            run.Poll(), run.Poll(); // seen, then F11 is up
        else
            run.ThePlayer().Step();
        QCOMPARE(m_window->ExitStatus(), status);
        const QString told = stopKeys     ? Player::StopMessage(1)
                             : unplayable ? TextTable::Text(TextId::SkippedRowsMessage).arg(1).arg(2)
                                          : "";
        QCOMPARE(notifier.texts, told.isEmpty() ? QStringList{} : QStringList{"invoices.#cw: " + told});
        // The stop keys' message goes where the messages go: stderr, when unattended.
        QCOMPARE(m_messages.Texts(), stopKeys ? QStringList{told} : QStringList{});
        // The end closes every window, once more when the events run: before the next test's window.
        QCoreApplication::sendPostedEvents(qApp);
    }

    // OK keeps what the user typed, never completed from the lists, when it is a whole number in
    // range, and otherwise says which box is wrong and stays open.
    void optionsDialogKeepsWhatIsTypedWhenInRange_data()
    {
        QTest::addColumn<QString>("speed"); // typed in place of what the box shows; null: left alone
        QTest::addColumn<QString>("sens");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString speedRange = TextTable::Text(TextId::PlayIntervalRange);
        const QString sensRange = TextTable::Text(TextId::RecordIntervalRange);
        const auto row = [](const char* name, const char* speed, const char* sens, const QString& message) {
            QTest::newRow(name) << QString::fromLatin1(speed) << QString::fromLatin1(sens) << message;
        };
        row("untouched", nullptr, nullptr, {});
        row("the start of a listed value", "300", "5", {});
        row("highest, blanks around", "32767", " 1000 ", {});
        row("speed empty", "", nullptr, speedRange);
        for (const char* wrong : {"fast", "1.5", "0", "-100", "32768"})
            QTest::addRow("speed %s", wrong) << QString::fromLatin1(wrong) << QString() << speedRange;
        for (const char* wrong : {"0", "1001", "70000"})
            QTest::addRow("sens %s", wrong) << QString() << QString::fromLatin1(wrong) << sensRange;
    }

    void optionsDialogKeepsWhatIsTypedWhenInRange()
    {
        QFETCH(QString, speed);
        QFETCH(QString, sens);
        QFETCH(QString, message);
        // Values a macro file may hold but the lists do not.
        const OptionValues given{1234, 35, true, false, true};
        OptionsDialog dialog(given, {}, {}, m_messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const auto& [name, typed] : {std::pair{"cmbSpeed", speed}, {"cmbSens", sens}}) {
            QLineEdit* edit = dialog.findChild<QComboBox*>(QString::fromLatin1(name))->lineEdit();
            if (typed.isNull())
                continue;
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, typed);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(m_messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(dialog.isVisible(), !message.isEmpty());
        const OptionValues typed{speed.isNull() ? 1234 : speed.toInt(), sens.isNull() ? 35 : sens.trimmed().toInt(),
                                 true, false, true};
        QCOMPARE(dialog.Values(), message.isEmpty() ? typed : given);
    }

    // A file from elsewhere (--ask, the desktop entry) shows what it will do and plays only on Play:
    // Cancel leaves it loaded and the desktop untouched.
    void aFileFromElsewherePlaysOnlyOnPlay()
    {
        QTemporaryFile file(QDir::tempPath() + QStringLiteral("/XXXXXX.#cw"));
        QVERIFY(file.open());
        file.write(
            "\"#Quorvel WorksClickwarden 200425\"\r\n\"5*5*Mouse Click Left**\"\r\n\"**Type t o u c h**\"\r\n"
            "\"**Key Return**\"\r\n\"***#Quorvel Works***25***\"\r\n20\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n");
        file.close();
        for (const auto answer : {MessageBoxes::Answer::Cancel, MessageBoxes::Answer::Yes}) {
            m_messages.Clear();
            m_messages.QueueAnswer(answer);
            m_desktop->ClearActions();
            MainWindowServices services{&m_messages, m_desktop.get(), {}, nullptr, {file.fileName()}};
            services.askBeforePlaying = true;
            MainWindow window(services);
            window.Start();
            QTRY_COMPARE(m_messages.Questions().size(), 1);
            for (const char* told : {"Clicks: 1", "Typed text: \"touch\"", "Keys: Key Return", "1. Mouse Click Left"})
                QVERIFY2(m_messages.Questions().front().contains(QLatin1String(told)), told);
            QCOMPARE(window.IsPlaying(), answer == MessageBoxes::Answer::Yes);
            if (answer == MessageBoxes::Answer::Cancel)
                QCOMPARE(m_desktop->Actions(), std::vector<FakeDesktop::Action>{});
        }
    }

    // The splash shows after the main window and goes on its own. It does not show at all while a
    // file named on the command line is read to be played: it would take the playback's first click.
    void splashAlwaysCloses()
    {
        QTemporaryFile damaged(QDir::tempPath() + QStringLiteral("/XXXXXX.#cw"));
        QVERIFY(damaged.open() && damaged.write("not a macro file\n") > 0);
        damaged.close();
        for (const bool commandLine : {false, true}) {
            const QStringList arguments = commandLine ? QStringList{damaged.fileName()} : QStringList{};
            MainWindow window({&m_messages, nullptr, {}, nullptr, arguments});
            SplashWindow splash(window);
            splash.Start();
            if (commandLine) {
                QVERIFY(!splash.isVisible());
            } else {
                QVERIFY(QTest::qWaitForWindowExposed(&splash));
                QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 5000);
            }
            QVERIFY(!splash.findChild<QTimer*>()->isActive());
        }
    }

    // What start-up does with the X display it finds, or does not find, in each kind of session:
    // under Wayland the program and Qt run on XWayland, unless the user chose Qt's platform.
    void startupInEachSession_data()
    {
        QTest::addColumn<SessionEnvironment>("session");
        QTest::addColumn<QString>("failure"); // the text saying why the program cannot run; empty: it runs
        QTest::addColumn<bool>("box");        // a failure could be shown in a box
        QTest::addColumn<QByteArray>("platform");
        const QByteArray x = qgetenv("DISPLAY");
        const QString noDisplay = TextTable::Text(TextId::NoDisplay);
        const auto row = [](const char* name, SessionEnvironment session, const QString& failure, bool box,
                            const char* platform) {
            QTest::newRow(name) << session << failure << box << QByteArray(platform);
        };
        row("no session at all", {":999", "", "", "", false}, noDisplay, false, "");
        row("wayland without xwayland", {":999", "wayland", "", "", true}, noDisplay, true, "wayland");
        row("wayland, no compositor, no xwayland", {":999", "wayland", "wayland-77", "", false},
            TextTable::Text(TextId::WaylandLacks).arg(QStringLiteral("wl_display")), false, "");
        row("no XTEST", {":999", "", "", "", false}, TextTable::Text(TextId::NoXTest), true, "");
        row("x11", {x, "x11", "", "", false}, {}, false, "");
        row("wayland session type", {x, "wayland", "", "", false}, {}, false, "xcb");
        row("wayland display only", {x, "tty", "wayland-0", "", true}, {}, true, "xcb");
        row("wayland, Qt platform chosen by the user", {x, "wayland", "wayland-0", "wayland", true}, {}, true, "");
    }

    void startupInEachSession()
    {
        QFETCH(SessionEnvironment, session);
        QFETCH(QString, failure);
        QFETCH(bool, box);
        QFETCH(QByteArray, platform);
        const DesktopChoice choice = failure == TextTable::Text(TextId::NoXTest)
                                         ? DesktopFactory::Decide(session, nullptr, DesktopFactory::Problem::NoXTest)
                                         : DesktopFactory::Open(session);
        QCOMPARE(choice.desktop == nullptr, !failure.isEmpty());
        QCOMPARE(choice.failure, failure);
        QCOMPARE(choice.failureShowable, box);
        QCOMPARE(choice.qtPlatform, platform);
    }

    // A desktop that cannot be recorded from (Wayland) keeps Record off, whatever the task list
    // allows, and the window says why.
    void recordStaysOffWhereNotOffered()
    {
        DesktopChoice choice;
        choice.warning = TextTable::Text(TextId::RecordNeedsX11);
        choice.recordingOffered = false;
        DesktopStartup(std::move(choice)).ShowWarning(*m_window);
        m_window->UpdateCommandState(true);
        QVERIFY(!Action("mnuComandiRec")->isEnabled());
        QCOMPARE(Action("mnuComandiRec")->statusTip(), TextTable::Text(TextId::RecordNeedsX11));
        QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("lblWayland"))->text(),
                 TextTable::Text(TextId::RecordNeedsX11));
    }
};

QTEST_MAIN(TestWindows)
#include "TestWindows.moc"
