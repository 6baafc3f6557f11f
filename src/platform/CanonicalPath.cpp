#include "CanonicalPath.h"

#include "FileNames.h"

#include <QDir>

#include <cstdlib>

namespace zv {

QString canonicalPath(const QString &path)
{
    QString existing = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QString rest;
    for (;;) {
        // realpath on the bytes: QFileInfo would lose names that are not UTF-8.
        if (char *resolved = ::realpath(nativePath(existing).constData(), nullptr)) {
            QString result = decodeFileName(resolved);
            std::free(resolved);
            if (rest.isEmpty())
                return result;
            return result.endsWith(QLatin1Char('/')) ? result + rest : result + QLatin1Char('/') + rest;
        }
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0 || existing == QLatin1String("/"))
            return rest.isEmpty() ? existing : existing + QLatin1Char('/') + rest;
        const QString name = existing.mid(slash + 1);
        rest = rest.isEmpty() ? name : name + QLatin1Char('/') + rest;
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
}

bool isSameOrBelow(const QString &path, const QString &folder)
{
    if (path == folder)
        return true;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

bool leadsOutOf(const QString &path, const QString &folder)
{
    return !isSameOrBelow(canonicalPath(path), canonicalPath(folder));
}

} // namespace zv
