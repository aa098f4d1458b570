#include "player/ImageSearch.h"
#include "support/ImageText.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTest>

namespace {
using Answer = ImageSearch::Answer;
const QSize kScreen(640, 480);
const QColor kDesktop(0x3a, 0x6e, 0xa5);

// What the 120 x 100 windows of a screen show: noise, where any shift of a pixel shows; or the
// hard cases of real screens, which match themselves shifted a pixel or two within the tolerance.
enum class Content
{
    Noise,
    Gradient,     // a photo-like radial gradient
    Sky,          // a gradient so gentle that a shift of a pixel costs less than a level
    ShadedButton, // anti-aliased text on a button shaded top to bottom
    SoftShadow,   // a window's corner with the shadow it casts on the desktop
};

// A plain desktop with windows on it, each at its top left, and a caret.
struct Scene
{
    QList<QPoint> windows;
    Content content = Content::Noise;
    bool caret = false; // 2 x 20 pixels dark inside the window at (100, 100)
};

void PaintWindow(QPainter& painter, Content content)
{
    switch (content) {
    case Content::Noise:
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 120; ++x)
                painter.fillRect(x, y, 1, 1, QColor::fromRgb((quint32(x * 7919 + y * 104729) * 2654435761u) >> 8));
        }
        return;
    case Content::Gradient: {
        QRadialGradient light(QPointF(70, 40), 110);
        light.setColorAt(0, QColor(0xf4, 0xd8, 0xa8));
        light.setColorAt(1, QColor(0x5a, 0x34, 0x28));
        painter.fillRect(0, 0, 120, 100, light);
        return;
    }
    case Content::Sky:
        // Red rises to the right, blue falls downwards: a shift of a pixel costs less than a level.
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 120; ++x)
                painter.fillRect(x, y, 1, 1, QColor(0x70 + x * 2 / 5, 0x98 + (x + y) / 5, 0xd0 - y * 2 / 5));
        }
        return;
    case Content::ShadedButton: {
        painter.fillRect(0, 0, 120, 100, QColor(0xef, 0xef, 0xef));
        QLinearGradient shade(0, 34, 0, 64);
        shade.setColorAt(0, QColor(0xfd, 0xfd, 0xfd));
        shade.setColorAt(1, QColor(0xc8, 0xcc, 0xd4));
        painter.setPen(QColor(0x8a, 0x8a, 0x8a));
        painter.setBrush(shade);
        painter.drawRoundedRect(QRectF(20.5, 34.5, 80, 30), 4, 4);
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        painter.drawText(QRect(20, 34, 80, 30), Qt::AlignCenter, QStringLiteral("Save as…"));
        return;
    }
    case Content::SoftShadow:
        // Layers of faint black, each a pixel wider: a shadow fading out over 8 pixels.
        for (int spread = 8; spread >= 1; --spread)
            painter.fillRect(QRect(4 - spread, 6 - spread, 120 + 2 * spread, 100 + 2 * spread), QColor(0, 0, 0, 14));
        painter.fillRect(0, 0, 120, 100, QColor(0xfa, 0xfa, 0xfa));
        painter.fillRect(0, 0, 120, 22, QColor(0xdd, 0xe3, 0xea));
        return;
    }
}

QImage Render(const Scene& scene)
{
    QImage screen(kScreen, QImage::Format_RGB32);
    screen.fill(kDesktop);
    QPainter painter(&screen);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const QPoint& window : scene.windows) {
        painter.save();
        painter.translate(window);
        PaintWindow(painter, scene.content);
        painter.restore();
    }
    if (scene.caret)
        painter.fillRect(150, 140, 2, 20, QColor(0x10, 0x10, 0x10));
    return screen;
}

quint32 ColourAt(const QImage& screen, int x, int y)
{
    if (!screen.rect().contains(x, y))
        return 0;
    const QRgb colour = screen.pixel(x, y);
    return quint32(qRed(colour)) | quint32(qGreen(colour)) << 8 | quint32(qBlue(colour)) << 16;
}
} // namespace

