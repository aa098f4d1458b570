#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

// The preview picture (Picture1): a task's descriptive image in its top left 51 x 51 pixels with a
// red cross over the task's point, or nothing.
class TaskPreview : public QWidget
{
    Q_OBJECT

public:
    explicit TaskPreview(QWidget* parent = nullptr);

    // Shows the image of an image text; an empty text clears the picture.
    void Preview(const QByteArray& imageText);
    void Clear();

    // The block last drawn, null when the picture is clear.
    const QImage& Image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
