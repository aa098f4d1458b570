#include "app/AboutBox.h"
#include "core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    // The first known tool on the PATH starts; a file that is not executable is no tool.
    void startsTheFirstToolOnThePathOrSaysThereIsNone()
    {
        RecordingMessageBoxes messages;
        QList<QUrl> opened;
        AboutBox box(messages, [&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("GoToSite")), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{QUrl(TextTable::Text(205))});

        QTemporaryDir folder;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toLocal8Bit());
        QFile(folder.filePath(QStringLiteral("hardinfo2"))).open(QIODevice::WriteOnly);
        box.StartSysInfo();
        QCOMPARE(messages.Texts().size(), 1);

        // Stand-in tools that leave a marker file behind.
        for (const char* tool : {"gnome-system-monitor", "hardinfo"}) {
            QFile script(folder.filePath(QString::fromLatin1(tool)));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\necho > '" + script.fileName().toLocal8Bit() + ".ran'\n");
            script.close();
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        }
        QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        qputenv("PATH", path);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("hardinfo.ran"))), 10000);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("gnome-system-monitor.ran"))));
        QCOMPARE(messages.Texts().size(), 1);
    }
};

QTEST_MAIN(TestAboutBox)
#include "TestAboutBox.moc"
