#include "core/KeySymbols.h"
#include "desktop/x11/X11Desktop.h"
#include "player/InputPlayer.h"
#include "recorder/InputMerger.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

// Keys typed and the wheel turned by the user under one keyboard layout are followed by the X11
// layer and merged into tasks, then replayed under two layouts into a window that logs what it
// receives: the same characters arrive whatever the layout, lent key codes included.
class TestX11Keys : public QObject
{
    Q_OBJECT

    std::unique_ptr<X11Desktop> m_desktop = X11Desktop::Open().desktop;
    LogWindow m_window{QRect(100, 100, 400, 300), true};
    const QPoint m_wheelPoint{200, 200};

    static bool SetLayout(const QString& layout) { return QProcess::execute("setxkbmap", {layout}) == 0; }

    // The user taps each entry ("wheel" turns the wheel down a notch); the tasks they make.
    void Record(const QStringList& keys, std::vector<InputMerger::Task>& tasks)
    {
        // The window is away meanwhile, so that what the user types reaches no window.
        m_window.hide();
        XDriver user; // a connection of its own reads the layout as it is now
        user.MovePointer(m_wheelPoint);
        m_desktop->TakeInputEvents();
        qsizetype expected = 0;
        for (const QString& key : keys) {
            if (key == "wheel") {
                user.Button(5, true), user.Button(5, false);
                ++expected;
            } else {
                user.Tap(key);
                expected += 2 * (key.count('+') + 1);
            }
        }
        std::vector<InputEvent> events;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const std::vector<InputEvent> more = m_desktop->TakeInputEvents();
                events.insert(events.end(), more.begin(), more.end());
                return qsizetype(events.size()) >= expected;
            }(),
            5000);
        InputMerger merger;
        for (const InputEvent& event : events)
            merger.Feed(event);
        merger.Finish();
        tasks = merger.Take();
    }

