#include "TailReads.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#ifdef ZV_HAVE_LIBURING
#include <liburing.h>
#endif

namespace zv {
namespace {

void readOne(TailReads::Request &r)
{
    r.done = ::pread(r.fd, r.buffer, r.size, r.offset) == static_cast<ssize_t>(r.size);
}

} // namespace

#ifdef ZV_HAVE_LIBURING
struct TailReads::Ring {
    io_uring ring{};
};

TailReads::TailReads(unsigned depth)
{
    auto ring = std::make_unique<Ring>();
    if (::io_uring_queue_init(depth, &ring->ring, 0) == 0)
        m_ring = std::move(ring);
}

TailReads::~TailReads()
{
    if (m_ring)
        ::io_uring_queue_exit(&m_ring->ring);
}

void TailReads::read(std::span<Request> requests)
{
    unsigned queued = 0;
    for (std::size_t i = 0; m_ring && i < requests.size(); ++i) {
        io_uring_sqe *sqe = ::io_uring_get_sqe(&m_ring->ring);
        if (!sqe)
            break;
        Request &r = requests[i];
        r.done = false;
        ::io_uring_prep_read(sqe, r.fd, r.buffer, static_cast<unsigned>(r.size), static_cast<__u64>(r.offset));
        ::io_uring_sqe_set_data64(sqe, i);
        ++queued;
    }
    int submitted = queued ? ::io_uring_submit_and_wait(&m_ring->ring, queued) : 0;
    if (submitted < 0)
        submitted = 0;
    std::vector<bool> answered(requests.size(), false);
    bool broken = static_cast<unsigned>(submitted) != queued;
    for (int i = 0; i < submitted; ++i) {
        io_uring_cqe *cqe = nullptr;
        int waited = 0;
        while ((waited = ::io_uring_wait_cqe(&m_ring->ring, &cqe)) == -EINTR) { }
        if (waited != 0) {
            broken = true;
            break;
        }
        const auto at = static_cast<std::size_t>(::io_uring_cqe_get_data64(cqe));
        requests[at].done = cqe->res == static_cast<int>(requests[at].size);
        answered[at] = true;
        ::io_uring_cqe_seen(&m_ring->ring, cqe);
    }
    if (broken) {
        // Left-over entries would go out with the next batch: give up the ring instead.
        ::io_uring_queue_exit(&m_ring->ring);
        m_ring.reset();
    }
    // Short reads, refusals (EAGAIN, EINTR) and whatever the ring did not take: the plain way.
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (!answered[i] || !requests[i].done)
            readOne(requests[i]);
}
#else
struct TailReads::Ring { };
TailReads::TailReads(unsigned)
{ }
TailReads::~TailReads() = default;
void TailReads::read(std::span<Request> requests)
{
    for (Request &r : requests)
        readOne(r);
}
#endif

} // namespace zv
