// Loading and listing a large album, against a bare system-call loop over the same files: warm,
// cold (as root) and through a file system that delays each operation like a network drive.
// Usage: bench_loading [files=100000] [folder] [--skip=warm,cold,latency,window]
//                      [--latency-files=10000] [--delay-us=1000]
#include "album/frmDaten.h"
#include "app/AppSettings.h"
#include "model/AlbumListModel.h"
#include "model/AlbumLoader.h"
#include "model/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/SkinFiles.h"
#include "store/PictureTrailer.h"

#include "../BenchAlbum.h"
#include "../BenchStats.h"
#include "latencyfs/LatencyMount.h"
#include <QApplication>
#include <QDir>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

long residentKB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// What loading cannot go below: readdir, open, fstat, pread of the last 914 bytes, close.
long long bareLoop(const QString &folder)
{
    long long checksum = 0;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    const int dfd = ::dirfd(dir);
    char buffer[914];
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_type == DT_DIR)
            continue;
        const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_CLOEXEC);
        struct stat st { };
        ::fstat(fd, &st);
        if (st.st_size >= 914 && ::pread(fd, buffer, 914, st.st_size - 914) == 914)
            checksum += buffer[0];
        ::close(fd);
    }
    ::closedir(dir);
    return checksum;
}

double processorMs()
{
    struct rusage use { };
    ::getrusage(RUSAGE_SELF, &use);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(use.ru_utime) + ms(use.ru_stime);
}

// Processor time (user and system, all threads) of the last timed run.
double g_lastProcessorMs = 0;

double timeMs(const std::function<void()> &run, const std::function<void()> &before = {})
{
    if (before)
        before();
    const double processor = processorMs();
    QElapsedTimer t;
    t.start();
    run();
    g_lastProcessorMs = processorMs() - processor;
    return t.nsecsElapsed() / 1e6;
}

std::vector<std::vector<double>> g_processorMs; // per contestant of the last alternate()

// Medians of alternating runs of each contestant, so load from other work hits all alike.
std::vector<double> alternate(int rounds, const std::vector<std::function<void()>> &runs,
                              const std::function<void()> &before = {})
{
    std::vector<std::vector<double>> times(runs.size());
    g_processorMs.assign(runs.size(), {});
    for (int round = 0; round < rounds; ++round)
        for (std::size_t i = 0; i < runs.size(); ++i) {
            times[i].push_back(timeMs(runs[i], before));
            g_processorMs[i].push_back(g_lastProcessorMs);
        }
    std::vector<double> medians;
    for (const auto &t : times)
        medians.push_back(median(t));
    return medians;
}

void ensureAlbum(const QString &folder, int count)
{
    if (!QFileInfo::exists(folder + QStringLiteral("/Bild_000000.jpg"))) {
        std::printf("creating %d files in %s ...\n", count, qPrintable(folder));
        std::fflush(stdout);
        makeAlbum(folder, count);
    }
}

bool dropCaches()
{
    ::sync();
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2;
}

// Wall clock against the baseline, and the median processor time of the same contestant.
void printRow(const char *what, double ms, double baseline, std::size_t contestant)
{
    std::printf("  %-36s %9.1f ms  %5.2f x   cpu %7.1f ms\n", what, ms, ms / baseline,
                median(g_processorMs[contestant]));
}

