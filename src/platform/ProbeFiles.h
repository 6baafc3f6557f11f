#pragma once

// What the listing and the probing threads share: which entries count and how one is opened.

#include "DirectoryProbe.h"
#include "FileHandle.h"
#include "FolderReader.h"

#include <sys/types.h>

#include <cstddef>
#include <span>

struct dirent;

namespace zv::probing {

// Folders and special files are not album files, and neither is a copy still being written or
// one a killed import left behind.
bool isLeftOut(const FolderEntry &entry);

// A file opened and stat-ed, its tail not read yet.
struct OpenedFile {
    FileHandle fd;
    FileProbe probe;
    off_t tailAt = -1; // where the tail starts; -1: nothing to read
};

OpenedFile openForProbe(int dirFd, const char *name, std::size_t tailBytes);

FileProbe probeAt(int dirFd, const char *name, std::span<char> tail);

} // namespace zv::probing
