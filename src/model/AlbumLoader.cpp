#include "AlbumLoader.h"

#include "platform/DirectoryProbe.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"

#include <array>
#include <vector>

namespace zv {
namespace {

std::optional<AlbumEntry> entryFor(QString name, const FileProbe &probe)
{
    if (probe.found == FileProbe::Found::Nothing)
        return std::nullopt;
    AlbumEntry entry;
    entry.name = std::move(name);
    entry.kind = mediaKindForFile(entry.name);
    entry.sizeKB = sizeInKB(probe.size);
    entry.attributes = ArchiveAttribute | (probe.readOnly ? ReadOnlyAttribute : 0);
    if (probe.tail && trailer::hasMarker(probe.tail))
        entry.info = trailer::decodeTrimmed(probe.tail);
    return entry;
}

} // namespace

QStringList listMediaFiles(const QString &folder, bool *ok)
{
    return listRegularFiles(nativePath(folder), ok);
}

bool hasMediaFiles(const QString &folder, bool *ok)
{
    return hasRegularFile(nativePath(folder), ok);
}

Album loadAlbum(const QString &mediaFolder, const LoadProgress &progress, int inFlight, int *folderError)
{
    Album album;
    // Entries wait here between the thread that read them and their turn in the album; the
    // window keeps this to a few per thread.
    std::vector<std::optional<AlbumEntry>> waiting;
    int total = -1; // not listed yet
    int delivered = 0;
    ProbeHandlers handlers;
    handlers.started = [&](std::size_t window) { waiting.resize(window); };
    handlers.probed = [&](std::size_t index, const char *encodedName, const FileProbe &probe) {
        waiting[index % waiting.size()] = entryFor(decodeFileName(encodedName), probe);
    };
    handlers.delivered = [&](std::size_t index) {
        std::optional<AlbumEntry> &entry = waiting[index % waiting.size()];
        if (entry)
            album.append(std::move(*entry));
        entry.reset();
        delivered = static_cast<int>(index) + 1;
        if (progress && total >= 0)
            progress(delivered, total);
    };
    handlers.listed = [&](std::size_t count) {
        total = static_cast<int>(count);
        album.reserve(count);
        if (!progress)
            return;
        progress(0, total);
        if (delivered > 0) // the files handed over while the listing went on, at once
            progress(delivered, total);
    };
    const int error = probeDirectory(nativePath(mediaFolder), inFlight, PictureInfo::TrailerSize, handlers);
    if (folderError)
        *folderError = error;
    return album;
}

std::optional<AlbumEntry> loadEntry(const QString &folder, const QString &name)
{
    std::array<char, PictureInfo::TrailerSize> tail;
    return entryFor(name, probeFile(nativePath(folder), nativePath(name), tail));
}

} // namespace zv
