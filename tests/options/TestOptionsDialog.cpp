#include "core/TextTable.h"
#include "options/OptionsDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;

    template <typename T> static T* Child(QWidget& dialog, const char* name)
    {
        auto* child = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }

private slots:
    void init() { m_messages.Clear(); }

    void showsTheGivenValuesAndAcceptsWholeNumbersInRange_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("sens");
        QTest::addColumn<int>("message"); // 0: accepted
        const auto row = [](const char* name, const char* speed, const char* sens, int message) {
            QTest::newRow(name) << QString::fromLatin1(speed) << QString::fromLatin1(sens) << message;
        };
        row("untouched", "1234", "35", 0);
        row("lowest", "1", "1", 0);
        row("highest, blanks around", "32767", " 1000 ", 0);
        row("speed empty", "", "50", 309);
        row("speed not a number", "fast", "50", 309);
        row("speed with a fraction", "1.5", "50", 309);
        row("speed zero", "0", "50", 309);
        row("speed negative", "-100", "50", 309);
        row("speed too large", "32768", "50", 309);
        row("sens empty", "1000", "", 310);
        row("sens zero", "1000", "0", 310);
        row("sens too slow", "1000", "1001", 310);
        row("sens 16-bit overflow", "1000", "70000", 310);
        row("both wrong: speed first", "x", "y", 309);
    }

    void showsTheGivenValuesAndAcceptsWholeNumbersInRange()
    {
        QFETCH(QString, speed);
        QFETCH(QString, sens);
        QFETCH(int, message);
        // Values a macro file may hold but the lists do not.
        const OptionValues given{1234, 35, true, false, true};
        OptionsDialog dialog(given, m_messages);
        dialog.show();
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), QStringLiteral("1234"));
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), QStringLiteral("35"));
        QVERIFY(Child<QCheckBox>(dialog, "chkTermina")->isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "chkRipeti")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "ChkImaging")->isChecked());
        Child<QComboBox>(dialog, "cmbSpeed")->setEditText(speed);
        Child<QComboBox>(dialog, "cmbSens")->setEditText(sens);
        Child<QCheckBox>(dialog, "chkRipeti")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);

        if (message == 0) {
            QVERIFY(m_messages.Texts().isEmpty());
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.Values(), (OptionValues{speed.toInt(), sens.trimmed().toInt(), true, true, true}));
        } else {
            // Refused: the dialog stays open and nothing is handed back.
            QCOMPARE(m_messages.Texts(), QStringList{TextTable::Text(message)});
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.Values(), given);
        }
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "TestOptionsDialog.moc"
