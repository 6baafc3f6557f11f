#pragma once

#include <unistd.h>

#include <utility>

namespace zv {

// Owns a POSIX file descriptor; closes it at the end of its scope.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd)
        : m_fd(fd)
    { }
    FileHandle(FileHandle &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    { }
    FileHandle &operator=(FileHandle &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    ~FileHandle() { reset(); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

} // namespace zv
