#include "PictureTrailer.h"

#include "Windows1252.h"

#include "platform/CanonicalPath.h"
#include "platform/ErrorTexts.h"
#include "platform/FileNames.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace zv {
namespace trailer {
namespace {

struct Field {
    QString PictureInfo::*member;
    int width;
};

// On-disk order after the marker.
constexpr Field kFields[] = {
    {&PictureInfo::namen, PictureInfo::NamenWidth},
    {&PictureInfo::ort, PictureInfo::OrtWidth},
    {&PictureInfo::datum, PictureInfo::DatumWidth},
    {&PictureInfo::anlass, PictureInfo::AnlassWidth},
    {&PictureInfo::bemerkungen, PictureInfo::BemerkungenWidth},
};

} // namespace

bool hasMarker(const char *trailerBytes)
{
    return std::memcmp(trailerBytes, kMarker, PictureInfo::MarkerWidth) == 0;
}

PictureInfo decode(const char *trailerBytes)
{
    PictureInfo info;
    info.marker = QString::fromLatin1(trailerBytes, PictureInfo::MarkerWidth);
    const char *p = trailerBytes + PictureInfo::MarkerWidth;
    for (const Field &field : kFields) {
        info.*field.member = windows1252::decode(p, field.width);
        p += field.width;
    }
    return info;
}

PictureInfo decodeTrimmed(const char *trailerBytes)
{
    PictureInfo info;
    info.marker = QStringLiteral("FileInfo"); // only called once the marker matched
    const char *p = trailerBytes + PictureInfo::MarkerWidth;
    for (const Field &field : kFields) {
        int length = field.width;
        while (length > 0 && p[length - 1] == ' ')
            --length;
        if (length > 0)
            info.*field.member = windows1252::decode(p, length);
        p += field.width;
    }
    return info;
}

QByteArray encode(const PictureInfo &info)
{
    QByteArray bytes(PictureInfo::TrailerSize, ' ');
    std::memcpy(bytes.data(), kMarker, PictureInfo::MarkerWidth);
    char *p = bytes.data() + PictureInfo::MarkerWidth;
    for (const Field &field : kFields) {
        const QByteArray text = windows1252::encode(info.*field.member);
        std::memcpy(p, text.constData(), std::min<qsizetype>(text.size(), field.width));
        p += field.width;
    }
    return bytes;
}

PictureInfo readTail(QByteArrayView fileEnd)
{
    if (fileEnd.size() < PictureInfo::TrailerSize)
        return {};
    const char *bytes = fileEnd.data() + fileEnd.size() - PictureInfo::TrailerSize;
    return hasMarker(bytes) ? decode(bytes) : PictureInfo();
}

Placement placeFor(qint64 fileSize, bool markerAtEnd)
{
    const bool overwrite = markerAtEnd && fileSize >= PictureInfo::TrailerSize;
    return {overwrite ? fileSize - PictureInfo::TrailerSize : fileSize, overwrite};
}

} // namespace trailer

namespace {

QString displayName(const QString &path)
{
    return displayFileName(QFileInfo(path).fileName());
}

TrailerError missing(const QString &path)
{
    return {TrailerError::Kind::Missing,
            QStringLiteral("Die Datei \"%1\" ist nicht mehr vorhanden.").arg(displayName(path))};
}

TrailerError cannotRead(const QString &path, TrailerError::Kind kind, const QString &reason)
{
    return {kind, QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2.").arg(displayName(path), reason)};
}

TrailerError leadsOut(const QString &path, const QString &folder)
{
    const QString folderName = QDir::cleanPath(QDir::current().absoluteFilePath(folder)).section(QLatin1Char('/'), -1);
    return {TrailerError::Kind::LeadsOut,
            QStringLiteral("Die Datei \"%1\" ist eine Verknüpfung auf eine Datei außerhalb des Ordners \"%2\" "
                           "und wird nicht verändert.")
                .arg(displayName(path), displayFileName(folderName))};
}

// The folder the name itself lies in, its last part not followed.
QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString openFailure(const RegularFile &file)
{
    return file.notRegular ? QStringLiteral("keine gewöhnliche Datei") : errorText(file.error);
}

} // namespace

PictureReadResult ReadPictureInfo(const QString &path)
{
    PictureReadResult result;
    const RegularFile file = openRegularFile(path, false);
    if (file.error == ENOENT) {
        result.error = missing(path);
        return result;
    }
    if (file.error || file.notRegular) {
        result.error = cannotRead(path, TrailerError::Kind::CannotOpen, openFailure(file));
        return result;
    }
    if (file.size < PictureInfo::TrailerSize)
        return result;
    char bytes[PictureInfo::TrailerSize];
    if (const int error =
            readAllAt(file.handle.get(), bytes, PictureInfo::TrailerSize, file.size - PictureInfo::TrailerSize)) {
        result.error = cannotRead(path, TrailerError::Kind::CannotRead, errorText(error));
        return result;
    }
    result.info = trailer::readTail(QByteArrayView(bytes, PictureInfo::TrailerSize));
    return result;
}

TrailerError refuseLinkOutOf(const QString &path, const QString &folder)
{
    return leadsOutOf(path, folder) ? leadsOut(path, folder) : TrailerError{};
}

TrailerError WritePictureInfo(const QString &path, PictureInfo &info, const QString &folder)
{
    const QString within = folder.isEmpty() ? folderOf(path) : folder;
    const RegularFile file = openRegularFile(path, true, within);
    if (file.outside)
        return leadsOut(path, within);
    if (file.error == ENOENT)
        return missing(path);
    if (file.error || file.notRegular) {
        return {TrailerError::Kind::CannotOpen, QStringLiteral("Die Datei \"%1\" kann nicht beschrieben werden: %2.")
                                                    .arg(displayName(path), openFailure(file))};
    }
    const int fd = file.handle.get();
    const qint64 size = file.size;
    char old[PictureInfo::TrailerSize];
    bool marked = false;
    if (size >= PictureInfo::TrailerSize) {
        if (const int error = readAllAt(fd, old, PictureInfo::TrailerSize, size - PictureInfo::TrailerSize))
            return cannotRead(path, TrailerError::Kind::CannotRead, errorText(error));
        marked = trailer::hasMarker(old);
    }
    const trailer::Placement place = trailer::placeFor(size, marked);

    info.marker = QString::fromLatin1(trailer::kMarker);
    const QByteArray bytes = trailer::encode(info);
    const EndWriteOutcome outcome = writeNearEnd(fd, bytes, place.offset, size, old, place.overwrite);
    if (!outcome.error)
        return {};
    QString message = QStringLiteral("Die Informationen konnten nicht in \"%1\" gespeichert werden: %2.")
                          .arg(displayName(path), errorText(outcome.error));
    if (!outcome.restored)
        message += QStringLiteral(" Die gespeicherten Informationen der Datei sind möglicherweise beschädigt.");
    return {TrailerError::Kind::CannotWrite, message};
}

} // namespace zv
