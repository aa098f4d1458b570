#include "tasks/DescriptiveImage.h"

#include <QTest>

#include <functional>

namespace {
using ColourAt = std::function<int(int column, int row)>;

// An image text as the recorder writes it: column by column, each field padded to 10 characters.
QByteArray ImageText(const ColourAt& colourAt)
{
    QByteArray text;
    for (int i = 0; i < DescriptiveImage::kSide; ++i) {
        for (int j = 0; j < DescriptiveImage::kSide; ++j)
            text += QByteArray::number(colourAt(i, j)).leftJustified(DescriptiveImage::kFieldWidth, ' ');
    }
    return text;
}

QByteArray Field(const char* text)
{
    return QByteArray(text).leftJustified(DescriptiveImage::kFieldWidth, ' ', true);
}

constexpr QRgb kBlack = 0xFF000000;
} // namespace

class TestDescriptiveImage : public QObject
{
    Q_OBJECT

private slots:
    void fieldColours_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<uint>("colour");
        QTest::newRow("black") << Field("0") << uint(kBlack);
        QTest::newRow("white, all 8 digits") << Field("16777215") << 0xFFFFFFFFu;
        QTest::newRow("red in the low byte") << Field("255") << 0xFFFF0000u;
        QTest::newRow("green") << Field("65280") << 0xFF00FF00u;
        QTest::newRow("blue in the high byte") << Field("16711680") << 0xFF0000FFu;
        QTest::newRow("mixed 0x00BBGGRR") << Field("1193046") << 0xFF563412u;
        QTest::newRow("off the screen") << Field("-1") << uint(kBlack);
        QTest::newRow("not a number") << Field("abc") << uint(kBlack);
        QTest::newRow("digits then letters") << Field("12ab") << uint(kBlack);
        QTest::newRow("blank") << Field("") << uint(kBlack);
        QTest::newRow("leading blanks") << Field("  255") << 0xFFFF0000u;
        QTest::newRow("above 24 bits") << Field("99999999") << uint(kBlack);
        // Only the first 8 characters count: a ninth digit is not read.
        QTest::newRow("cut inside the number") << QByteArray("1677") << uint(kBlack);
        QTest::newRow("cut after the number") << QByteArray("255 ") << 0xFFFF0000u;
        QTest::newRow("ninth character ignored") << QByteArray("000002557") << 0xFFFF0000u;
    }

    void fieldColours()
    {
        QFETCH(QByteArray, field);
        QFETCH(uint, colour);
        QCOMPARE(DescriptiveImage::FieldColour(field.constData(), int(field.size())), QRgb(colour));
    }

    void fieldsRunColumnByColumn()
    {
        // A distinct colour for every pixel shows where each field lands.
        const ColourAt colourAt = [](int i, int j) {
            return (i << 16) | (j << 8) | 0x11;
        };
        const QImage image = DescriptiveImage::Decode(ImageText(colourAt));
        QCOMPARE(image.size(), QSize(51, 51));
        for (int i = 0; i < DescriptiveImage::kSide; ++i) {
            for (int j = 0; j < DescriptiveImage::kSide; ++j) {
                const QRgb pixel = image.pixel(i, j);
                QCOMPARE(qRed(pixel), 0x11);
                QCOMPARE(qGreen(pixel), j);
                QCOMPARE(qBlue(pixel), i);
            }
        }
    }

    void damagedTextDrawsWhatCanBeRead_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("whiteFields");
        const QByteArray white = ImageText([](int, int) { return 0xFFFFFF; });
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("one field") << white.left(10) << 1;
        QTest::newRow("cut inside a number") << white.left(10 * 100 + 4) << 100;
        QTest::newRow("cut after a number") << white.left(10 * 100 + 9) << 101;
        QTest::newRow("last blanks trimmed") << white.left(white.size() - 2) << 2601;
        QTest::newRow("too long") << white + white << 2601;
    }

    void damagedTextDrawsWhatCanBeRead()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, whiteFields);
        const QImage image = DescriptiveImage::Decode(text);
        QCOMPARE(image.size(), QSize(51, 51));
        for (int k = 0; k < DescriptiveImage::kFieldCount; ++k) {
            const QRgb expected = k < whiteFields ? 0xFFFFFFFF : kBlack;
            QCOMPARE(image.pixel(k / 51, k % 51), expected);
        }
    }

    void garbageNeverCrashes()
    {
        QByteArray text(26010, '\0');
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = char((i * 7919) % 256);
        const QImage image = DescriptiveImage::Decode(text);
        QCOMPARE(image.size(), QSize(51, 51));
        QCOMPARE(DescriptiveImage::Decode(QByteArray(5, '-')).pixel(0, 0), kBlack);
    }
};

QTEST_GUILESS_MAIN(TestDescriptiveImage)
#include "TestDescriptiveImage.moc"
