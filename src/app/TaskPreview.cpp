#include "app/TaskPreview.h"

#include "tasks/DescriptiveImage.h"

#include <QPainter>

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
    update();
}

void TaskPreview::Clear()
{
    m_image = QImage();
    update();
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
}
