#include "player/ImageFinder.h"

#include "desktop/Desktop.h"
#include "desktop/ScreenReader.h"
#include "tasks/DescriptiveImage.h"

#include <QMetaObject>

#include <algorithm>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
constexpr int kHalf = kSide / 2;

// The 51 x 51 block with top left `topLeft` out of the screen's pixels, black off the screen.
std::vector<quint32> BlockAt(const std::vector<quint32>& screen, QSize size, QPoint topLeft)
{
    std::vector<quint32> block(std::size_t(kSide * kSide), 0);
    for (int j = 0; j < kSide; ++j) {
        for (int i = 0; i < kSide; ++i) {
            const QPoint at = topLeft + QPoint(i, j);
            if (QRect(QPoint(0, 0), size).contains(at))
                block[std::size_t(j * kSide + i)] =
                    screen[std::size_t(at.y()) * std::size_t(size.width()) + std::size_t(at.x())];
        }
    }
    return block;
}

QImage ImageOf(const std::vector<quint32>& block)
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    for (int j = 0; j < kSide; ++j) {
        for (int i = 0; i < kSide; ++i)
            image.setPixel(i, j, DescriptiveImage::FromDesktopColour(block[std::size_t(j * kSide + i)]));
    }
    return image;
}
} // namespace

ImageFinder::ImageFinder(Desktop& desktop, QObject* parent) : QObject(parent), m_desktop(desktop)
{}

ImageFinder::~ImageFinder()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
        m_stop.request_stop();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ImageFinder::Start(const Request& request)
{
    // The reader is made here, on the desktop's thread, and used on the search's thread alone.
    if (!m_reader)
        m_reader = m_desktop.OpenScreenReader();
    {
        const std::lock_guard lock(m_mutex);
        m_stop.request_stop();
        m_stop = std::stop_source();
        m_request = request;
        ++m_generation;
    }
    m_searching = true;
    if (!m_thread.joinable())
        m_thread = std::thread(&ImageFinder::Loop, this);
    m_wake.notify_all();
}

void ImageFinder::Cancel()
{
    const std::lock_guard lock(m_mutex);
    m_stop.request_stop();
    m_request.reset();
    ++m_generation;
    m_searching = false;
}

void ImageFinder::Loop()
{
    for (;;) {
        Request request;
        std::stop_token stop;
        quint64 generation = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_request; });
            if (m_quit)
                return;
            request = *std::exchange(m_request, std::nullopt);
            stop = m_stop.get_token();
            generation = m_generation;
        }
        Search(request, stop, generation);
    }
}

void ImageFinder::Search(const Request& request, std::stop_token stop, quint64 generation)
{
    const ImageSearch search(request.recorded, request.point, request.screen);
    const QRect whole = search.WholeScreen();
    const QRect near = search.NearArea(request.expected);
    std::vector<quint32> screen(std::size_t(whole.width()) * std::size_t(whole.height()), 0);
    ImageSearch::Matches matches;
    bool wholeLooked = false;
    // Reads the area again and looks at every placement it holds anew.
    const auto look = [&](const QRect& area) {
        const std::vector<quint32> pixels = m_reader->Block(area, stop);
        for (int row = 0; row < area.height(); ++row)
            std::copy_n(pixels.begin() + std::ptrdiff_t(row) * area.width(), area.width(),
                        screen.begin() + std::ptrdiff_t(area.top() + row) * whole.width() + area.left());
        std::erase_if(matches.list, [&](const ImageSearch::Match& match) { return search.Covers(area, match.offset); });
        ImageSearch::Matches fresh = search.Collect(screen, whole, area, stop);
        matches.list.insert(matches.list.end(), fresh.list.begin(), fresh.list.end());
        matches.overflowed = matches.overflowed || fresh.overflowed;
    };
    const auto at = [&](QPoint offset) -> const ImageSearch::Match* {
        const auto match = std::find_if(matches.list.begin(), matches.list.end(),
                                        [offset](const ImageSearch::Match& m) { return m.offset == offset; });
        return match == matches.list.end() ? nullptr : &*match;
    };
    // A window that moved takes all its clicks with it: where the last one was found comes first,
    // then the point itself, then the near area, then the whole screen.
    const auto decide = [&]() -> ImageSearch::Result {
        for (const QPoint offset : {request.expected, QPoint()}) {
            if (const ImageSearch::Match* match = at(offset))
                return {ImageSearch::Answer::Found, offset, match->differing, {}};
        }
        ImageSearch::Matches nearby;
        nearby.overflowed = matches.overflowed;
        std::copy_if(matches.list.begin(), matches.list.end(), std::back_inserter(nearby.list),
                     [&](const ImageSearch::Match& match) { return search.Covers(near, match.offset); });
        const ImageSearch::Result result = search.Decide(nearby, request.expected);
        if (result.answer != ImageSearch::Answer::NotFound || near == whole)
            return result;
        if (!wholeLooked && !stop.stop_requested()) {
            wholeLooked = true;
            look(whole);
        }
        return search.Decide(matches, request.expected);
    };
    look(near);
    while (!stop.stop_requested()) {
        const ImageSearch::Result result = decide();
        if (stop.stop_requested())
            return;
        const QPoint pointTopLeft = request.point - QPoint(kHalf, kHalf);
        Report report{result, BlockAt(screen, whole.size(), pointTopLeft), {}};
        const bool found = result.answer == ImageSearch::Answer::Found;
        if (found)
            report.found = ImageOf(BlockAt(screen, whole.size(), pointTopLeft + result.offset));
        Post(std::move(report), found, generation);
        if (found)
            return;
        // An overflowed list misses matches: it is made anew over the whole screen.
        const std::vector<QRect> changes = m_reader->WaitForChanges(stop);
        if (matches.overflowed) {
            matches = {};
            wholeLooked = true;
            look(whole);
            continue;
        }
        for (const QRect& change : changes) {
            const QRect area = change.adjusted(-(kSide - 1), -(kSide - 1), kSide - 1, kSide - 1) & whole;
            if (!area.isEmpty() && !stop.stop_requested())
                look(area);
        }
    }
}

void ImageFinder::Post(Report report, bool last, quint64 generation)
{
    QMetaObject::invokeMethod(
        this,
        [this, report = std::move(report), last, generation] {
            if (generation != m_generation)
                return;
            if (last)
                m_searching = false;
            if (last)
                emit found(report);
            else
                emit looked(report);
        },
        Qt::QueuedConnection);
}
