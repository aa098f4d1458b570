#include "support/FakeFileChooser.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <unistd.h>

class TestFileChooser : public QObject
{
    Q_OBJECT

private slots:
    // The dialog starts in the program's folder, then offers the name chosen last (a cancelled
    // dialog keeps it); a name saved without an extension gets ".#cw", an opened one is taken as is.
    void offersTheLastNameAndAddsTheExtension()
    {
        FakeFileChooser chooser;
        chooser.QueueAnswer(QStringLiteral("/tmp/a.b/first"));
        QCOMPARE(chooser.ChooseFileToOpen(), QStringLiteral("/tmp/a.b/first"));
        QCOMPARE(chooser.Requests().back().mode, FileChooser::Mode::Open);
        QCOMPARE(chooser.Requests().back().initialPath, QCoreApplication::applicationDirPath());

        QCOMPARE(chooser.ChooseFileToOpen(), QString());
        chooser.QueueAnswer(QStringLiteral("/tmp/a.b/second"));
        QCOMPARE(chooser.ChooseFileToSave(), QStringLiteral("/tmp/a.b/second.#cw"));
        QCOMPARE(chooser.Requests().back().mode, FileChooser::Mode::Save);
        QCOMPARE(chooser.Requests().back().initialPath, QStringLiteral("/tmp/a.b/first"));

        chooser.QueueAnswer(QStringLiteral("/tmp/macro.txt"));
        QCOMPARE(chooser.ChooseFileToSave(), QStringLiteral("/tmp/macro.txt"));
        QCOMPARE(chooser.Requests().back().initialPath, QStringLiteral("/tmp/a.b/second.#cw"));
    }

    void startsInTheProgramFolderOrAtHome()
    {
        QCOMPARE(FileChooser::StartFolder(QDir::tempPath()), QDir::tempPath());
        QCOMPARE(FileChooser::StartFolder(QStringLiteral("/nonexistent/folder")), QDir::homePath());
        if (::geteuid() != 0) // root may write anywhere
            QCOMPARE(FileChooser::StartFolder(QStringLiteral("/proc")), QDir::homePath());
    }
};

QTEST_GUILESS_MAIN(TestFileChooser)
#include "TestFileChooser.moc"
