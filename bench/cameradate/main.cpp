// Taking the camera's day for many files: (a) what a save of each costs today, the EXIF read
// with libexiv2 and a WritePictureInfo per file on one thread, against (b) takeCameraDate over
// the same number of fresh copies on a few threads.
// Usage: bench_cameradate [files=10000] [threads=ideal] [folder=current folder]  (prints ms)
#include "../BenchPhoto.h"

#include "metadata/ExivSession.h"
#include "operations/CameraDates.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include <exiv2/exiv2.hpp>

namespace {

// One photo with its moment, copied count times into folder.
QStringList makeCopies(const QString &folder, const QByteArray &photo, int count)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(photo) != photo.size())
            return {};
        paths << path;
    }
    return paths;
}

// Today: the user reads the date off the camera's data and saves it, file by file.
int readAndSave(const QStringList &paths, const QString &folder)
{
    int dated = 0;
    for (const QString &path : paths) {
        zv::PictureInfo info = zv::trimmed(zv::ReadPictureInfo(path).info);
        try {
            auto image = Exiv2::ImageFactory::open(zv::nativePath(path).toStdString());
            image->readMetadata();
            const auto found = image->exifData().findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
            if (found == image->exifData().end())
                continue;
            const QString moment = QString::fromStdString(found->toString());
            info.datum = moment.mid(8, 2) + QLatin1Char('.') + moment.mid(5, 2) + QLatin1Char('.') + moment.left(4);
        } catch (const Exiv2::AnyError &) {
            continue;
        }
        dated += !zv::WritePictureInfo(path, info, folder);
    }
    return dated;
}

int takeAll(const QStringList &paths, const QString &folder, int threads)
{
    std::atomic_int next = 0;
    std::atomic_int dated = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (int i; (i = next++) < paths.size();)
                dated += zv::takeCameraDate(paths[i], folder).result == zv::CameraDateResult::Result::Dated;
        });
    for (std::thread &w : workers)
        w.join();
    return dated;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int threads = argc > 2 && std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : QThread::idealThreadCount();
    QTemporaryDir dir(QString::fromLocal8Bit(argc > 3 ? argv[3] : ".") + QStringLiteral("/bench-cameradate-XXXXXX"));
    const QString one = dir.filePath(QStringLiteral("one.jpg"));
    if (!makePhoto(160, 120, 7).save(one, "JPEG", 80)
        || QProcess::execute(QStringLiteral("exiv2"),
                             {"-M", "set Exif.Photo.DateTimeOriginal Ascii 2024:07:14 09:30:00", one})
               != 0) {
        std::fprintf(stderr, "could not make the photo (exiv2 installed?)\n");
        return 1;
    }
    QFile photo(one);
    photo.open(QIODevice::ReadOnly);
    const QByteArray bytes = photo.readAll();
    const QString today = dir.filePath(QStringLiteral("a")), taken = dir.filePath(QStringLiteral("b")),
                  single = dir.filePath(QStringLiteral("c"));
    const QStringList a = makeCopies(today, bytes, files);
    const QStringList b = makeCopies(taken, bytes, files);
    const QStringList c = makeCopies(single, bytes, files);
    if (a.size() != files || b.size() != files || c.size() != files) {
        std::fprintf(stderr, "could not copy the photo\n");
        return 1;
    }
    zv::prepareExiv2();
    std::printf("%d JPEGs of %lld bytes with DateTimeOriginal\n", files, qint64(bytes.size()));

    // In ten rounds, each variant a tenth of its files in turn, so a slow spell of the disk
    // (other programs flushing) falls on all three alike.
    constexpr int kRounds = 10;
    double msA = 0, msB = 0, msC = 0;
    int datedA = 0, datedB = 0, datedC = 0;
    QElapsedTimer timer;
    for (int round = 0; round < kRounds; ++round) {
        const qsizetype from = files * round / kRounds, to = files * (round + 1) / kRounds;
        timer.start();
        datedA += readAndSave(a.mid(from, to - from), today);
        msA += double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        datedB += takeAll(b.mid(from, to - from), taken, threads);
        msB += double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        datedC += takeAll(c.mid(from, to - from), single, 1);
        msC += double(timer.nsecsElapsed()) / 1e6;
    }

    std::printf("(a) libexiv2 read + WritePictureInfo, 1 thread: %9.0f ms  (%d dated)\n", msA, datedA);
    std::printf("(b) takeCameraDate, %d threads:                %9.0f ms  (%d dated)\n", threads, msB, datedB);
    std::printf("    takeCameraDate, 1 thread:                  %9.0f ms  (%d dated)\n", msC, datedC);
    std::printf("ratio (b)/(a): %.2f   one thread: %.2f\n", msB / msA, msC / msA);
    return datedA == files && datedB == files && datedC == files ? 0 : 1;
}
