#include "SkinPreview.h"

#include "platform/FileReads.h"
#include "platform/FolderReader.h"
#include "platform/PathStatus.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace zv {
namespace {

// No skin picture is this large; a file that is would only tie up the window.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxPixels = 100'000'000;

// Skins are made on systems that ignore case, so "hintergrund.JPG" counts as well.
QString findPreview(const QString &folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (pathStatus(prefix + kSkinPreviewFile).isFile())
        return prefix + kSkinPreviewFile;
    FolderReader reader(prefix);
    while (const FolderEntry *entry = reader.next()) {
        const QString name = entry->decodedName();
        if (name.compare(kSkinPreviewFile, Qt::CaseInsensitive) == 0)
            return prefix + name;
    }
    return {};
}

} // namespace

QImage LoadSkinPreview(const QString &skinFolder, const QSize &box)
{
    const QString path = findPreview(skinFolder);
    if (path.isEmpty())
        return {};
    QByteArray bytes = readSmallFile(path, kMaxFileBytes).value_or(QByteArray());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize natural = reader.size();
    if (natural.isEmpty() || qint64(natural.width()) * natural.height() > kMaxPixels)
        return {};
    if (!box.isEmpty())
        reader.setScaledSize(natural.scaled(box, Qt::KeepAspectRatio)); // JPEGs scale while decoding
    return reader.read();
}

} // namespace zv
