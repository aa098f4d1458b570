#pragma once

#include <QWidget>

class TaskGrid;
class TaskList;
class TaskPreview;

// The main window's body: the task grid and, at its top right, the preview of the current row's
// image. The preview has its place while the list holds an image and gives it to the grid while it
// holds none, so the grid's width changes with the list, never with the row the keys are on.
class TaskArea : public QWidget
{
    Q_OBJECT

public:
    TaskArea(TaskList& tasks, QWidget* parent);

    TaskGrid* Grid() const { return m_grid; }
    TaskPreview* Preview() const { return m_preview; }

    // The first sizes: the columns and the preview.
    void SetUp();
    // Fits the grid to the window's frame as the window system has sized it, beside the preview.
    void Layout();

private:
    void FollowImages();

    TaskList& m_tasks;
    TaskGrid* m_grid = nullptr;
    TaskPreview* m_preview = nullptr;
    bool m_imagesPending = false; // FollowImages is queued
};
