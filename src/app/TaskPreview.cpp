#include "app/TaskPreview.h"

#include "tasks/DescriptiveImage.h"

#include "core/TextTable.h"

#include <QPainter>

#include <algorithm>

namespace {
// Where the screen's block starts when it is drawn beside the recorded one.
constexpr int kScreenLeft = DescriptiveImage::kSide + 4;
} // namespace

TaskPreview::TaskPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
}

void TaskPreview::Preview(const QByteArray& imageText)
{
    if (imageText.isEmpty()) {
        Clear();
        return;
    }
    m_image = DescriptiveImage::Decode(imageText);
    m_screen = QImage();
    SetExtraWidth(0);
    update();
}

void TaskPreview::PreviewBeside(const QByteArray& imageText, const QImage& screen, const QString& tip)
{
    Preview(imageText);
    if (m_image.isNull())
        return;
    m_screen = screen;
    SetExtraWidth(std::max(0, kScreenLeft + DescriptiveImage::kSide - width()));
    setToolTip(tip.isEmpty() ? TextTable::Text(TextId::PreviewBesideTip) : tip);
}

void TaskPreview::Clear()
{
    m_image = QImage();
    m_screen = QImage();
    SetExtraWidth(0);
    update();
}

void TaskPreview::SetExtraWidth(int extra)
{
    if (extra == m_extraWidth)
        return;
    // The picture sits at the window's right edge: it grows to the left.
    setGeometry(geometry().adjusted(m_extraWidth - extra, 0, 0, 0));
    m_extraWidth = extra;
    if (extra == 0)
        setToolTip(QString());
}

void TaskPreview::paintEvent(QPaintEvent* /*event*/)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    // Both lines include their end points: a cross of 11 pixels a side centred on (25, 25).
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    painter.drawLine(20, 20, 30, 30);
    painter.drawLine(30, 20, 20, 30);
    if (!m_screen.isNull()) {
        painter.drawImage(kScreenLeft, 0, m_screen);
        painter.drawLine(kScreenLeft + 20, 20, kScreenLeft + 30, 30);
        painter.drawLine(kScreenLeft + 30, 20, kScreenLeft + 20, 30);
    }
}
