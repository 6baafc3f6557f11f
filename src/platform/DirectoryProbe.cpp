#include "DirectoryProbe.h"

#include "FileCopy.h"

#include "FileAttributes.h"
#include "FileNames.h"
#include "ProbeFiles.h"
#include "ProbePipeline.h"
#include "ProbeTuning.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace zv {

namespace probing {

bool isLeftOut(const FolderEntry &entry)
{
    return !entry.mayBeFile() || (entry.isHidden() && isCopyTempName(QString::fromLatin1(entry.name())));
}

OpenedFile openForProbe(int dirFd, const char *name, std::size_t tailBytes)
{
    OpenedFile file;
    // Non-blocking, so a named pipe that slipped past the listing cannot stop the start-up;
    // the stat below then leaves it out.
    file.fd = FileHandle(::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st { };
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

} // namespace probing

int probeDirectory(const QByteArray &folder, int inFlight, std::size_t tailBytes, const ProbeHandlers &handlers)
{
    FolderReader reader(folder);
    if (!reader.isOpen())
        return reader.error();
    probing::probeInOrder(reader, tailBytes, handlers, probeSpreadFor(probeMachineFor(folder), inFlight));
    return reader.error();
}

FileProbe probeFile(const QByteArray &folder, const QByteArray &name, std::span<char> tail)
{
    const FileHandle dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isOpen())
        return {};
    return probing::probeAt(dir.get(), name.constData(), tail);
}

namespace {

// Calls visit with each regular file's raw name until it returns false.
void visitRegularFiles(const QByteArray &folder, bool *ok, const std::function<bool(const char *)> &visit)
{
    FolderReader reader(folder);
    if (ok)
        *ok = reader.isOpen();
    while (const FolderEntry *entry = reader.next()) {
        if (probing::isLeftOut(*entry) || !entry->isFile())
            continue;
        if (!visit(entry->name()))
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
