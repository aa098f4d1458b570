#include "support/ImageText.h"
#include "tasks/DescriptiveImage.h"

#include <QTest>

namespace {
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

QByteArray Field(const char* text)
{
    return QByteArray(text).leftJustified(DescriptiveImage::kFieldWidth, ' ');
}
} // namespace

class TestDescriptiveImage : public QObject
{
    Q_OBJECT

private slots:
    void fieldColours_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("black") << Field("0") << kBlack;
        QTest::newRow("white, all 8 digits") << Field("16777215") << kWhite;
        QTest::newRow("0x00BBGGRR") << Field("1193046") << QRgb{0xFF563412};
        QTest::newRow("leading blanks") << Field("  255") << QRgb{0xFFFF0000};
        QTest::newRow("off the screen") << Field("-1") << kBlack;
        QTest::newRow("digits then letters") << Field("12ab") << kBlack;
        QTest::newRow("not text at all") << QByteArray("\0\xff\x80-", 4) << kBlack;
        QTest::newRow("above 24 bits") << Field("99999999") << kBlack;
        // Only the first 8 characters count, and a number cut by the end of the text is not read.
        QTest::newRow("ninth character ignored") << QByteArray("000002557") << QRgb{0xFFFF0000};
        QTest::newRow("cut inside the number") << QByteArray("1677") << kBlack;
    }

    void fieldColours()
    {
        QFETCH(QByteArray, field);
        QFETCH(QRgb, colour);
        QCOMPARE(DescriptiveImage::FieldColour(field.constData(), int(field.size())), colour);
    }

    void damagedTextDrawsWhatCanBeRead_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("whiteFields");
        const QByteArray white = ImageText(0xFFFFFF);
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("cut inside a number") << white.left(10 * 100 + 4) << 100;
        QTest::newRow("cut after a number") << white.left(10 * 100 + 9) << 101;
        QTest::newRow("last blanks trimmed") << white.left(white.size() - 2) << 2601;
        QTest::newRow("too long") << white + white << 2601;
    }

    // Fields run column by column; what cannot be read is black.
    void damagedTextDrawsWhatCanBeRead()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, whiteFields);
        const QImage image = DescriptiveImage::Decode(text);
        QCOMPARE(image.size(), QSize(51, 51));
        for (int k = 0; k < DescriptiveImage::kFieldCount; ++k)
            QCOMPARE(image.pixel(k / 51, k % 51), k < whiteFields ? kWhite : kBlack);
    }
};

QTEST_GUILESS_MAIN(TestDescriptiveImage)
#include "TestDescriptiveImage.moc"
