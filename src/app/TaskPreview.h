#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

// The preview picture (m_preview): a task's descriptive image in its top left 51 x 51 pixels with a
// red cross over the task's point, or nothing.
class TaskPreview : public QWidget
{
    Q_OBJECT

public:
    explicit TaskPreview(QWidget* parent = nullptr);

    // Shows the image of an image text; an empty text clears the picture.
    void Preview(const QByteArray& imageText);
    // Shows the image of an image text and, on its right, the screen as playback last saw it there,
    // or where it found it: `tip` says which (by default, where it stopped).
    void PreviewBeside(const QByteArray& imageText, const QImage& screen, const QString& tip = QString());
    void Clear();

    // The block last drawn, null when the picture is clear.
    const QImage& Image() const { return m_image; }
    // The screen drawn beside it, null when there is none.
    const QImage& Screen() const { return m_screen; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Widens the picture to the left for a second block, or gives it back its width.
    void SetExtraWidth(int extra);

    QImage m_image;
    QImage m_screen;
    int m_extraWidth = 0;
};
