#include "desktop/wayland/WaylandShmBuffer.h"

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

WaylandShmBuffer::~WaylandShmBuffer()
{
    Drop();
}

void WaylandShmBuffer::Drop()
{
    if (m_buffer != nullptr)
        wl_buffer_destroy(m_buffer);
    if (m_pool != nullptr)
        wl_shm_pool_destroy(m_pool);
    if (m_pixels != nullptr)
        munmap(m_pixels, m_size);
    m_buffer = nullptr;
    m_pool = nullptr;
    m_pixels = nullptr;
    m_size = 0;
    m_shape = {};
}

bool WaylandShmBuffer::Prepare(wl_shm* shm, const Shape& shape)
{
    if (m_buffer != nullptr && shape == m_shape)
        return true;
    Drop();
    const std::size_t size = static_cast<std::size_t>(shape.stride) * static_cast<std::size_t>(shape.height);
    if (size == 0 || shape.stride < shape.width * 4)
        return false;
    const int fd = memfd_create("clickwarden-screencopy", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    void* pixels = ftruncate(fd, static_cast<off_t>(size)) == 0
                       ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    m_pixels = static_cast<unsigned char*>(pixels);
    m_size = size;
    m_pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(size));
    close(fd);
    m_buffer = wl_shm_pool_create_buffer(m_pool, 0, shape.width, shape.height, shape.stride, shape.format);
    m_shape = shape;
    return true;
}
