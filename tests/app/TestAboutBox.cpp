#include "app/AboutBox.h"
#include "core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestAboutBox : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    AboutBox m_box{m_messages, [](const QUrl&) {
                       return true;
                   }};

    QString Text(const char* name) { return m_box.findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QPushButton* Button(const char* name) { return m_box.findChild<QPushButton*>(QString::fromLatin1(name)); }

private slots:
    void showsTheCaptions()
    {
        QCOMPARE(m_box.windowTitle(), QStringLiteral("Informazioni su Clickwarden 2004"));
        QCOMPARE(Text("lblTitle"), QStringLiteral("Clickwarden 2004"));
        QCOMPARE(Text("lblVersion"), QStringLiteral("Versione 1.0.25"));
        QCOMPARE(Text("lblDisclaimer"), TextTable::Text(201));
        QVERIFY(Text("lblDescription")
                    .startsWith(TextTable::Text(203) + '\n' + TextTable::Text(204) + '\n' + TextTable::Text(205)));
        QCOMPARE(Button("cmdSysInfo")->text(), QStringLiteral("&System Info..."));
        m_box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_box));
        QVERIFY(m_box.grab().save(QCoreApplication::applicationDirPath() + QStringLiteral("/about.png")));
    }

    void startsTheFirstToolOnThePathOrSaysThereIsNone()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toLocal8Bit());
        // Not executable: not a tool, though its name comes first in the list.
        QFile(folder.filePath(QStringLiteral("hardinfo2"))).open(QIODevice::WriteOnly);
        m_box.StartSysInfo();
        QCOMPARE(m_messages.Texts(),
                 QStringList{QStringLiteral("Le informazioni sul sistema non sono attualmente disponibili.")});

        // Stand-in tools that only leave a marker file behind: the first one found runs.
        m_messages.Clear();
        for (const char* tool : {"gnome-system-monitor", "hardinfo"}) {
            QFile script(folder.filePath(QString::fromLatin1(tool)));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(QByteArray("#!/bin/sh\necho > '") + script.fileName().toLocal8Bit() + ".ran'\n");
            script.close();
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        QTest::mouseClick(Button("cmdSysInfo"), Qt::LeftButton);
        qputenv("PATH", path);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("hardinfo.ran"))), 10000);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("gnome-system-monitor.ran"))));
        QVERIFY(m_messages.Texts().isEmpty());
    }
};

QTEST_MAIN(TestAboutBox)
#include "TestAboutBox.moc"
