#include "DirectoryProbe.h"

#include "FileCopy.h"

#include "FileAttributes.h"
#include "FileHandle.h"
#include "FileNames.h"
#include "TailReads.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zv {
namespace {

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool isSpecialFile(unsigned char type)
{
    return type == DT_DIR || type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK;
}

// Folders and special files are not album files, and neither is a copy still being written or
// one a killed import left behind.
bool isLeftOut(const dirent *e)
{
    return isSpecialFile(e->d_type) || (e->d_name[0] == '.' && isCopyTempName(QString::fromLatin1(e->d_name)));
}

// A file opened and stat-ed, its tail not read yet.
struct OpenedFile {
    FileHandle fd;
    FileProbe probe;
    off_t tailAt = -1; // where the tail starts; -1: nothing to read
};

OpenedFile openForProbe(int dirFd, const char *name, std::size_t tailBytes)
{
    OpenedFile file;
    // Non-blocking, so a named pipe that slipped past the listing cannot stop the start-up;
    // the stat below then leaves it out.
    file.fd = FileHandle(::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st {};
    if (!file.fd.isOpen()) {
        // A file the user may not read is still an album file, with empty information.
        if (::fstatat(dirFd, name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            return file;
        file.probe.found = FileProbe::Found::Unreadable;
    } else {
        if (::fstat(file.fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            file.fd.reset();
            return file;
        }
        file.probe.found = FileProbe::Found::Readable;
    }
    file.probe.size = st.st_size;
    file.probe.readOnly = isReadOnlyMode(st.st_mode);
    const auto want = static_cast<off_t>(tailBytes);
    if (file.fd.isOpen() && want > 0 && st.st_size >= want)
        file.tailAt = st.st_size - want;
    return file;
}

FileProbe probeAt(int dirFd, const char *name, std::span<char> tail)
{
    OpenedFile file = openForProbe(dirFd, name, tail.size());
    const auto want = static_cast<ssize_t>(tail.size());
    if (file.tailAt >= 0 && ::pread(file.fd.get(), tail.data(), tail.size(), file.tailAt) == want)
        file.probe.tail = tail.data();
    return file.probe;
}

// The names go into one buffer; a hundred thousand small allocations cost measurable time.
struct Listing {
    std::string names;
    std::vector<std::size_t> offsets;
    const char *at(std::size_t i) const { return names.c_str() + offsets[i]; }
};

// How the files are spread over threads.
struct Spread {
    int inFlight = 1;
    // Threads from the start; the rest join only once the probes turn out slow (a cold disk).
    // On warm local files more threads than cores cost more in hand-overs than they bring.
    int atFirst = 1;
    // Files a thread takes at once, their tails read together (TailReads).
    int batch = 1;
};

// Hands out the listed files to the threads in order and gives them back to the caller in the
// same order. The caller probes too whenever the next file to deliver is not ready yet, so one
// file in flight is the plain serial loop.
class OrderedProbe {
public:
    OrderedProbe(int dirFd, const Listing &listing, std::size_t tailBytes, const ProbeHandlers &handlers,
                 std::size_t window)
        : m_dirFd(dirFd), m_listing(listing), m_tailBytes(tailBytes), m_handlers(handlers),
          m_total(listing.offsets.size()), m_window(window), m_ready(window, 0)
    {
    }

    void run(Spread spread)
    {
        m_spread = spread;
        try {
            m_batched = spread.atFirst >= spread.inFlight;
            startWorkers(spread.atFirst);
            deliverAll();
        } catch (...) {
            stopWorkers();
            throw;
        }
        stopWorkers();
    }

private:
    bool claimable() const { return m_next < m_total && m_next < m_delivered + m_window; }

    void claimed()
    {
        if (++m_next == m_total)
            m_workCv.notify_all();
    }

    // Up to count threads in all, the caller included.
    void startWorkers(int count)
    {
        while (int(m_workers.size()) + 1 < std::min(count, m_spread.inFlight) && m_workers.size() + 1 < m_total)
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

    void probe(std::size_t index, std::span<char> buffer)
    {
        m_handlers.probed(index, m_listing.at(index), probeAt(m_dirFd, m_listing.at(index), buffer));
        const std::lock_guard lock(m_mutex);
        m_ready[index % m_window] = 1;
        if (index == m_delivered)
            m_deliverCv.notify_one();
    }

    void work()
    {
        std::vector<char> buffer(m_tailBytes * std::size_t(m_spread.batch));
        std::optional<TailReads> reads; // a ring only for threads that read batches
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_workCv.wait(lock, [this] { return m_stop || m_next >= m_total || claimable(); });
            if (m_stop || m_next >= m_total)
                return;
            const std::size_t first = m_next;
            const std::size_t batch = m_batched ? std::size_t(m_spread.batch) : 1;
            const std::size_t count = std::min({batch, m_total - first, m_delivered + m_window - first});
            m_next += count - 1;
            claimed();
            lock.unlock();
            if (count == 1)
                probe(first, std::span<char>(buffer.data(), m_tailBytes));
            else
                probeBatch(first, count, reads ? *reads : reads.emplace(unsigned(m_spread.batch)), buffer);
        }
    }

    void probeBatch(std::size_t first, std::size_t count, TailReads &reads, std::vector<char> &buffer)
    {
        std::vector<OpenedFile> files;
        files.reserve(count);
        std::vector<TailReads::Request> requests;
        for (std::size_t i = 0; i < count; ++i) {
            files.push_back(openForProbe(m_dirFd, m_listing.at(first + i), m_tailBytes));
            if (files.back().tailAt >= 0)
                requests.push_back({files.back().fd.get(), buffer.data() + i * m_tailBytes, m_tailBytes,
                                    files.back().tailAt});
        }
        reads.read(requests);
        std::size_t request = 0;
        for (std::size_t i = 0; i < count; ++i) {
            OpenedFile &file = files[i];
            if (file.tailAt >= 0 && requests[request++].done)
                file.probe.tail = buffer.data() + i * m_tailBytes;
            file.fd.reset();
            m_handlers.probed(first + i, m_listing.at(first + i), file.probe);
        }
        const std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < count; ++i)
            m_ready[(first + i) % m_window] = 1;
        if (m_delivered >= first && m_delivered < first + count)
            m_deliverCv.notify_one();
    }

    // Probes on the calling thread; starts all threads when the median of its last few files
    // took longer than a file in the page cache ever does (a few microseconds; a disk read
    // takes a hundred and more). The median, so that being preempted once is no reason.
    void probeHere(std::size_t index, std::span<char> buffer)
    {
        const auto start = std::chrono::steady_clock::now();
        probe(index, buffer);
        if (int(m_workers.size()) + 1 >= m_spread.inFlight)
            return;
        m_recent[m_recentCount++] = std::chrono::steady_clock::now() - start;
        if (m_recentCount < m_recent.size())
            return;
        m_recentCount = 0;
        std::nth_element(m_recent.begin(), m_recent.begin() + m_recent.size() / 2, m_recent.end());
        if (m_recent[m_recent.size() / 2] > std::chrono::microseconds(50)) {
            {
                const std::lock_guard lock(m_mutex);
                m_batched = true;
            }
            startWorkers(m_spread.inFlight);
        }
    }

    void deliverAll()
    {
        std::vector<char> buffer(m_tailBytes);
        std::unique_lock lock(m_mutex);
        while (m_delivered < m_total) {
            char &ready = m_ready[m_delivered % m_window];
            if (ready) {
                ready = 0;
                lock.unlock();
                m_handlers.delivered(m_delivered);
                lock.lock();
                ++m_delivered;
                m_workCv.notify_one();
            } else if (claimable()) {
                const std::size_t index = m_next;
                claimed();
                lock.unlock();
                probeHere(index, buffer);
                lock.lock();
            } else {
                m_deliverCv.wait(lock, [&] { return ready != 0; });
            }
        }
    }

    const int m_dirFd;
    const Listing &m_listing;
    const std::size_t m_tailBytes;
    const ProbeHandlers &m_handlers;
    const std::size_t m_total;
    const std::size_t m_window;
    Spread m_spread;
    std::array<std::chrono::steady_clock::duration, 32> m_recent{};
    std::size_t m_recentCount = 0;
    std::vector<std::jthread> m_workers;

    std::mutex m_mutex;
    std::condition_variable m_workCv;    // a file may be claimed, or all are
    std::condition_variable m_deliverCv; // the next file to deliver is ready
    std::vector<char> m_ready;           // per window slot
    std::size_t m_next = 0;              // first file not yet claimed
    std::size_t m_delivered = 0;         // files handed back to the caller
    // Batches only once the files turned out slow: warm, one file at a time hands each entry
    // over as soon as it is read.
    bool m_batched = false;
    bool m_stop = false;
};

bool isRemoteOrUserSpace(long type)
{
    switch (static_cast<unsigned long>(type) & 0xffffffffUL) {
    case 0x6969:     // nfs
    case 0x517b:     // smb
    case 0xfe534d42: // smb2
    case 0xff534d42: // cifs
    case 0x65735546: // fuse (sshfs, rclone, gvfs, ...)
    case 0x01021997: // 9p
    case 0x00c36400: // ceph
    case 0x5346414f: // afs
    case 0x73757245: // coda
        return true;
    default:
        return false;
    }
}

// Files each thread keeps open while their tails are read together: as many as the limit of
// open files leaves room for (Qt and the rest of the program keep theirs).
int batchFor(int threads)
{
    struct rlimit limit {};
    const rlim_t open = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 ? limit.rlim_cur : 1024;
    const rlim_t room = open == RLIM_INFINITY ? 4096 : open / 2;
    return static_cast<int>(std::clamp<rlim_t>(room / rlim_t(std::max(threads, 1)), 1, 16));
}

bool isRemote(const QByteArray &folder)
{
    struct statfs fs {};
    return ::statfs(folder.constData(), &fs) == 0 && isRemoteOrUserSpace(fs.f_type);
}

Spread spreadFor(const QByteArray &folder, int inFlight)
{
    // Over a network every open, stat and read waits for a round trip while the CPU idles:
    // 10,000 files at 1 ms per operation take 34 s one by one, 2.1 s with 16 at once, 1.1 s
    // with 32 and 0.9 s with 64 (bench/loading); beyond that the two cores are the limit.
    // One file per thread there: a batch would wait for its slowest round trip.
    if (isRemote(folder))
        return inFlight > 0 ? Spread{inFlight, inFlight, 1} : Spread{64, 64, 1};
    // A cold local disk gains from many reads queued at the device as much (20,000 files:
    // 0.97 x the serial loop with 2 threads, 0.35 x with 32), warm files only from as many
    // threads as cores (more: 1.7 x to 2.3 x the serial loop on two cores). The kernel time
    // per cold file then is the limit on two cores; batches of reads halve it (io_uring).
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const Spread spread = inFlight > 0 ? Spread{inFlight, inFlight} : Spread{32, std::min(cores, 32)};
    return {spread.inFlight, spread.atFirst, spread.inFlight > 1 ? batchFor(spread.inFlight) : 1};
}

} // namespace

int probesInFlightFor(const QByteArray &folder)
{
    return spreadFor(folder, 0).inFlight;
}

bool probeDirectory(const QByteArray &folder, int inFlight, std::size_t tailBytes, const ProbeHandlers &handlers)
{
    const DirHandle dir(::opendir(folder.constData()));
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir.get());

    // One pass over the folder first: the caller needs the count before the first file.
    Listing listing;
    while (const dirent *e = ::readdir(dir.get())) {
        if (isLeftOut(e))
            continue;
        listing.offsets.push_back(listing.names.size());
        listing.names.append(e->d_name).push_back('\0');
    }
    const Spread spread = spreadFor(folder, inFlight);
    // Room to run on past a file whose thread was put to sleep by other work on the machine:
    // with a window of only a few files per thread the caller would stop with it. Small next
    // to the album itself.
    const std::size_t window = std::max<std::size_t>(std::size_t(spread.inFlight) * std::max(16, 4 * spread.batch), 1024);
    handlers.listed(listing.offsets.size(), window);
    OrderedProbe(dirFd, listing, tailBytes, handlers, window).run(spread);
    return true;
}

FileProbe probeFile(const QByteArray &folder, const QByteArray &name, std::span<char> tail)
{
    const FileHandle dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isOpen())
        return {};
    return probeAt(dir.get(), name.constData(), tail);
}

namespace {

// Calls visit with each regular file's raw name until it returns false.
void visitRegularFiles(const QByteArray &folder, bool *ok, const std::function<bool(const char *)> &visit)
{
    const DirHandle dir(::opendir(folder.constData()));
    if (ok)
        *ok = dir != nullptr;
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent *e = ::readdir(dir.get())) {
        if (isLeftOut(e))
            continue;
        if (e->d_type != DT_REG) { // links and file systems without types: ask
            struct stat st {};
            if (::fstatat(dirFd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
        }
        if (!visit(e->d_name))
            return;
    }
}

} // namespace

QStringList listRegularFiles(const QByteArray &folder, bool *ok)
{
    QStringList names;
    visitRegularFiles(folder, ok, [&](const char *name) {
        names << decodeFileName(name);
        return true;
    });
    return names;
}

bool hasRegularFile(const QByteArray &folder, bool *ok)
{
    bool found = false;
    visitRegularFiles(folder, ok, [&](const char *) {
        found = true;
        return false;
    });
    return found;
}

} // namespace zv
