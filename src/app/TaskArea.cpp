#include "app/TaskArea.h"

#include "app/CommandState.h"
#include "app/TaskGrid.h"
#include "app/TaskPreview.h"
#include "app/Twips.h"
#include "tasks/TaskList.h"

#include <QHeaderView>
#include <QStatusBar>

#include <utility>

namespace {
// Window, grid and preview geometry, in twips.
constexpr int kFormWidth = 6450;
constexpr int kGridWidthMargin = 150;
constexpr int kGridHeightMargin = 720;
constexpr int kPictureLeft = 5040;
constexpr int kPictureTop = 120;
constexpr int kPictureSide = 975;
constexpr int kTaskColumnWidth = 2000;
constexpr int kDefaultColumnWidth = 900;
} // namespace

TaskArea::TaskArea(TaskList& tasks, QWidget* parent) : QWidget(parent), m_tasks(tasks)
{
    m_grid = new TaskGrid(this);
    m_grid->setObjectName(QStringLiteral("grdComandi"));
    m_grid->ShowList(m_tasks);
    m_grid->move(0, 0);
    // The editor gives the grid its delegate: rows that cannot be played marked, cells changed in place.
    m_grid->setEnabled(CommandState::IsEnabled(CommandState::Control::TaskGrid, false));
    m_preview = new TaskPreview(this);
    m_preview->setObjectName(QStringLiteral("Picture1"));
    m_preview->raise();
    // Once for all the changes of one turn of the event loop: a recording or a file adds rows one by one.
    const auto followImages = [this] {
        if (!std::exchange(m_imagesPending, true))
            QMetaObject::invokeMethod(this, &TaskArea::FollowImages, Qt::QueuedConnection);
    };
    connect(&m_tasks, &QAbstractItemModel::modelReset, this, followImages);
    connect(&m_tasks, &QAbstractItemModel::rowsInserted, this, followImages);
    connect(&m_tasks, &QAbstractItemModel::rowsRemoved, this, followImages);
    connect(&m_tasks, &QAbstractItemModel::dataChanged, this, followImages);
    m_preview->hide();
}

void TaskArea::SetUp()
{
    m_grid->horizontalHeader()->setDefaultSectionSize(TwipsToPixels(kDefaultColumnWidth, this));
    m_grid->setColumnWidth(TaskList::kColumnTask, TwipsToPixels(kTaskColumnWidth, this));
    // The task column takes whatever width the window has beyond the others.
    m_grid->horizontalHeader()->setSectionResizeMode(TaskList::kColumnTask, QHeaderView::Stretch);
    const int side = TwipsToPixels(kPictureSide, this);
    m_preview->setGeometry(TwipsToPixels(kPictureLeft, this), TwipsToPixels(kPictureTop, this), side, side);
}

void TaskArea::FollowImages()
{
    m_imagesPending = false;
    const bool images = m_tasks.HasImages();
    if (images == !m_preview->isHidden())
        return;
    m_preview->setHidden(!images);
    Layout();
}

void TaskArea::Layout()
{
    // The grid leaves the window's frame, title and menu bar room, as sized by the window system.
    const QWidget* frameOwner = window();
    const QRect frame = frameOwner->frameGeometry();
    const int width = std::max(0, frame.width() - TwipsToPixels(kGridWidthMargin, this));
    // A status bar (the Wayland warning, a note) takes its room from the grid.
    const auto* bar = frameOwner->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    const int barHeight = bar && bar->isVisible() ? bar->height() : 0;
    const int height = std::max(0, frame.height() - TwipsToPixels(kGridHeightMargin, this) - barHeight);
    // The preview sits at the right, above the grid's top: the grid ends left of it wherever they
    // would meet, so that the preview never covers a row.
    QRect preview = m_preview->geometry();
    preview.moveRight(frame.width() - TwipsToPixels(kFormWidth - kPictureLeft - kPictureSide, this) - 1);
    m_preview->setGeometry(preview);
    const int beside = preview.left() - m_grid->x() - 4;
    m_grid->resize(!m_preview->isHidden() && preview.bottom() > m_grid->y() ? std::min(width, beside) : width, height);
}