void printBaseline(double ms)
{
    std::printf("  %-36s %9.1f ms           cpu %7.1f ms\n", "bare loop, one thread", ms, median(g_processorMs[0]));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir temp;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.filePath(QStringLiteral("Bilder"));
    ensureAlbum(folder, count);

    QString skip;
    int latencyFiles = 10000;
    int delayUs = 1000;
    for (int i = 3; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--skip=")))
            skip = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--latency-files=")))
            latencyFiles = arg.mid(16).toInt();
        else if (arg.startsWith(QLatin1String("--delay-us=")))
            delayUs = arg.mid(11).toInt();
    }
    const auto wanted = [&](const char *part) { return !skip.contains(QLatin1String(part)); };
    std::printf("cores %u; ", std::thread::hardware_concurrency());
    std::fflush(stdout);
    QProcess::execute(QStringLiteral("uptime"), {});

    const long baseline = residentKB();
    const auto bare = [&](const QString &f) { return [f] { bareLoop(f); }; };
    const auto load = [&](const QString &f, int inFlight) { return [f, inFlight] { zv::loadAlbum(f, {}, inFlight); }; };

    if (wanted("warm")) {
        bareLoop(folder); // warm the cache
        zv::loadAlbum(folder);
        std::printf("warm local disk, %d files (median of 5, alternating)\n", count);
        const auto m = alternate(5, {bare(folder), load(folder, 0), load(folder, 1), load(folder, 2), load(folder, 4),
                                     load(folder, 8), load(folder, 32)});
        printBaseline(m[0]);
        printRow("loadAlbum (files in flight chosen)", m[1], m[0], 1);
        printRow("loadAlbum, 1 in flight", m[2], m[0], 2);
        printRow("loadAlbum, 2 in flight", m[3], m[0], 3);
        printRow("loadAlbum, 4 in flight", m[4], m[0], 4);
        printRow("loadAlbum, 8 in flight", m[5], m[0], 5);
        printRow("loadAlbum, 32 in flight", m[6], m[0], 6);
    }

    if (wanted("cold")) {
        if (!dropCaches()) {
            std::printf("cold local disk: skipped, cannot drop the page cache (needs root)\n");
        } else {
            std::printf("cold local disk, %d files (page cache dropped before each run; median of 3)\n", count);
            const auto m =
                alternate(3, {bare(folder), load(folder, 0), load(folder, 1), load(folder, 16), load(folder, 64)},
                          [] { dropCaches(); });
            printBaseline(m[0]);
            printRow("loadAlbum (files in flight chosen)", m[1], m[0], 1);
            printRow("loadAlbum, 1 in flight", m[2], m[0], 2);
            printRow("loadAlbum, 16 in flight", m[3], m[0], 3);
            printRow("loadAlbum, 64 in flight", m[4], m[0], 4);
        }
    }

    if (wanted("latency")) {
        const QString small = folder + QStringLiteral("-%1").arg(latencyFiles);
        ensureAlbum(small, latencyFiles);
        LatencyMount mount(small, delayUs);
        if (!mount.mounted()) {
            std::printf("latency file system: skipped, %s\n", qPrintable(mount.why()));
        } else {
            std::printf("latency file system, %d us per operation, %d files (median of 3)\n", delayUs, latencyFiles);
            const QString f = mount.path();
            // The kernel has seen none of the names yet: every open starts with a real lookup.
            const double first = timeMs(load(f, 0));
            std::printf("  %-36s %9.1f ms           cpu %7.1f ms\n", "loadAlbum, first after mounting", first,
                        g_lastProcessorMs);
            const auto m = alternate(3, {bare(f), load(f, 0), load(f, 8), load(f, 16), load(f, 32)});
            printBaseline(m[0]);
            printRow("loadAlbum (files in flight chosen)", m[1], m[0], 1);
            printRow("loadAlbum, 8 in flight", m[2], m[0], 2);
            printRow("loadAlbum, 16 in flight", m[3], m[0], 3);
            printRow("loadAlbum, 32 in flight", m[4], m[0], 4);
        }
        LatencyMount large(folder, delayUs);
        if (large.mounted()) {
            std::printf("latency file system, %d us per operation, %d files\n", delayUs, count);
            const double first = timeMs(load(large.path(), 0));
            std::printf("  %-36s %9.1f ms           cpu %7.1f ms\n", "loadAlbum, first after mounting", first,
                        g_lastProcessorMs);
            const auto m = alternate(3, {load(large.path(), 0)});
            std::printf("  %-36s %9.1f ms           cpu %7.1f ms  (median of 3 after it)\n",
                        "loadAlbum (files in flight chosen)", m[0], median(g_processorMs[0]));
        }
    }
    if (!wanted("window"))
        return 0;

    zv::Album album = zv::loadAlbum(folder);
    const long afterLoad = residentKB();
    std::printf("entries        : %8zu\n", album.size());
    std::printf("resident (load): %8.1f MB total, %.1f MB above the program before loading\n", afterLoad / 1024.0,
                (afterLoad - baseline) / 1024.0);

    zv::AlbumListModel model;
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(737, 137);
    view.show();
    std::vector<double> fills;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        model.fill(album);
        QApplication::processEvents();
        fills.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("model fill     : %8.1f ms (median of 5, shown in a QTreeView)\n", median(fills));

    // The window's own FillList: hides the list, fills, drives the progress bar, shows it again.
    zv::ProgramState state;
    const auto shell = zv::makeDesktopShell();
    const auto dialogs = zv::makeQtDialogs();
    zv::frmDaten window(zv::MainWindowServices{zv::AlbumPaths{temp.path()}, album, model, state, *shell, *dialogs},
                        zv::SkinFolder(temp.path(), zv::kDefaultSkin));
    window.show();
    QApplication::processEvents();
    std::vector<double> windowFills;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        window.FillList();
        QApplication::processEvents();
        windowFills.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("FillList       : %8.1f ms (median of 5, frmDaten shown)\n", median(windowFills));
    std::printf("resident (list): %8.1f MB total\n", residentKB() / 1024.0);
    return 0;
}
