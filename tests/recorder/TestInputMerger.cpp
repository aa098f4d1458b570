#include "core/KeySymbols.h"
#include "recorder/InputMerger.h"

#include <QTest>

namespace {

// Events written short, apart by blanks: "+H/h" presses the key whose symbol is h without modifiers
// and H now ("+a" is "+a/a"), "-h" lets it go; "wv", "w^", "w<", "w>" turn the wheel down, up, left,
// right a notch; "@1500" sets the clock in milliseconds, "p20,10" moves the pointer; "C" is a click.
// Each event comes 10 ms after the one before. The tasks: their texts, a wheel task's point first.
QStringList Merge(const QString& script)
{
    InputMerger merger;
    quint32 time = 0;
    QPoint pointer(10, 10);
    for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
        time += 10;
        const QString rest = word.mid(1);
        if (word[0] == '@') {
            time = rest.toUInt();
        } else if (word[0] == 'p') {
            pointer = QPoint(rest.section(',', 0, 0).toInt(), rest.section(',', 1).toInt());
        } else if (word == "C") {
            merger.OtherTask();
        } else if (word[0] == 'w') {
            InputEvent event{InputEvent::Kind::Wheel};
            event.direction = WheelDirection(QStringLiteral("^v<>").indexOf(rest));
            event.x = pointer.x(), event.y = pointer.y(), event.time = time;
            merger.Feed(event);
        } else {
            InputEvent event{word[0] == '+' ? InputEvent::Kind::Press : InputEvent::Kind::Release};
            event.keysym = KeySymbols::FromName(rest.section('/', 0, 0).toLatin1());
            event.baseKeysym = KeySymbols::FromName(rest.section('/', -1).toLatin1());
            event.key = int(event.baseKeysym);
            event.time = time;
            merger.Feed(event);
        }
    }
    merger.Finish();
    QStringList tasks;
    for (const InputMerger::Task& task : merger.Take())
        tasks << (task.point ? QStringLiteral("%1,%2 ").arg(task.point->x()).arg(task.point->y()) : QString()) +
                     task.task.Text();
    return tasks;
}

} // namespace

