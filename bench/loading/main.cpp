// Loading and listing a large album, against a bare system-call loop over the same files.
// Usage: bench_loading [files=100000] [folder]  (prints figures; warm cache)
#include "app/AlbumListModel.h"
#include "album/frmDaten.h"
#include "app/AppSettings.h"
#include "app/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/SkinFiles.h"
#include "app/AlbumLoader.h"
#include "store/PictureTrailer.h"

#include <QApplication>
#include <QDir>
#include "../BenchStats.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

void makeAlbum(const QString &folder, int count)
{
    QDir().mkpath(folder);
    const char *extensions[] = {"jpg", "JPG", "mpg", "avi", "gif", "txt"};
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/Bild_%2.%3").arg(folder).arg(i, 6, 10, QLatin1Char('0')).arg(QLatin1String(extensions[i % 6]));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(200 + (i * 7919) % 3000, 'x'));
        f.close();
        if (i % 2 == 0) {
            zv::PictureInfo info;
            info.namen = QStringLiteral("Person %1").arg(i);
            info.ort = QStringLiteral("Ort %1").arg(i % 97);
            info.datum = QStringLiteral("01.01.2000");
            info.anlass = QStringLiteral("Anlass");
            zv::WritePictureInfo(path, info);
        }
    }
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
        struct stat st {};
        ::fstat(fd, &st);
        if (st.st_size >= 914 && ::pread(fd, buffer, 914, st.st_size - 914) == 914)
            checksum += buffer[0];
        ::close(fd);
    }
    ::closedir(dir);
    return checksum;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir temp;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.filePath(QStringLiteral("Bilder"));
    if (!QFileInfo::exists(folder + QStringLiteral("/Bild_000000.jpg"))) {
        std::printf("creating %d files in %s ...\n", count, qPrintable(folder));
        makeAlbum(folder, count);
    }

    const long baseline = residentKB();
    bareLoop(folder); // warm the cache
    zv::loadAlbum(folder);
    std::vector<double> bare, loader;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        bareLoop(folder);
        bare.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        const zv::Album album = zv::loadAlbum(folder);
        loader.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("bare loop      : %8.1f ms (median of 5)\n", median(bare));
    std::printf("loadAlbum      : %8.1f ms (median of 5)\n", median(loader));
    std::printf("ratio          : %8.2f x\n", median(loader) / median(bare));

    zv::Album album = zv::loadAlbum(folder);
    const long afterLoad = residentKB();
    std::printf("entries        : %8zu\n", album.size());
    std::printf("resident (load): %8.1f MB total, %.1f MB above the program before loading\n",
                afterLoad / 1024.0, (afterLoad - baseline) / 1024.0);

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
