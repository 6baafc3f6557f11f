#include "ProbePipeline.h"

#include "ProbeFiles.h"
#include "TailReads.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zv::probing {
namespace {

// The names go into blocks that never move, so the threads can read a name while more are
// listed; a hundred thousand small allocations would cost measurable time.
class NameBlocks {
public:
    const char *add(const char *name)
    {
        const std::size_t size = std::strlen(name) + 1;
        if (m_blocks.empty() || m_used + size > BlockSize) {
            m_blocks.push_back(std::make_unique<char[]>(std::max(BlockSize, size)));
            m_used = 0;
        }
        char *at = m_blocks.back().get() + m_used;
        std::memcpy(at, name, size);
        m_used += size;
        return at;
    }

private:
    static constexpr std::size_t BlockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_used = 0;
};

// Lists the folder on the calling thread while the other threads already probe the files
// listed so far: reading a large folder takes a sixth of the whole load, warm or cold. Hands
// the files back to the caller in listing order. The caller probes too once the listing is
// done, whenever the next file to deliver is not ready yet, so one file in flight is the plain
// serial loop.
class OrderedProbe {
public:
    OrderedProbe(int dirFd, std::size_t tailBytes, const ProbeHandlers &handlers, std::size_t window)
        : m_dirFd(dirFd)
        , m_tailBytes(tailBytes)
        , m_handlers(handlers)
        , m_window(window)
        , m_ready(window, 0)
    { }

    void run(FolderReader &folder, ProbeSpread spread)
    {
        m_spread = spread;
        try {
            m_batched = spread.atFirst >= spread.inFlight;
            m_handlers.started(m_window);
            list(folder);
            deliverAll();
        } catch (...) {
            stopWorkers();
            throw;
        }
        stopWorkers();
    }

private:
    // Names handed out at once while listing: the threads start after the first of these.
    static constexpr std::size_t ListedAtOnce = 1024;

    bool allClaimed() const { return m_listed && m_next >= m_names.size(); }
    bool claimable() const { return m_next < m_names.size() && m_next < m_delivered + m_window; }

    void list(FolderReader &folder)
    {
        std::vector<const char *> pending;
        pending.reserve(ListedAtOnce);
        while (const FolderEntry *entry = folder.next()) {
            if (isLeftOut(*entry))
                continue;
            pending.push_back(m_blocks.add(entry->name()));
            if (pending.size() == ListedAtOnce) {
                publish(pending, false);
                startWorkers(threadsWanted());
                deliverReady();
            }
        }
        // The count goes out before the last names do: a folder smaller than one hand-out is
        // listed whole before its first file is opened.
        std::size_t total = 0;
        {
            const std::lock_guard lock(m_mutex);
            total = m_names.size() + pending.size();
        }
        m_handlers.listed(total);
        publish(pending, true);
    }

    void publish(std::vector<const char *> &names, bool last)
    {
        const std::lock_guard lock(m_mutex);
        m_names.insert(m_names.end(), names.begin(), names.end());
        m_listed = last;
        names.clear();
        m_workCv.notify_all();
    }

    // Up to count threads in all, the caller included.
    void startWorkers(int count)
    {
        std::size_t total = 0;
        {
            const std::lock_guard lock(m_mutex);
            total = m_listed ? m_names.size() : SIZE_MAX;
        }
        while (int(m_workers.size()) + 1 < std::min(count, m_spread.inFlight) && m_workers.size() + 1 < total)
            m_workers.emplace_back([this] { work(); });
    }