class TestInputMerger : public QObject
{
    Q_OBJECT

private slots:
    void merges_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("tasks");
        QTest::newRow("Shift chooses characters") << "+Shift_L +H/h -h -Shift_L +i -i" << QStringList{"Type H i"};
        QTest::newRow("AltGr too") << "+ISO_Level3_Shift +at/q -q -ISO_Level3_Shift" << QStringList{"Type at"};
        QTest::newRow("keys overlap") << "+a +b -a -b" << QStringList{"Type a b"};
        QTest::newRow("a long gap") << "+a -a @2000 +b -b" << QStringList{"Type a", "Type b"};
        QTest::newRow("slow but steady") << "+a -a @800 +b -b @1600 +c -c" << QStringList{"Type a b c"};
        QTest::newRow("Return between") << "+a -a +Return -Return +b -b"
                                        << QStringList{"Type a", "Key Return", "Type b"};
        QTest::newRow("a combination") << "+Control_L +Shift_L +T/t -t -Shift_L -Control_L"
                                       << QStringList{"Key Control_L+Shift_L+t"};
        QTest::newRow("Shift+Tab") << "+Shift_L +ISO_Left_Tab/Tab -Tab -Shift_L" << QStringList{"Key Shift_L+Tab"};
        QTest::newRow("two combinations, one Ctrl")
            << "+Control_L +c -c +v -v -Control_L" << QStringList{"Key Control_L+c", "Key Control_L+v"};
        QTest::newRow("Shift held across a click")
            << "+Shift_L C +A/a -a -Shift_L" << QStringList{"Key Pushed Shift_L", "Type A", "Key Released Shift_L"};
        QTest::newRow("typing before a click") << "+a -a C +b -b" << QStringList{"Type a", "Type b"};
        QTest::newRow("the stop keys") << "+a -a +Control_L +Shift_L +F12 -F12 -Shift_L -Control_L"
                                       << QStringList{"Type a"};
        QTest::newRow("the playback stop keys") << "+Shift_L +Control_L +F11 -F11 -Control_L -Shift_L" << QStringList{};
        QTest::newRow("F12 alone") << "+F12 -F12" << QStringList{"Key F12"};
        QTest::newRow("Ctrl alone, Shift alone")
            << "+Control_L -Control_L +Shift_R -Shift_R" << QStringList{"Key Control_L"};
        QTest::newRow("a modifier repeats") << "+Super_L +Super_L -Super_L" << QStringList{"Key Super_L"};
        QTest::newRow("locks") << "+Caps_Lock -Caps_Lock +A/a -a +Num_Lock -Num_Lock" << QStringList{"Type A"};
        QTest::newRow("held at the end") << "+Alt_L C" << QStringList{"Key Pushed Alt_L", "Key Released Alt_L"};
        QTest::newRow("pressed for nothing at the end") << "+Alt_L" << QStringList{};
        QTest::newRow("wheel notches") << "wv wv wv" << QStringList{"10,10 Wheel down 3"};
        QTest::newRow("wheel turns back")
            << "wv wv w^ w< w>"
            << QStringList{"10,10 Wheel down 2", "10,10 Wheel up 1", "10,10 Wheel left 1", "10,10 Wheel right 1"};
        QTest::newRow("wheel moves a little")
            << "wv p14,6 wv p20,10 wv" << QStringList{"10,10 Wheel down 2", "20,10 Wheel down 1"};
        QTest::newRow("wheel moves down") << "wv p10,15 wv" << QStringList{"10,10 Wheel down 1", "10,15 Wheel down 1"};
        QTest::newRow("wheel after a gap") << "wv @1000 wv" << QStringList{"10,10 Wheel down 1", "10,10 Wheel down 1"};
        QTest::newRow("Ctrl and the wheel")
            << "+Control_L wv wv -Control_L"
            << QStringList{"Key Pushed Control_L", "10,10 Wheel down 2", "Key Released Control_L"};
        QTest::newRow("typing, wheel, typing")
            << "+a -a wv +b -b" << QStringList{"Type a", "10,10 Wheel down 1", "Type b"};
        QTest::newRow("wheel, then a click") << "wv C wv" << QStringList{"10,10 Wheel down 1", "10,10 Wheel down 1"};
    }

    void merges()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, tasks);
        QCOMPARE(Merge(script), tasks);
    }

    // Task texts read back as the task they hold, and what the grid shows of them; a text that is no
    // such task is none.
    void taskTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("display"); // empty: not a task of the keys or the wheel
        QTest::newRow("typing") << "Type H e y space exclam odoubleacute EuroSign"
                                << "Type \"Hey !őeuro\"";
        QTest::newRow("a combination") << "Key Control_L+Shift_L+t"
                                       << "Key Ctrl+Shift+T";
        QTest::newRow("AltGr and Return") << "Key ISO_Level3_Shift+Return"
                                          << "Key AltGr+Return";
        QTest::newRow("pushed") << "Key Pushed Shift_L"
                                << "Key Pushed Shift";
        QTest::newRow("released") << "Key Released Super_R"
                                  << "Key Released Super";
        QTest::newRow("wheel") << "Wheel left 12"
                               << "Wheel left 12";
        QTest::newRow("no such key") << "Key Control_L+nosuchkey"
                                     << "";
        QTest::newRow("no key") << "Type "
                                << "";
        QTest::newRow("no kind word") << "Typed a"
                                      << "";
        QTest::newRow("two keys held") << "Key Pushed Shift_L Control_L"
                                       << "";
        QTest::newRow("no notch") << "Wheel up 0"
                                  << "";
        QTest::newRow("no direction") << "Wheel sideways 2"
                                      << "";
        QTest::newRow("a click") << "Mouse Click Left"
                                 << "";
    }

    void taskTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, display);
        const std::optional<InputTask> task = InputTask::Parse(text);
        QCOMPARE(task ? task->Display() : QString(), display.replace("euro", "€"));
        if (task)
            QCOMPARE(task->Text(), text);
    }
};

QTEST_GUILESS_MAIN(TestInputMerger)
#include "TestInputMerger.moc"
