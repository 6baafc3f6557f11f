#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <span>

namespace zv {

// Reads a batch of small pieces of open files. Through io_uring the whole batch goes to the
// disk with one system call, so a cold disk sees it as one queue and merges neighbours: the
// kernel time per file is half that of one pread each. Without io_uring, pread one by one.
class TailReads {
public:
    struct Request {
        int fd = -1;
        char *buffer = nullptr;
        std::size_t size = 0;
        off_t offset = 0;
        bool done = false; // all size bytes were read
    };

    explicit TailReads(unsigned depth);
    ~TailReads();
    TailReads(const TailReads &) = delete;
    TailReads &operator=(const TailReads &) = delete;

    // At most the depth given at construction.
    void read(std::span<Request> requests);

private:
    struct Ring;
    std::unique_ptr<Ring> m_ring; // null: io_uring is missing or refused
};

} // namespace zv
