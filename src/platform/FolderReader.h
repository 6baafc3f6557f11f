#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct dirent;

namespace zv {

// One name of a folder listing. What it is comes from the listing where the file system says
// so, and from one look at the file otherwise (links are followed); the answer is kept.
class FolderEntry {
public:
    const char *name() const; // the raw bytes
    QString decodedName() const;
    bool isHidden() const { return name()[0] == '.'; }
    // Without asking the file system: false only for what surely is no regular file (a folder,
    // a pipe, a device), true also for links and where the file system gives no types.
    bool mayBeFile() const;
    bool isFile() const;
    bool isFolder() const;
    std::int64_t size() const; // of a file, 0 otherwise

private:
    friend class FolderReader;
    enum class Kind : unsigned char { Unknown, Missing, File, Folder, Other };
    void look() const;

    int m_folderFd = -1;
    const dirent *m_entry = nullptr;
    mutable Kind m_kind = Kind::Unknown;
    mutable std::int64_t m_size = 0;
};

// Reads a folder's names in the file system's order, leaving out "." and "..".
class FolderReader {
public:
    explicit FolderReader(const QByteArray &nativeFolder);
    explicit FolderReader(const QString &folder);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    // The next name, valid until the next call; nullptr at the end or on a failure (error()).
    const FolderEntry *next();
    // errno of opening or of the listing; 0 while all is well.
    int error() const { return m_error; }
    // For calls relative to the folder (openat, unlinkat) by the platform's own code.
    int fd() const;

private:
    void *m_dir = nullptr; // DIR
    int m_error = 0;
    FolderEntry m_current;
};

} // namespace zv
