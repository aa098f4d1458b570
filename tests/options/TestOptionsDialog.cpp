#include "core/TextTable.h"
#include "options/OptionsDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private:
    template <typename T> static T* Child(QWidget& dialog, const char* name)
    {
        auto* child = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }

    // Types into the box as the user does, in place of what it shows.
    static void Type(QComboBox* box, const QString& text)
    {
        box->setFocus();
        box->lineEdit()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(box->lineEdit(), text);
    }

private slots:
    // The dialog shows the values it is given; what the user types is what OK keeps (never completed
    // from the lists), when it is a whole number in range.
    void keepsWhatIsTypedWhenInRange_data()
    {
        QTest::addColumn<QString>("speed"); // typed, then Enter; a null string leaves the box alone
        QTest::addColumn<QString>("sens");
        QTest::addColumn<int>("message"); // 0: accepted
        const auto row = [](const char* name, const char* speed, const char* sens, int message) {
            QTest::newRow(name) << QString::fromLatin1(speed) << QString::fromLatin1(sens) << message;
        };
        row("untouched", nullptr, nullptr, 0);
        row("a listed value's start is no prefix", "300", "5", 0);
        row("lowest", "1", "1", 0);
        row("highest, blanks around", "32767", " 1000 ", 0);
        row("speed empty", "", nullptr, 309);
        row("speed not a number", "fast", nullptr, 309);
        row("speed with a fraction", "1.5", nullptr, 309);
        row("speed zero", "0", nullptr, 309);
        row("speed negative", "-100", nullptr, 309);
        row("speed too large", "32768", nullptr, 309);
        row("sens zero", nullptr, "0", 310);
        row("sens too slow", nullptr, "1001", 310);
        row("sens 16-bit overflow", nullptr, "70000", 310);
        row("both wrong: speed first", "x", "y", 309);
    }

    void keepsWhatIsTypedWhenInRange()
    {
        QFETCH(QString, speed);
        QFETCH(QString, sens);
        QFETCH(int, message);
        RecordingMessageBoxes messages;
        // Values a macro file may hold but the lists do not.
        const OptionValues given{1234, 35, true, false, true};
        OptionsDialog dialog(given, messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* speedBox = Child<QComboBox>(dialog, "cmbSpeed");
        auto* sensBox = Child<QComboBox>(dialog, "cmbSens");
        QCOMPARE(speedBox->currentText(), QStringLiteral("1234"));
        QCOMPARE(sensBox->currentText(), QStringLiteral("35"));
        QVERIFY(!Child<QCheckBox>(dialog, "chkRipeti")->isChecked());
        Child<QCheckBox>(dialog, "chkRipeti")->setChecked(true);
        if (!speed.isNull())
            Type(speedBox, speed);
        if (!sens.isNull())
            Type(sensBox, sens);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

        if (message == 0) {
            QVERIFY(messages.Texts().isEmpty());
            QVERIFY(!dialog.isVisible());
            const int play = speed.isNull() ? 1234 : speed.toInt();
            const int rec = sens.isNull() ? 35 : sens.trimmed().toInt();
            QCOMPARE(dialog.Values(), (OptionValues{play, rec, true, true, true}));
        } else {
            // Refused: the dialog stays open and nothing is handed back.
            QCOMPARE(messages.Texts(), QStringList{TextTable::Text(message)});
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.Values(), given);
        }
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "TestOptionsDialog.moc"
