#pragma once

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <span>

namespace zv {

// What the loader learns of one directory entry by opening it once.
struct FileProbe {
    enum class Found { Nothing, Unreadable, Readable }; // Nothing: gone, or not a regular file
    Found found = Found::Nothing;
    std::int64_t size = 0;
    bool readOnly = false;
    const char *tail = nullptr; // the file's last bytes when it has enough and they could be read
};

struct ProbeHandlers {
    // Once, on the calling thread, before the first file is opened: how many files may be
    // probed ahead of the last one delivered.
    std::function<void(std::size_t window)> started;
    // On any thread, for index < last delivered + window; probe.tail lives during the call only.
    std::function<void(std::size_t index, const char *encodedName, const FileProbe &probe)> probed;
    // On the calling thread, in listing order, after probed for the same index returned. The
    // first files come while the folder is still being listed.
    std::function<void(std::size_t index)> delivered;
    // Once, on the calling thread, when the listing is complete: the number of files. The files
    // listed last are opened only after this.
    std::function<void(std::size_t total)> listed;
};

// Files opened at once when the caller does not say: many on network and user-space file
// systems, where each open waits for a round trip; on local disks as many as there are cores,
// and many once the files turn out not to be in memory.
int probesInFlightFor(const QByteArray &folder);

// Lists a folder in the file system's order, leaving out entries the listing already shows to
// be special files, and opens each entry once for its size, mode and last tailBytes bytes,
// with up to inFlight threads (0: probesInFlightFor); on local disks each thread opens a few
// files and reads their tails together. Returns errno when the folder cannot be opened or its
// listing fails (what was listed until then is probed all the same), else 0.
int probeDirectory(const QByteArray &folder, int inFlight, std::size_t tailBytes, const ProbeHandlers &handlers);

// One file probed the same way; tail is the buffer for its last bytes.
FileProbe probeFile(const QByteArray &folder, const QByteArray &name, std::span<char> tail);

// Names of the regular files directly in a folder (links followed), in the file system's order.
QStringList listRegularFiles(const QByteArray &folder, bool *ok);

// Whether the folder holds at least one such file; reads only as far as the first.
bool hasRegularFile(const QByteArray &folder, bool *ok);

} // namespace zv
