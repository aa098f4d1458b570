#include "app/FrozenScreenPicker.h"

#include "app/FrozenScreenWindow.h"
#include "desktop/Desktop.h"
#include "desktop/ScreenReader.h"
#include "tasks/DescriptiveImage.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int kImageHalf = DescriptiveImage::kSide / 2;

QImage PictureOf(const std::vector<quint32>& pixels, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = DescriptiveImage::FromDesktopColour(
                pixels[std::size_t(y) * std::size_t(size.width()) + std::size_t(x)]);
    }
    return image;
}
} // namespace

FrozenScreenPicker::FrozenScreenPicker(Desktop& desktop, QString hint, QObject* parent)
    : QObject(parent), m_desktop(desktop), m_hint(std::move(hint))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FrozenScreenPicker::ReadScreen);
}

FrozenScreenPicker::~FrozenScreenPicker()
{
    m_thread = {};
    delete m_window;
}

void FrozenScreenPicker::Start(bool images)
{
    if (m_picking)
        return;
    m_picking = true;
    m_images = images;
    m_settle.start();
}

void FrozenScreenPicker::ReadScreen()
{
    const QSize size = m_desktop.ScreenSize();
    if (!m_reader)
        m_reader = m_desktop.OpenScreenReader();
    // The read and the picture are made on a thread of its own: a 4K screen takes long enough to be seen.
    m_thread = std::jthread([this, size](std::stop_token stop) {
        std::vector<quint32> pixels = m_reader->Block(QRect(QPoint(0, 0), size), stop);
        if (stop.stop_requested())
            return;
        QImage picture = PictureOf(pixels, size);
        QMetaObject::invokeMethod(
            this,
            [this, pixels = std::move(pixels), picture = std::move(picture), size]() mutable {
                Show(std::move(pixels), std::move(picture), size);
            },
            Qt::QueuedConnection);
    });
}

void FrozenScreenPicker::Show(std::vector<quint32> pixels, QImage picture, QSize size)
{
    if (!m_picking)
        return;
    m_pixels = std::move(pixels);
    m_size = size;
    m_window = new FrozenScreenWindow(std::move(picture), m_hint);
    connect(m_window, &FrozenScreenWindow::chosen, this, &FrozenScreenPicker::Choose);
    connect(m_window, &FrozenScreenWindow::cancelled, this, &FrozenScreenPicker::Cancel);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_window->setGeometry(screen->geometry());
    m_window->showFullScreen();
    m_window->activateWindow();
    m_window->setFocus();
    emit shown();
}

void FrozenScreenPicker::Choose(QPoint point)
{
    // The descriptive image comes from the picture the user saw, black beyond its edges.
    std::vector<quint32> block;
    if (m_images) {
        block.assign(std::size_t(DescriptiveImage::kSide) * DescriptiveImage::kSide, 0);
        for (int j = 0; j < DescriptiveImage::kSide; ++j) {
            for (int i = 0; i < DescriptiveImage::kSide; ++i) {
                const int x = point.x() - kImageHalf + i;
                const int y = point.y() - kImageHalf + j;
                if (x >= 0 && y >= 0 && x < m_size.width() && y < m_size.height())
                    block[std::size_t(j) * DescriptiveImage::kSide + std::size_t(i)] =
                        m_pixels[std::size_t(y) * std::size_t(m_size.width()) + std::size_t(x)];
            }
        }
    }
    End();
    emit picked(point.x(), point.y(), m_images ? DescriptiveImage::Encode(block) : QByteArray());
}

void FrozenScreenPicker::Cancel()
{
    if (!m_picking)
        return;
    End();
    emit cancelled();
}

void FrozenScreenPicker::End()
{
    m_picking = false;
    m_settle.stop();
    m_thread = {};
    m_pixels = {};
    if (m_window) {
        m_window->disconnect(this);
        m_window->close();
    }
}