private slots:
    void initTestCase() { QVERIFY(m_desktop && m_desktop->WatchInput(true)); }

    void cleanupTestCase() { SetLayout("us"); }

    void recordAndReplay_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("tasks");
        QTest::addColumn<QString>("typed");
        QTest::addRow("us: Shift, a combination, Return, the wheel")
            << "us" << QStringList{"Shift_L+h",           "e",      "y",     "Shift_L+1", "space", "z",
                                   "Control_L+Shift_L+t", "Return", "wheel", "wheel"}
            << QStringList{"Type H e y exclam space z", "Key Control_L+Shift_L+t", "Key Return", "Wheel down 2"}
            << "Hey! z<Ctrl+Shift+T><Return><wheel 0,-120><wheel 0,-120>";
        QTest::addRow("de: AltGr, and letters no us key has")
            << "de" << QStringList{"ISO_Level3_Shift+q", "y", "z", "odiaeresis", "ssharp", "ISO_Level3_Shift+e"}
            << QStringList{"Type at y z odiaeresis ssharp EuroSign"} << "@yzöß€";
        QTest::addRow("hu: a letter beyond Latin-1")
            << "hu" << QStringList{"odoubleacute", "Shift_L+z"} << QStringList{"Type odoubleacute Z"} << "őZ";
    }

    void recordAndReplay()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, tasks);
        QFETCH(QString, typed);
        QVERIFY(SetLayout(layout));
        std::vector<InputMerger::Task> recorded;
        Record(keys, recorded);
        QStringList texts;
        for (const InputMerger::Task& task : recorded)
            texts << task.task.Text();
        QCOMPARE(texts, tasks);

        for (const QString replayLayout : {"us", "de"}) {
            QVERIFY(SetLayout(replayLayout));
            m_window.show();
            m_window.activateWindow();
            QTRY_COMPARE(QGuiApplication::focusWindow(), m_window.windowHandle());
            // The window manager and the toolkit settle on the new layout and the focus: a key from
            // the user arrives before the replay starts.
            m_window.Typed().clear();
            // A key sent before the focus settled is lost: the user taps again until one arrives.
            QTRY_VERIFY_WITH_TIMEOUT((XDriver().Tap("space"), QTest::qWait(100), !m_window.Typed().isEmpty()), 15000);
            QTest::qWait(200);
            m_window.Typed().clear();
            InputPlayer player(*m_desktop);
            for (const InputMerger::Task& task : recorded) {
                player.Run(task.task, task.point.value_or(QPoint()));
                QTRY_VERIFY(!player.IsTyping());
            }
            QTRY_COMPARE(m_window.Typed(), typed);
            // No key stays down, and the lent key codes are given back.
            m_desktop->ReleaseHeld();
            QCOMPARE(XDriver().KeysDown(), QList<int>{});
        }
    }

    // Claimed, the stop and step keys reach no window, Caps Lock on or off, and still read as held;
    // given back, they reach the focused window again.
    void claimedHotKeysReachNoWindow()
    {
        m_window.show();
        m_window.activateWindow();
        QTRY_COMPARE(QGuiApplication::focusWindow(), m_window.windowHandle());
        m_window.Typed().clear();
        XDriver user;
        m_desktop->ClaimHotKeys(true);
        user.Keys("Control_L+Shift_L+F12", true);
        const bool held = m_desktop->IsKeyDown(KeySymbols::kF12);
        user.Keys("Control_L+Shift_L+F12", false);
        user.Tap("Caps_Lock");
        user.Tap("Control_L+Shift_L+F11");
        user.Tap("Caps_Lock");
        m_desktop->ClaimHotKeys(false);
        user.Tap("Control_L+Shift_L+F11");
        QTRY_VERIFY(m_window.Typed().endsWith("<Ctrl+Shift+F11>"));
        QCOMPARE(m_window.Typed().count("F1"), 1);
        QVERIFY(held);
    }

    // Text typed into the window whatever the keyboard: more different foreign characters than
    // the layout has spare key codes, a layout change between two rows (the codes lent before it are
    // the new layout's now), Caps Lock on (it changes neither a letter of the layout nor a lent
    // one), AltGr characters through AltGr (no code lent). Every character arrives, none is reported
    // untyped, and nothing stays lent.
    void typesEveryCharacter_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("layoutAfter"); // the text is typed again after a change to it
        QTest::addColumn<bool>("capsLock");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lends");
        QString cyrillic;
        for (char16_t letter = u'а'; letter <= u'я'; ++letter)
            cyrillic += QChar(letter);
        QTest::newRow("32 Cyrillic letters on us") << "us"
                                                   << "" << false << cyrillic << true;
        QTest::newRow("ru, then us") << "ru"
                                     << "us" << false << "aaaaaaaaaaaaaaaaaaaa" << true;
        QTest::newRow("Caps Lock") << "us"
                                   << "" << true << "aé зх α" << true;
        QTest::newRow("AltGr on de") << "de"
                                     << "" << false << "@€" << false;
    }

    void typesEveryCharacter()
    {
        QFETCH(QString, layout);
        QFETCH(QString, layoutAfter);
        QFETCH(bool, capsLock);
        QFETCH(QString, text);
        QFETCH(bool, lends);
        XDriver user;
        QVERIFY(SetLayout(layout));
        const QList<unsigned long> map = user.KeyMap();
        m_window.show();
        m_window.activateWindow();
        QTRY_COMPARE(QGuiApplication::focusWindow(), m_window.windowHandle());
        m_window.Typed().clear();
        if (capsLock) {
            user.Tap("Caps_Lock");
            QTRY_VERIFY(!m_window.Typed().isEmpty());
            m_window.Typed().clear();
        }
        InputTask task;
        task.kind = InputTask::Kind::Type;
        for (const char32_t character : text.toUcs4())
            task.keys.push_back(KeySymbols::FromCharacter(character));
        InputPlayer player(*m_desktop);
        QString expected;
        for (const QString& next : {layoutAfter, QString()}) {
            player.Run(task);
            QTRY_VERIFY(!player.IsTyping());
            expected += text;
            QTRY_COMPARE(m_window.Typed(), expected);
            if (next.isEmpty())
                break;
            QVERIFY(SetLayout(next));
        }
        QCOMPARE(m_desktop->TakeUntypedKeys(), std::vector<quint32>{});
        if (layoutAfter.isEmpty())
            QCOMPARE(user.KeyMap() != map, lends);
        if (capsLock) {
            user.Tap("Caps_Lock");
            QTRY_VERIFY(m_window.Typed().endsWith("<CapsLock>"));
        }
        m_desktop->ReleaseHeld();
        QCOMPARE(XDriver().KeysDown(), QList<int>{});
        if (layoutAfter.isEmpty())
            QCOMPARE(user.KeyMap(), map);
    }
};

QTEST_MAIN(TestX11Keys)
#include "TestX11Keys.moc"
