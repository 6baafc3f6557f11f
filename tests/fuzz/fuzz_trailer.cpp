// The trailer reader on any bytes of any length, then a save over them: the media bytes in front
// of the trailer stay, the file grows by 914 bytes or not at all, and the save reads back.
#include "FuzzCheck.h"

#include "store/PictureTrailer.h"
#include "store/Windows1252.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <cstring>

using namespace zv;

namespace {

QString scratchPath()
{
    return QString::fromStdString(scratchFile("f"));
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = scratchPath();
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(bytes) == bytes.size());
    }
    const PictureReadResult read = ReadPictureInfo(path);
    FUZZ_CHECK(!read.error);
    const bool hasTrailer = size >= 914 && trailer::hasMarker(bytes.constData() + size - 914);
    if (hasTrailer) {
        const char *t = bytes.constData() + size - 914;
        // Every byte decodes to a character that encodes back to it.
        FUZZ_CHECK(trailer::encode(read.info) == QByteArray(t, 914));
        FUZZ_CHECK(trailer::decodeTrimmed(t) == trimmed(read.info));
    } else {
        FUZZ_CHECK(read.info == PictureInfo());
    }

    // Save texts taken from the input itself, Windows-1252 or not.
    PictureInfo info;
    const QString text = QString::fromUtf8(bytes.left(600));
    info.namen = text;
    info.ort = text.mid(3);
    info.datum = text.left(10);
    info.anlass = text.mid(7);
    info.bemerkungen = text;
    FUZZ_CHECK(!WritePictureInfo(path, info));
    const QByteArray after = fileBytes(path);
    const qsizetype media = hasTrailer ? bytes.size() - 914 : bytes.size();
    FUZZ_CHECK(after.size() == media + 914);
    FUZZ_CHECK(std::memcmp(after.constData(), bytes.constData(), static_cast<size_t>(media)) == 0);
    FUZZ_CHECK(after.mid(media) == trailer::encode(info));
    return 0;
}
