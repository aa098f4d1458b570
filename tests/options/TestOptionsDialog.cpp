#include "app/core/TextTable.h"
#include "options/OptionsDialog.h"
#include "support/RecordingMessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(OptionValues)

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

    void showsCaptionsListsAndTips()
    {
        OptionsDialog dialog(OptionValues{}, m_messages);
        QCOMPARE(dialog.objectName(), QStringLiteral("frmDialog"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(Child<QLabel>(dialog, "lblSpeed")->text(), TextTable::Text(302));
        QCOMPARE(Child<QLabel>(dialog, "lblSens")->text(), TextTable::Text(305));
        QCOMPARE(Child<QPushButton>(dialog, "OKButton")->text(), QStringLiteral("OK"));
        QCOMPARE(Child<QPushButton>(dialog, "CancelButton")->text(), QStringLiteral("Cancel"));
        QCOMPARE(Child<QCheckBox>(dialog, "chkTermina")->text(), TextTable::Text(306));
        QCOMPARE(Child<QCheckBox>(dialog, "chkRipeti")->text(), TextTable::Text(307));
        QCOMPARE(Child<QCheckBox>(dialog, "ChkImaging")->text(), TextTable::Text(308));

        auto* speed = Child<QComboBox>(dialog, "cmbSpeed");
        auto* sens = Child<QComboBox>(dialog, "cmbSens");
        QVERIFY(speed->isEditable() && sens->isEditable());
        QCOMPARE(speed->toolTip(), QStringLiteral("Intervallo di tempo tra un evento ed il successivo"));
        QCOMPARE(sens->toolTip(), QStringLiteral("Sensibilità nel rilevare i click"));
        QStringList speedItems, sensItems;
        for (int i = 0; i < speed->count(); ++i)
            speedItems << speed->itemText(i);
        for (int i = 0; i < sens->count(); ++i)
            sensItems << sens->itemText(i);
        QCOMPARE(speedItems, (QStringList{"800", "900", "1000", "1500", "2000", "3000", "4000", "5000"}));
        QCOMPARE(sensItems, (QStringList{"40", "50", "60", "70", "80", "90", "100"}));

        // A typed value is used, never added to the fixed list.
        sens->setEditText(QStringLiteral("33"));
        QTest::keyClick(sens->lineEdit(), Qt::Key_Return);
        QCOMPARE(sens->count(), 7);
    }

    void showsTheValuesItIsGiven_data()
    {
        QTest::addColumn<OptionValues>("values");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("sens");
        QTest::newRow("start-up") << OptionValues{} << "1000"
                                  << "20";
        QTest::newRow("listed") << OptionValues{1500, 50, true, true, false} << "1500"
                                << "50";
        QTest::newRow("loaded, not listed") << OptionValues{1234, 35, false, true, true} << "1234"
                                            << "35";
    }

    void showsTheValuesItIsGiven()
    {
        QFETCH(OptionValues, values);
        QFETCH(QString, speed);
        QFETCH(QString, sens);
        OptionsDialog dialog(values, m_messages);
        QCOMPARE(Child<QComboBox>(dialog, "cmbSpeed")->currentText(), speed);
        QCOMPARE(Child<QComboBox>(dialog, "cmbSens")->currentText(), sens);
        QCOMPARE(Child<QCheckBox>(dialog, "chkTermina")->isChecked(), values.Termina);
        QCOMPARE(Child<QCheckBox>(dialog, "chkRipeti")->isChecked(), values.Ripeti);
        QCOMPARE(Child<QCheckBox>(dialog, "ChkImaging")->isChecked(), values.SalvaImmagine);

        // OK without touching anything hands back exactly what came in.
        dialog.show();
        QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values(), values);
        QVERIFY(m_messages.Texts().isEmpty());
    }

    void okHandsBackTheEditedValues()
    {
        OptionsDialog dialog(OptionValues{}, m_messages);
        dialog.show();
        Child<QComboBox>(dialog, "cmbSpeed")->setCurrentIndex(0);
        Child<QComboBox>(dialog, "cmbSens")->setEditText(QStringLiteral(" 1000 "));
        Child<QCheckBox>(dialog, "chkTermina")->setChecked(true);
        Child<QCheckBox>(dialog, "ChkImaging")->setChecked(false);
        dialog.OKButton_Click();
        QCOMPARE(dialog.Values(), (OptionValues{800, 1000, true, false, false}));
        QVERIFY(!dialog.isVisible());
    }

    void refusesIntervalsOutOfRange_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("sens");
        QTest::addColumn<int>("message");
        QTest::newRow("speed empty") << ""
                                     << "50" << 309;
        QTest::newRow("speed not a number") << "fast"
                                            << "50" << 309;
        QTest::newRow("speed with a fraction") << "1.5"
                                               << "50" << 309;
        QTest::newRow("speed zero") << "0"
                                    << "50" << 309;
        QTest::newRow("speed negative") << "-100"
                                        << "50" << 309;
        QTest::newRow("speed too large") << "32768"
                                         << "50" << 309;
        QTest::newRow("sens empty") << "1000"
                                    << "" << 310;
        QTest::newRow("sens zero") << "1000"
                                   << "0" << 310;
        QTest::newRow("sens negative") << "1000"
                                       << "-1" << 310;
        QTest::newRow("sens too slow") << "1000"
                                       << "1001" << 310;
        QTest::newRow("sens 16-bit overflow") << "1000"
                                              << "70000" << 310;
        QTest::newRow("both wrong: speed first") << "x"
                                                 << "y" << 309;
    }

    void refusesIntervalsOutOfRange()
    {
        QFETCH(QString, speed);
        QFETCH(QString, sens);
        QFETCH(int, message);
        const OptionValues given{1500, 30, true, false, true};
        OptionsDialog dialog(given, m_messages);
        dialog.show();
        Child<QComboBox>(dialog, "cmbSpeed")->setEditText(speed);
        Child<QComboBox>(dialog, "cmbSens")->setEditText(sens);
        Child<QCheckBox>(dialog, "chkRipeti")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);

        QCOMPARE(m_messages.Texts(), QStringList{TextTable::Text(message)});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Values(), given);
    }

    void acceptsTheRangeLimits_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("sens");
        QTest::addColumn<int>("playMs");
        QTest::addColumn<int>("recMs");
        QTest::newRow("lowest") << "1"
                                << "1" << 1 << 1;
        QTest::newRow("highest") << "32767"
                                 << "1000" << 32767 << 1000;
    }

    void acceptsTheRangeLimits()
    {
        QFETCH(QString, speed);
        QFETCH(QString, sens);
        QFETCH(int, playMs);
        QFETCH(int, recMs);
        OptionsDialog dialog(OptionValues{}, m_messages);
        Child<QComboBox>(dialog, "cmbSpeed")->setEditText(speed);
        Child<QComboBox>(dialog, "cmbSens")->setEditText(sens);
        dialog.OKButton_Click();
        QVERIFY(m_messages.Texts().isEmpty());
        QCOMPARE(dialog.Values().playIntervalMs, playMs);
        QCOMPARE(dialog.Values().recIntervalMs, recMs);
    }

    void cancelAndCloseBoxKeepTheValues()
    {
        const OptionValues given{900, 60, false, true, false};
        for (const bool useCloseBox : {false, true}) {
            OptionsDialog dialog(given, m_messages);
            dialog.show();
            Child<QComboBox>(dialog, "cmbSpeed")->setEditText(QStringLiteral("4000"));
            Child<QCheckBox>(dialog, "chkTermina")->setChecked(true);
            if (useCloseBox)
                dialog.close();
            else
                QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(dialog.Values(), given);
        }
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "TestOptionsDialog.moc"
