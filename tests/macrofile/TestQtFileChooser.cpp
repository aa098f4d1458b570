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
    void filterListsMacroFiles()
    {
        QCOMPARE(QtFileChooser::Filter(), QStringLiteral("(*.#cw) Clickwarden 2004 (*.#cw)"));

        QTemporaryDir dir;
        for (const char* name : {"a.#cw", "b.#cw", "notes.txt", "c.#CWX", "d#cw"})
            QVERIFY(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
        QtFileChooser chooser;
        const std::unique_ptr<QFileDialog> dialog =
            chooser.CreateDialog({FileChooser::Mode::Open, QStringLiteral("Add"), dir.path()});
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->show(); // not exec(): the test looks at it without waiting for a user
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTRY_COMPARE(ListedNames(*dialog), (QStringList{"a.#cw", "b.#cw"}));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add"));
        QCOMPARE(dialog->nameFilters(), QStringList{QtFileChooser::Filter()});
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    }

    void saveDialogOffersTheLastNameAndAsksBeforeReplacing()
    {
        QTemporaryDir dir;
        const QString last = dir.filePath(QStringLiteral("last.#cw"));
        QVERIFY(QFile(last).open(QIODevice::WriteOnly));
        QtFileChooser chooser;
        const std::unique_ptr<QFileDialog> dialog = chooser.CreateDialog({FileChooser::Mode::Save, QString(), last});
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("#cw"));
        QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog->directory().absolutePath(), dir.path());
        QCOMPARE(dialog->selectedFiles().value(0), last);
        QVERIFY(!dialog->windowTitle().isEmpty()); // the dialog's own title when none was set
    }
};

QTEST_MAIN(TestQtFileChooser)
#include "TestQtFileChooser.moc"