    void stopWorkers()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
            m_workCv.notify_all();
        }
        m_workers.clear(); // joins
    }

    // Called with the lock held; the names stay where they are, the vector holding them may not.
    std::size_t claim(std::size_t count, std::array<const char *, MaxProbeBatch> &names)
    {
        const std::size_t first = m_next;
        for (std::size_t i = 0; i < count; ++i)
            names[i] = m_names[first + i];
        m_next += count;
        if (allClaimed())
            m_workCv.notify_all();
        return first;
    }

    // Called with the lock held.
    void markReady(std::size_t first, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            m_ready[(first + i) % m_window] = 1;
        if (m_delivered >= first && m_delivered < first + count)
            m_deliverCv.notify_one();
    }

    // A single probe, timed: once the median of the last few took longer than a file in the
    // page cache ever does (a few microseconds; a disk read takes a hundred and more), all
    // threads start and take batches. The median, so that being preempted once is no reason.
    void probe(std::size_t index, const char *name, std::span<char> buffer)
    {
        const auto start = std::chrono::steady_clock::now();
        m_handlers.probed(index, name, probeAt(m_dirFd, name, buffer));
        const auto took = std::chrono::steady_clock::now() - start;
        const std::lock_guard lock(m_mutex);
        markReady(index, 1);
        if (m_wantAll)
            return;
        m_recent[m_recentCount++] = took;
        if (m_recentCount < m_recent.size())
            return;
        m_recentCount = 0;
        std::nth_element(m_recent.begin(), m_recent.begin() + m_recent.size() / 2, m_recent.end());
        if (m_recent[m_recent.size() / 2] > std::chrono::microseconds(50)) {
            m_wantAll = true;
            m_batched = true;
        }
    }

    // Threads to have now: the rest join once the files turned out slow.
    int threadsWanted()
    {
        const std::lock_guard lock(m_mutex);
        return m_wantAll ? m_spread.inFlight : m_spread.atFirst;
    }

    void work()
    {
        std::vector<char> buffer(m_tailBytes * std::size_t(m_spread.batch));
        std::optional<TailReads> reads; // a ring only for threads that read batches
        std::array<const char *, MaxProbeBatch> names{};
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_workCv.wait(lock, [this] { return m_stop || allClaimed() || claimable(); });
            if (m_stop || allClaimed())
                return;
            const std::size_t batch = m_batched ? std::size_t(m_spread.batch) : 1;
            const std::size_t count = std::min({batch, m_names.size() - m_next, m_delivered + m_window - m_next});
            const std::size_t first = claim(count, names);
            lock.unlock();
            if (count == 1)
                probe(first, names[0], std::span<char>(buffer.data(), m_tailBytes));
            else
                probeBatch(first, std::span(names.data(), count),
                           reads ? *reads : reads.emplace(unsigned(m_spread.batch)), buffer);
        }
    }

    void probeBatch(std::size_t first, std::span<const char *const> names, TailReads &reads, std::vector<char> &buffer)
    {
        std::vector<OpenedFile> files;
        files.reserve(names.size());
        std::vector<TailReads::Request> requests;
        for (std::size_t i = 0; i < names.size(); ++i) {
            files.push_back(openForProbe(m_dirFd, names[i], m_tailBytes));
            if (files.back().tailAt >= 0)
                requests.push_back(
                    {files.back().fd.get(), buffer.data() + i * m_tailBytes, m_tailBytes, files.back().tailAt});
        }
        reads.read(requests);
        std::size_t request = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            OpenedFile &file = files[i];
            if (file.tailAt >= 0 && requests[request++].done)
                file.probe.tail = buffer.data() + i * m_tailBytes;
            file.fd.reset();
            m_handlers.probed(first + i, names[i], file.probe);
        }
        const std::lock_guard lock(m_mutex);
        markReady(first, names.size());
    }

    // Hands over the files already probed, without waiting for the next.
    void deliverReady()
    {
        std::unique_lock lock(m_mutex);
        while (m_delivered < m_names.size() && m_ready[m_delivered % m_window]) {
            m_ready[m_delivered % m_window] = 0;
            lock.unlock();
            m_handlers.delivered(m_delivered);
            lock.lock();
            ++m_delivered;
            m_workCv.notify_one();
        }
    }

    void deliverAll()
    {
        std::vector<char> buffer(m_tailBytes);
        std::array<const char *, MaxProbeBatch> names{};
        startWorkers(threadsWanted());
        std::unique_lock lock(m_mutex);
        while (m_delivered < m_names.size()) {
            if (m_wantAll && int(m_workers.size()) + 1 < m_spread.inFlight) {
                lock.unlock();
                startWorkers(m_spread.inFlight);
                lock.lock();
            }
            char &ready = m_ready[m_delivered % m_window];
            if (ready) {
                ready = 0;
                lock.unlock();
                m_handlers.delivered(m_delivered);
                lock.lock();
                ++m_delivered;
                m_workCv.notify_one();
            } else if (claimable()) {
                const std::size_t index = claim(1, names);
                lock.unlock();
                probe(index, names[0], buffer);
                lock.lock();
            } else {
                m_deliverCv.wait(lock, [&] { return ready != 0; });
            }
        }
    }

    const int m_dirFd;
    const std::size_t m_tailBytes;
    const ProbeHandlers &m_handlers;
    const std::size_t m_window;
    ProbeSpread m_spread;
    NameBlocks m_blocks; // the calling thread's only
    std::vector<std::jthread> m_workers;

    std::mutex m_mutex;
    std::condition_variable m_workCv; // a file may be claimed, or all are
    std::condition_variable m_deliverCv; // the next file to deliver is ready
    std::vector<const char *> m_names; // listed so far
    bool m_listed = false; // all of them
    std::vector<char> m_ready; // per window slot
    std::size_t m_next = 0; // first file not yet claimed
    std::size_t m_delivered = 0; // files handed back to the caller
    std::array<std::chrono::steady_clock::duration, 32> m_recent{};
    std::size_t m_recentCount = 0;
    bool m_wantAll = false; // the files turned out slow: all threads
    // Batches only once the files turned out slow: warm, one file at a time hands each entry
    // over as soon as it is read.
    bool m_batched = false;
    bool m_stop = false;
};

} // namespace

void probeInOrder(FolderReader &folder, std::size_t tailBytes, const ProbeHandlers &handlers, const ProbeSpread &spread)
{
    OrderedProbe(folder.fd(), tailBytes, handlers, probeWindowFor(spread)).run(folder, spread);
}

} // namespace zv::probing
