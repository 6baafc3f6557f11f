// Start-up of the real program, from process start to the filled list on screen, on an album of
// many files, warm and cold (as root), and its resident memory then and once it has settled.
// Run under a display: xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/startup/bench_startup
// Usage: bench_startup [files=100000] [media folder] [--runs=3] [--skip=warm,cold,small]
// The program prints its milestones on the zv.startup logging category (src/program).
#include "../BenchAlbum.h"
#include "../BenchStats.h"
#include "store/PictureTrailer.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir() ? !QDir().mkpath(target) : !QFile::copy(path, target))
            return false;
    }
    return true;
}

// An album folder as the build lays it out, with the media folder linked in.
bool layOut(const QString &albumFolder, const QString &mediaFolder)
{
    const QFileInfo program(QStringLiteral(ZV_ALBUM_PROGRAM));
    const QString source = program.absolutePath();
    QDir().mkpath(albumFolder);
    return QFile::copy(program.absoluteFilePath(), albumFolder + QStringLiteral("/zidoverev"))
           && copyTree(source + QStringLiteral("/Skins"), albumFolder + QStringLiteral("/Skins"))
           && copyTree(source + QStringLiteral("/Hilfe"), albumFolder + QStringLiteral("/Hilfe"))
           && QFile::link(mediaFolder, albumFolder + QStringLiteral("/Bilder"));
}

QByteArray procField(qint64 pid, const char *file, const QByteArray &key)
{
    QFile status(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed();
    return {};
}

double residentMB(qint64 pid)
{
    return procField(pid, "status", "VmRSS:").split(' ').first().toDouble() / 1024.0;
}

// User and system time of the whole process so far.
double processorMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble(); // utime, stime
    return ticks * 1000.0 / double(::sysconf(_SC_CLK_TCK));
}

bool dropCaches()
{
    ::sync();
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2;
}

void printLoad()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    load.open(QIODevice::ReadOnly);
    std::printf("load average: %s", load.readLine().constData());
}

struct Run {
    std::map<std::string, double> milestones; // ms after process start, by the line's text
    double filledMs = -1;
    double processorMs = -1; // at the filled list
    double residentMB = -1; // at the filled list
    double settledMB = -1; // two seconds later: the first entry's preview is open
};

Run startOnce(const QString &albumFolder)
{
    Run run;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("zv.startup.info=true"));
    program.setProcessEnvironment(env);
    program.setProgram(albumFolder + QStringLiteral("/zidoverev"));
    program.setWorkingDirectory(albumFolder);
    program.setReadChannel(QProcess::StandardError);
    QElapsedTimer clock;
    clock.start();
    program.start();
    if (!program.waitForStarted(10000))
        return run;
    QByteArray pending;
    while (run.filledMs < 0 && clock.elapsed() < 120000 && program.state() == QProcess::Running) {
        program.waitForReadyRead(100);
        pending += program.readAllStandardError();
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (!line.startsWith("zv.startup: "))
                continue;
            const double at = clock.nsecsElapsed() / 1e6;
            const QByteArray what = line.mid(12, line.indexOf(" after ") - 12);
            run.milestones[what.toStdString()] = at;
            if (what == "list filled") {
                run.filledMs = at;
                run.processorMs = processorMs(program.processId());
                run.residentMB = residentMB(program.processId());
            }
        }
    }
    if (run.filledMs >= 0) {
        QThread::msleep(2000);
        run.settledMB = residentMB(program.processId());
        if (program.state() != QProcess::Running || run.settledMB <= 0)
            std::printf("  the program ended within 2 s of the filled list (%s %d): %s\n",
                        program.exitStatus() == QProcess::CrashExit ? "crashed, signal" : "exit code",
                        program.exitCode(), program.readAllStandardError().right(300).constData());
    }
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
    }
    return run;
}

void report(const char *title, const QString &albumFolder, int runs, const std::function<void()> &before = {})
{
    std::printf("%s (median of %d)\n", title, runs);
    printLoad();
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        all.push_back(startOnce(albumFolder));
        if (all.back().filledMs < 0) {
            std::printf("  the program did not report a filled list\n");
            return;
        }
    }
    const auto med = [&](auto field) {
        std::vector<double> v;
        for (const Run &r : all)
            v.push_back(field(r));
        return median(v);
    };
    for (const char *m : {"start-up window shown", "GL driver loaded", "main window requested", "main window made",
                          "album loaded, list filling"})
        std::printf("  %-34s %8.1f ms\n", m, med([&](const Run &r) {
                        const auto it = r.milestones.find(m);
                        return it == r.milestones.end() ? -1.0 : it->second;
                    }));
    std::printf("  %-34s %8.1f ms   cpu %7.1f ms\n", "list filled (from process start)",
                med([](const Run &r) { return r.filledMs; }), med([](const Run &r) { return r.processorMs; }));
    std::printf("  %-34s %8.1f MB\n", "resident at the filled list", med([](const Run &r) { return r.residentMB; }));
    std::printf("  %-34s %8.1f MB\n", "resident 2 s later", med([](const Run &r) { return r.settledMB; }));
    printLoad();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int count = 100000;
    QString media;
    QString skip;
    int runs = 3;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--skip=")))
            skip = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--runs=")))
            runs = std::max(1, arg.mid(7).toInt());
        else if (positional++ == 0)
            count = arg.toInt();
        else
            media = arg;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::printf("no display: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"\n");
        return 2;
    }
    QTemporaryDir temp;
    if (media.isEmpty())
        media = temp.filePath(QStringLiteral("Bilder-%1").arg(count));
    if (!QFileInfo::exists(media + QStringLiteral("/Bild_000000.jpg"))) {
        std::printf("creating %d files in %s ...\n", count, qPrintable(media));
        std::fflush(stdout);
        makeAlbum(media, count);
    }
    const QString album = temp.filePath(QStringLiteral("album"));
    if (!layOut(album, QFileInfo(media).absoluteFilePath())) {
        std::printf("cannot lay out the album folder in %s\n", qPrintable(album));
        return 1;
    }
    std::printf("cores %d; album %s, %d files\n", QThread::idealThreadCount(), qPrintable(media), count);
    const auto wanted = [&](const char *part) { return !skip.contains(QLatin1String(part)); };

    if (wanted("warm")) {
        startOnce(album); // the program, its libraries and the files into the page cache
        report("warm", album, runs);
    }
    if (wanted("cold")) {
        if (!dropCaches())
            std::printf("cold: skipped, cannot drop the page cache (needs root)\n");
        else
            report("cold: page cache dropped before each start (program and libraries too)", album, runs,
                   [] { dropCaches(); });
    }
    if (wanted("small")) {
        const QString smallMedia = temp.filePath(QStringLiteral("Bilder-6"));
        makeAlbum(smallMedia, 6);
        const QString smallAlbum = temp.filePath(QStringLiteral("album-6"));
        layOut(smallAlbum, smallMedia);
        startOnce(smallAlbum);
        report("warm, 6 files", smallAlbum, runs);
    }
    return 0;
}
