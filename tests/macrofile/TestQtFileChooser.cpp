#include "app/QtFileChooser.h"

#include <QAbstractItemView>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The enabled names the dialog's file view lists, once it has read its folder.
QStringList ListedNames(QFileDialog& dialog)
{
    QStringList names;
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!view)
        return names;
    const QAbstractItemModel* model = view->model();
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex index = model->index(row, 0, root);
        if (model->flags(index) & Qt::ItemIsEnabled)
            names << index.data().toString();
    }
    names.sort();
    return names;
}
} // namespace

class TestQtFileChooser : public QObject
{
    Q_OBJECT

private slots:
    // The open dialog lists only macro files and shows the title it was given; the save dialog
    // starts at the last name and asks before replacing a file.
    void dialogsForOpenAndSave()
    {
        QTemporaryDir dir;
        for (const char* name : {"a.#cw", "b.#cw", "notes.txt", "c.#CWX", "d#cw"})
            QVERIFY(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        QtFileChooser chooser;
        const std::unique_ptr<QFileDialog> open =
            chooser.CreateDialog({FileChooser::Mode::Open, QStringLiteral("Add"), dir.path()});
        open->setOption(QFileDialog::DontUseNativeDialog);
        open->show(); // not exec(): the test looks at it without waiting for a user
        QVERIFY(QTest::qWaitForWindowExposed(open.get()));
        QTRY_COMPARE(ListedNames(*open), (QStringList{"a.#cw", "b.#cw"}));
        QCOMPARE(open->windowTitle(), QStringLiteral("Add"));

        const QString last = dir.filePath(QStringLiteral("a.#cw"));
        const std::unique_ptr<QFileDialog> save = chooser.CreateDialog({FileChooser::Mode::Save, QString(), last});
        QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(save->selectedFiles().value(0), last);
    }
};

QTEST_MAIN(TestQtFileChooser)
#include "TestQtFileChooser.moc"
