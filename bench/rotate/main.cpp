// What a lossless turn costs on a 24-megapixel camera JPEG: rotatePicture (header and EXIF read,
// blocks turned, EXIF rewritten, the file written, flushed and renamed into place) beside
// `jpegtran -rotate 90 -copy all` and a flush of its output, each from the page cache, in turns.
// Usage: bench_rotate [rounds=7] [folder=a temporary folder]  (prints medians in milliseconds)
#include "../BenchPhoto.h"
#include "../BenchStats.h"

#include "metadata/JpegTurn.h"
#include "metadata/MediaBytes.h"
#include "model/Album.h"
#include "model/ProgramState.h"
#include "operations/RotatePicture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double run(const QString &program, const QStringList &args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
    QTemporaryDir temp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bench-rotate-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/bench-rotate-XXXXXX"));
    QDir(temp.path()).mkdir(QStringLiteral("Bilder"));
    const QString original = temp.filePath(QStringLiteral("original.jpg"));
    if (!makePhoto(6000, 4000, 1).save(original, "JPEG", 90)) {
        std::fprintf(stderr, "no photo\n");
        return 1;
    }
    const QString album = temp.filePath(QStringLiteral("Bilder/bild.jpg"));
    const QString jpegtranOut = temp.filePath(QStringLiteral("jpegtran.jpg"));
    std::printf("24 MP JPEG, %lld bytes, %d rounds\n", QFile(original).size(), rounds);

    zv::Album entries;
    zv::ProgramState state;
    zv::AlbumContext context{zv::AlbumPaths{temp.path()}, entries, state, nullptr};
    std::vector<double> ours, plan, turn, theirs;
    for (int r = 0; r < rounds; ++r) {
        QFile::remove(album);
        QFile::copy(original, album);
        QFile::remove(jpegtranOut);
        {
            // The parts in memory, for where the time goes.
            const zv::MediaBytes bytes(album);
            QElapsedTimer t;
            t.start();
            const zv::JpegTurnPlan planned = zv::planJpegTurn(bytes.media(), zv::Turn::Right);
            plan.push_back(t.nsecsElapsed() / 1e6);
            t.restart();
            const zv::TurnedJpeg turned = zv::turnJpeg(bytes.media(), planned);
            turn.push_back(t.nsecsElapsed() / 1e6);
        }
        const auto theirsRound = [&] {
            theirs.push_back(
                run(QStringLiteral("jpegtran"), {"-rotate", "90", "-copy", "all", "-outfile", jpegtranOut, original})
                + run(QStringLiteral("sync"), {jpegtranOut}));
        };
        if (r % 2)
            theirsRound();
        QElapsedTimer t;
        t.start();
        const zv::RotateOutcome outcome =
            zv::rotatePicture(context, QStringLiteral("bild.jpg"), zv::Turn::Right, [] { return true; });
        ours.push_back(t.nsecsElapsed() / 1e6);
        if (outcome.result != zv::RotateOutcome::Result::Turned)
            std::fprintf(stderr, "not turned: %s\n", qPrintable(outcome.message));
        if (r % 2 == 0)
            theirsRound();
    }
    std::printf("rotatePicture               %8.1f ms  (plan %.1f ms, turn in memory %.1f ms)\n", median(ours),
                median(plan), median(turn));
    std::printf("jpegtran -copy all + sync   %8.1f ms\n", median(theirs));
    std::printf("ratio                       %8.2f  (goal <= 1.2)\n", median(ours) / median(theirs));
    return 0;
}
