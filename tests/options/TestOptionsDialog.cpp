#include "core/TextTable.h"
#include "options/OptionsDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// The dialog shows the values it is given; OK keeps what the user typed, never completed from the
// lists, when it is a whole number in range, and otherwise says which box is wrong and stays open.
class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatIsTypedWhenInRange_data()
    {
        QTest::addColumn<QString>("speed"); // typed in place of what the box shows; null: left alone
        QTest::addColumn<QString>("sens");
        QTest::addColumn<int>("message"); // 0: accepted
        const auto row = [](const char* name, const char* speed, const char* sens, int message) {
            QTest::newRow(name) << QString::fromLatin1(speed) << QString::fromLatin1(sens) << message;
        };
        row("untouched", nullptr, nullptr, 0);
        row("the start of a listed value", "300", "5", 0);
        row("lowest", "1", "1", 0);
        row("highest, blanks around", "32767", " 1000 ", 0);
        row("speed empty", "", nullptr, 309);
        for (const char* wrong : {"fast", "1.5", "0", "-100", "32768"})
            QTest::addRow("speed %s", wrong) << QString::fromLatin1(wrong) << QString() << 309;
        for (const char* wrong : {"0", "1001", "70000"})
            QTest::addRow("sens %s", wrong) << QString() << QString::fromLatin1(wrong) << 310;
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
        OptionsDialog dialog(given, {}, messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* ripeti = dialog.findChild<QCheckBox*>(QStringLiteral("chkRipeti"));
        QVERIFY(!ripeti->isChecked());
        ripeti->setChecked(true);
        for (const auto& [name, typed, shown] : {std::tuple{"cmbSpeed", speed, "1234"}, {"cmbSens", sens, "35"}}) {
            auto* box = dialog.findChild<QComboBox*>(QString::fromLatin1(name));
            QCOMPARE(box->currentText(), QString::fromLatin1(shown));
            if (typed.isNull())
                continue;
            box->setFocus();
            box->lineEdit()->selectAll();
            QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
            QTest::keyClicks(box->lineEdit(), typed);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

        if (message == 0) {
            QVERIFY(messages.Texts().isEmpty() && !dialog.isVisible());
            const int play = speed.isNull() ? 1234 : speed.toInt();
            const int rec = sens.isNull() ? 35 : sens.trimmed().toInt();
            QCOMPARE(dialog.Values(), (OptionValues{play, rec, true, true, true}));
        } else {
            QCOMPARE(messages.Texts(), QStringList{TextTable::Text(message)});
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.Values(), given);
        }
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "TestOptionsDialog.moc"
