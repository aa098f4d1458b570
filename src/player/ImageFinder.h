#pragma once

#include "player/ImageSearch.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

class Desktop;
class ScreenReader;

// Looks for a task's image on the screen on a thread of its own: the window's thread only starts a
// search and takes its answers. The first look reads around the point and then, if need be, the
// whole screen; after that the search sleeps until the screen changes and looks again only where
// it did, so a still screen costs nothing. It goes on until the image is found in one place, or
// until Cancel, which ends it at once.
class ImageFinder : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QImage recorded; // decoded, 51 x 51
        QPoint point;    // where it was recorded
        QPoint expected; // where it is looked for first, from the point
        QSize screen;
    };

    // What one look saw.
    struct Report
    {
        ImageSearch::Result result;
        std::vector<quint32> atPoint; // the 51 x 51 block around the point, row by row
        QImage found;                 // Found: the block where the image was found
    };

    explicit ImageFinder(Desktop& desktop, QObject* parent = nullptr);
    ~ImageFinder() override;

    // Starts a search, ending the one under way.
    void Start(const Request& request);
    void Cancel();
    bool IsSearching() const { return m_searching; }

signals:
    // The image was found in one place: the search is over.
    void found(const ImageFinder::Report& report);
    // A look found it nowhere, or in two places as alike: the search goes on at the next change.
    void looked(const ImageFinder::Report& report);

private:
    void Loop();
    void Search(const Request& request, std::stop_token stop, quint64 generation);
    // Hands a report to the window's thread, where it is dropped if another search began since.
    void Post(Report report, bool last, quint64 generation);

    Desktop& m_desktop;
    std::unique_ptr<ScreenReader> m_reader;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_request;
    std::stop_source m_stop;
    quint64 m_generation = 0;
    bool m_quit = false;
    bool m_searching = false;
    std::thread m_thread;
};
