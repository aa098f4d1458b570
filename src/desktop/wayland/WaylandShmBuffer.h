#pragma once

#include <cstddef>

struct wl_buffer;
struct wl_shm;
struct wl_shm_pool;

// A buffer in shared memory of the program's own, of the format, size and stride a compositor asked
// for, kept while the next copy asks for the same.
class WaylandShmBuffer
{
public:
    struct Shape
    {
        unsigned format = 0;
        int width = 0;
        int height = 0;
        int stride = 0;
        bool operator==(const Shape&) const = default;
    };

    WaylandShmBuffer() = default;
    ~WaylandShmBuffer();
    WaylandShmBuffer(const WaylandShmBuffer&) = delete;
    WaylandShmBuffer& operator=(const WaylandShmBuffer&) = delete;

    // Makes the buffer of this shape, unless it is made already; false where the memory cannot be had.
    bool Prepare(wl_shm* shm, const Shape& shape);
    wl_buffer* Buffer() const { return m_buffer; }
    const unsigned char* Pixels() const { return m_pixels; }
    const Shape& Made() const { return m_shape; }

private:
    void Drop();

    wl_shm_pool* m_pool = nullptr;
    wl_buffer* m_buffer = nullptr;
    unsigned char* m_pixels = nullptr;
    std::size_t m_size = 0;
    Shape m_shape;
};
