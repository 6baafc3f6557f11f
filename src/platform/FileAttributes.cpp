#include "FileAttributes.h"

#include <QFile>

#include <sys/stat.h>

namespace zv {

bool isReadOnlyMode(unsigned int posixMode)
{
    return (posixMode & S_IWUSR) == 0;
}

int fileAttributes(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    int attributes = S_ISDIR(st.st_mode) ? DirectoryAttribute : ArchiveAttribute;
    if (isReadOnlyMode(st.st_mode))
        attributes |= ReadOnlyAttribute;
    return attributes;
}

bool setReadOnly(const QString &path, bool readOnly)
{
    QFile file(path);
    QFileDevice::Permissions perms = file.permissions();
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (readOnly)
        perms &= ~(writeBits | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    else
        perms |= writeBits;
    return file.setPermissions(perms);
}

} // namespace zv