Q_DECLARE_METATYPE(Scene)
Q_DECLARE_METATYPE(ImageSearch::Answer)

// The search for a recorded image on a scripted screen.
class TestImageSearch : public QObject
{
    Q_OBJECT

private slots:
    void find_data()
    {
        QTest::addColumn<QPoint>("point");     // recorded there, windows at (100, 100) and (0, 300)
        QTest::addColumn<Scene>("played");     // the screen at playback, its windows as recorded
        QTest::addColumn<bool>("wholeScreen"); // or near the point only
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QPoint>("offset");
        const QPoint w(100, 100);
        const QPoint p(160, 150);
        QTest::newRow("moved by an offset")
            << p << Scene{{w + QPoint(150, 80)}} << false << Answer::Found << QPoint(150, 80);
        QTest::newRow("moved off the near area")
            << p << Scene{{w + QPoint(320, 0)}} << false << Answer::NotFound << QPoint();
        QTest::newRow("... found on the whole screen")
            << p << Scene{{w + QPoint(320, 0)}} << true << Answer::Found << QPoint(320, 0);
        QTest::newRow("two equal candidates")
            << p << Scene{{w + QPoint(150, 0), w + QPoint(0, 200)}} << true << Answer::Ambiguous << QPoint();
        QTest::newRow("caret-sized change")
            << p << Scene{{w}, Content::Noise, true} << false << Answer::Found << QPoint();
        QTest::newRow("image half off the screen")
            << p << Scene{{QPoint(570, 200)}} << true << Answer::Found << QPoint(570, 200) - w;
        QTest::newRow("recorded half off the screen")
            << QPoint(10, 350) << Scene{{QPoint(200, 300)}} << true << Answer::Found << QPoint(200, 0);
        QTest::newRow("smooth gradient moved")
            << p << Scene{{w + QPoint(37, 91)}, Content::Gradient} << true << Answer::Found << QPoint(37, 91);
        QTest::newRow("gentle gradient moved")
            << p << Scene{{w + QPoint(-80, 230)}, Content::Sky} << true << Answer::Found << QPoint(-80, 230);
        QTest::newRow("text on a shaded button moved")
            << QPoint(160, 149) << Scene{{w + QPoint(-57, 13)}, Content::ShadedButton} << true << Answer::Found
            << QPoint(-57, 13);
        QTest::newRow("soft shadow moved") << QPoint(218, 198) << Scene{{w + QPoint(250, 130)}, Content::SoftShadow}
                                           << true << Answer::Found << QPoint(250, 130);
        QTest::newRow("two shaded buttons alike")
            << QPoint(160, 149) << Scene{{w + QPoint(200, 0), w + QPoint(200, 200)}, Content::ShadedButton} << true
            << Answer::Ambiguous << QPoint();
        QTest::newRow("plain background")
            << QPoint(40, 40) << Scene{{w + QPoint(50, 0)}} << false << Answer::Ambiguous << QPoint();
        QTest::newRow("gone") << p << Scene{} << true << Answer::NotFound << QPoint();
    }

    void find()
    {
        QFETCH(QPoint, point);
        QFETCH(Scene, played);
        QFETCH(bool, wholeScreen);
        QFETCH(Answer, answer);
        QFETCH(QPoint, offset);
        const QImage recorded = Render(Scene{{QPoint(100, 100), QPoint(0, 300)}, played.content});
        const QImage image = DescriptiveImage::Decode(
            ImageText([&](int x, int y) { return ColourAt(recorded, x, y); }, point.x(), point.y()));
        const ImageSearch search(image, point, kScreen);
        const QRect area = wholeScreen ? search.WholeScreen() : search.NearArea({});
        const QImage screen = Render(played);
        std::vector<quint32> pixels;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                pixels.push_back(ColourAt(screen, x, y));
        }
        const ImageSearch::Result result = search.Find(pixels, area);
        QCOMPARE(result.answer, answer);
        if (answer == Answer::Found)
            QCOMPARE(result.offset, offset);
    }
};

// Fonts need a GUI application; the offscreen platform needs no display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    TestImageSearch test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestImageSearch.moc"
