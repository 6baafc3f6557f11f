#include "FolderReader.h"

#include "FileNames.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace zv {

const char *FolderEntry::name() const
{
    return m_entry->d_name;
}

QString FolderEntry::decodedName() const
{
    return decodeFileName(m_entry->d_name);
}

bool FolderEntry::mayBeFile() const
{
    const unsigned char type = m_entry->d_type;
    return type == DT_REG || type == DT_LNK || type == DT_UNKNOWN;
}

void FolderEntry::look() const
{
    if (m_kind != Kind::Unknown)
        return;
    const unsigned char type = m_entry->d_type;
    if (type == DT_DIR) {
        m_kind = Kind::Folder;
        return;
    }
    if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) {
        m_kind = Kind::Other;
        return;
    }
    struct stat st { };
    if (::fstatat(m_folderFd, m_entry->d_name, &st, 0) != 0)
        m_kind = Kind::Missing;
    else if (!S_ISREG(st.st_mode))
        m_kind = S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
    else {
        m_kind = Kind::File;
        m_size = st.st_size;
    }
}

bool FolderEntry::isFile() const
{
    look();
    return m_kind == Kind::File;
}

bool FolderEntry::isFolder() const
{
    look();
    return m_kind == Kind::Folder;
}

std::int64_t FolderEntry::size() const
{
    look();
    return m_size;
}

FolderReader::FolderReader(const QByteArray &nativeFolder)
    : m_dir(::opendir(nativeFolder.constData()))
{
    if (!m_dir)
        m_error = errno;
    else
        m_current.m_folderFd = ::dirfd(static_cast<DIR *>(m_dir));
}

FolderReader::FolderReader(const QString &folder)
    : FolderReader(nativePath(folder))
{ }

FolderReader::~FolderReader()
{
    if (m_dir)
        ::closedir(static_cast<DIR *>(m_dir));
}

int FolderReader::fd() const
{
    return m_current.m_folderFd;
}

const FolderEntry *FolderReader::next()
{
    if (!m_dir)
        return nullptr;
    for (;;) {
        errno = 0;
        const dirent *e = ::readdir(static_cast<DIR *>(m_dir));
        if (!e) {
            m_error = errno;
            return nullptr;
        }
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        m_current.m_entry = e;
        m_current.m_kind = FolderEntry::Kind::Unknown;
        m_current.m_size = 0;
        return &m_current;
    }
}

} // namespace zv
