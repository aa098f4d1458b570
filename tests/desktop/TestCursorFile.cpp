#include "desktop/x11/CursorFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The shipped recording cursor, and changed copies of it: the hotspot comes from the file's
// directory entry; whatever is not a usable cursor file gives nothing.
class TestCursorFile : public QObject
{
    Q_OBJECT

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("hotspot"); // (-1, -1): nothing loads
        QFile file(QStringLiteral(CW_DATA_DIR "/rec.cur"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray shipped = file.readAll();
        const auto changed = [&shipped](int offset, char value) {
            return QByteArray(shipped).replace(offset, 1, &value, 1);
        };
        QTest::newRow("shipped") << shipped << QPoint(1, 1);
        QTest::newRow("hotspot moved") << changed(10, 7).replace(12, 1, "\x09", 1) << QPoint(7, 9);
        QTest::newRow("hotspot outside the image") << changed(10, 40) << QPoint(-1, -1);
        QTest::newRow("icon file") << changed(2, 1) << QPoint(-1, -1);
        QTest::newRow("truncated") << shipped.left(200) << QPoint(-1, -1);
        QTest::newRow("text") << QByteArray("not a cursor at all\n") << QPoint(-1, -1);
        QTest::newRow("missing") << QByteArray() << QPoint(-1, -1);
    }

    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, hotspot);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("test.cur"));
        QFile file(path);
        QVERIFY(bytes.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
        file.close();

        const std::optional<CursorFile> cursor = CursorFile::Load(path);
        QCOMPARE(cursor.has_value(), hotspot != QPoint(-1, -1));
        if (!cursor)
            return;
        QCOMPARE(cursor->hotspot, hotspot);
        QCOMPARE(cursor->image.size(), QSize(32, 32));
        QCOMPARE(qAlpha(cursor->image.pixel(31, 0)), 0); // transparent around the shape
        QCOMPARE(qAlpha(cursor->image.pixel(1, 1)), 255);
    }
};

QTEST_GUILESS_MAIN(TestCursorFile)
#include "TestCursorFile.moc"
