// What flushing costs a save: WritePictureInfo (pwrite and fdatasync in a forked child) against
// the same system calls in-process with and without the flush, for a first append and for an
// in-place overwrite.
// Usage: bench_store [runs=200] [folder=current folder]  (prints medians in milliseconds)
#include "../BenchStats.h"

#include "platform/FileNames.h"
#include "store/PictureTrailer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kMediaSize = 1'000'000;

// The writer's system calls in this process; without the flush it is the save as it was before.
void inProcessSave(const QByteArray &path, const QByteArray &trailer, bool flush)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    struct stat st { };
    ::fstat(fd, &st);
    char marker[8] = {};
    if (st.st_size >= 914)
        (void)!::pread(fd, marker, sizeof marker, st.st_size - 914);
    const qint64 offset = std::memcmp(marker, "FileInfo", 8) == 0 ? st.st_size - 914 : st.st_size;
    (void)!::pwrite(fd, trailer.constData(), trailer.size(), offset);
    if (flush)
        ::fdatasync(fd);
    ::close(fd);
}

void truncateToMedia(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    (void)!::ftruncate(fd, kMediaSize);
    ::fdatasync(fd);
    ::close(fd);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    QTemporaryDir dir(QString::fromLocal8Bit(argc > 2 ? argv[2] : ".") + QStringLiteral("/bench-store-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("bild.jpg"));
    const QByteArray native = zv::nativePath(path);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(kMediaSize, 'm'));
    }
    truncateToMedia(native);
    zv::PictureInfo info;
    info.ort = QStringLiteral("Köln");
    info.bemerkungen = QString(400, QLatin1Char('b'));
    const QByteArray trailer = zv::trailer::encode(info);

    std::vector<double> flushedAppend, flushedOverwrite, plainAppend, plainOverwrite, syncAppend, syncOverwrite;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        truncateToMedia(native);
        timer.start();
        zv::WritePictureInfo(path, info);
        flushedAppend.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        zv::WritePictureInfo(path, info);
        flushedOverwrite.push_back(timer.nsecsElapsed() / 1e6);

        truncateToMedia(native);
        timer.start();
        inProcessSave(native, trailer, true);
        syncAppend.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        inProcessSave(native, trailer, true);
        syncOverwrite.push_back(timer.nsecsElapsed() / 1e6);

        truncateToMedia(native);
        timer.start();
        inProcessSave(native, trailer, false);
        plainAppend.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        inProcessSave(native, trailer, false);
        plainOverwrite.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("save of a 1 MB file, median of %d runs, in %s\n", runs, qPrintable(dir.path()));
    std::printf("             WritePictureInfo   in-process, flushed   in-process, not flushed\n");
    std::printf("  append:    %13.3f ms   %16.3f ms   %20.3f ms\n", median(flushedAppend), median(syncAppend),
                median(plainAppend));
    std::printf("  overwrite: %13.3f ms   %16.3f ms   %20.3f ms\n", median(flushedOverwrite), median(syncOverwrite),
                median(plainOverwrite));
    return 0;
}
