#include "PictureTrailer.h"

#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>

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

} // namespace trailer

namespace {

QString displayName(const QString &path)
{
    return QFileInfo(path).fileName();
}

TrailerError missing(const QString &path)
{
    return {TrailerError::Kind::Missing,
            QStringLiteral("Die Datei \"%1\" ist nicht mehr vorhanden.").arg(displayName(path))};
}

} // namespace

PictureReadResult ReadPictureInfo(const QString &path)
{
    PictureReadResult result;
    QFile file(path);
    if (!file.exists()) {
        result.error = missing(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = {TrailerError::Kind::CannotOpen,
                        QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(displayName(path), file.errorString())};
        return result;
    }
    const qint64 size = file.size();
    if (size < PictureInfo::TrailerSize)
        return result;
    char bytes[PictureInfo::TrailerSize];
    if (!file.seek(size - PictureInfo::TrailerSize)
        || file.read(bytes, PictureInfo::TrailerSize) != PictureInfo::TrailerSize) {
        result.error = {TrailerError::Kind::CannotRead,
                        QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                            .arg(displayName(path), file.errorString())};
        return result;
    }
    if (trailer::hasMarker(bytes))
        result.info = trailer::decode(bytes);
    return result;
}

TrailerError WritePictureInfo(const QString &path, PictureInfo &info)
{
    QFile file(path);
    // ExistingOnly: a file that vanished is reported, not recreated as a bare trailer.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        if (!file.exists())
            return missing(path);
        return {TrailerError::Kind::CannotOpen,
                QStringLiteral("Die Datei \"%1\" kann nicht beschrieben werden: %2")
                    .arg(displayName(path), file.errorString())};
    }
    const qint64 size = file.size();
    qint64 offset = size;
    if (size >= PictureInfo::TrailerSize) {
        char marker[PictureInfo::MarkerWidth];
        if (!file.seek(size - PictureInfo::TrailerSize)
            || file.read(marker, PictureInfo::MarkerWidth) != PictureInfo::MarkerWidth) {
            return {TrailerError::Kind::CannotRead,
                    QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                        .arg(displayName(path), file.errorString())};
        }
        if (trailer::hasMarker(marker))
            offset = size - PictureInfo::TrailerSize;
    }
    info.marker = QString::fromLatin1(trailer::kMarker);
    const QByteArray bytes = trailer::encode(info);
    if (!file.seek(offset) || file.write(bytes) != bytes.size() || !file.flush()) {
        return {TrailerError::Kind::CannotWrite,
                QStringLiteral("Die Informationen konnten nicht in \"%1\" gespeichert werden: %2")
                    .arg(displayName(path), file.errorString())};
    }
    return {};
}

} // namespace zv
