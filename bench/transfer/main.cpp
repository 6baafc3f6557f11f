// Import against cp, the folder tree and the file list on large folders, and a small import
// into a large album. Usage: bench_transfer [files=200] [MB per file=20] [work folder]
// Prints figures; the work folder (default: a temporary folder under the current one) must
// hold twice files x MB.
#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "operations/AnswerQuestions.h"
#include "operations/ImportRun.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"
#include "transfer/FolderFiles.h"
#include "transfer/FolderTreeView.h"
#include "transfer/frmExplorer.h"

#include "../BenchStats.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zv;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::write(fd, bytes.constData(), size_t(bytes.size()));
    ::close(fd);
}

double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

class CountingSource : public FolderSource {
public:
    std::unique_ptr<FolderSource> real = makeSystemFolderSource();
    mutable std::atomic_int reads{0};
    SubFolders subfolders(const QString &path) const override
    {
        ++reads;
        return real->subfolders(path);
    }
};

class RunSettings final : public SettingsStore {
public:
    QString value(const QString &, const QString &, const QString &fallback) const override { return fallback; }
    void setValue(const QString &, const QString &, const QString &) override { }
};

void importAgainstCp(const QString &work, int files, int mb)
{
    const QString src = work + QStringLiteral("/quelle"), viaCp = work + QStringLiteral("/cp");
    const QString album = work + QStringLiteral("/album");
    QDir().mkpath(src);
    QDir().mkpath(viaCp);
    QDir().mkpath(album + QStringLiteral("/Bilder"));
    QByteArray block(qsizetype(mb) << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < block.size(); i += 4)
        *reinterpret_cast<quint32 *>(block.data() + i) = QRandomGenerator::global()->generate();
    QStringList sources;
    for (int i = 0; i < files; ++i) {
        block.replace(0, 4, QByteArray::number(i).rightJustified(4, '0'));
        sources << QStringLiteral("%1/Film_%2.avi").arg(src).arg(i, 3, 10, QLatin1Char('0'));
        writeFile(sources.last(), block);
    }
    ::sync(); // the sources on disk before either copy starts
    std::printf("import vs cp: %d files x %d MB (%.1f GB), same disk; rounds cp, import, import, cp\n", files, mb,
                files * mb / 1024.0);
    // The order matters on this disk (the first writer after a quiet spell is fastest), so the
    // two alternate and each figure is the mean of two rounds.
    std::vector<double> cp, cpSync, import;
    for (const bool isCp : {true, false, false, true}) {
        QElapsedTimer t;
        t.start();
        if (isCp) {
            QProcess::execute(QStringLiteral("cp"), sources + QStringList{viaCp});
            cp.push_back(seconds(t));
            ::sync();
            cpSync.push_back(seconds(t));
            QDir(viaCp).removeRecursively();
            QDir().mkpath(viaCp);
        } else {
            Album a;
            const auto drives = makeSystemDrives();
            RunSettings settings;
            FixedAnswer all(QStringLiteral("ja"));
            ImportRun run({AlbumPaths{album}, a, nullptr, *drives, settings, all}, sources, {});
            run.begin();
            const SyncOutcome outcome =
                runNow(run, [](const QString &, const QString &text) { std::printf("  %s\n", qPrintable(text)); });
            import.push_back(seconds(t));
            if (outcome.failed)
                std::printf("  %d failed\n", outcome.failed);
            QDir(album + QStringLiteral("/Bilder")).removeRecursively();
            QDir().mkpath(album + QStringLiteral("/Bilder"));
        }
        ::sync();
    }
    const auto mean = [](const std::vector<double> &v) { return (v[0] + v[1]) / 2; };
    std::printf(
        "  cp: %.2f s and %.2f s, cp + sync: %.2f s and %.2f s, import (each file flushed): %.2f s and %.2f s\n", cp[0],
        cp[1], cpSync[0], cpSync[1], import[0], import[1]);
    std::printf("  import / cp = %.2f, import / (cp + sync) = %.2f, import %.0f MB/s\n", mean(import) / mean(cp),
                mean(import) / mean(cpSync), files * mb / mean(import));
    QDir(src).removeRecursively();
    QDir(viaCp).removeRecursively();
    QDir(album).removeRecursively();
}

void tree(const QString &work)
{
    const QString wide = work + QStringLiteral("/breit");
    for (int i = 0; i < 10000; ++i)
        QDir().mkpath(QStringLiteral("%1/Ordner_%2%3")
                          .arg(wide)
                          .arg(i, 5, 10, QLatin1Char('0'))
                          .arg(i % 10 == 0 ? "/innen" : ""));

    {
        auto source = std::make_shared<CountingSource>();
        const auto drives = makeSystemDrives();
        const QList<DriveInfo> list = drives->list();
        QElapsedTimer t;
        t.start();
        FolderTreeView view(source, false);
        QSignalSpy settled(&view, &FolderTreeView::readsSettled);
        view.fill(list, FolderTree::Offer::AllDrives);
        while (view.pendingReads() > 0)
            settled.wait(5000);
        std::printf("tree: opening reads %d folders for %lld drives (%.1f ms)\n", source->reads.load(),
                    qlonglong(list.size()), t.nsecsElapsed() / 1e6);
    }

    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        auto source = std::make_shared<CountingSource>();
        DriveInfo d;
        d.root = work;
        d.name = QStringLiteral("Arbeit");
        d.type = DriveType::Fixed;
        FolderTreeView view(source, true);
        view.show();
        QSignalSpy settled(&view, &FolderTreeView::readsSettled);
        view.fill({d}, FolderTree::Offer::AllDrives);
        settled.wait(5000);
        view.expandItem(view.topLevelItem(0)); // reads one level below the drive's folders
        settled.wait(5000);
        QTreeWidgetItem *item = view.itemOf(view.tree().find(wide));
        QElapsedTimer t;
        t.start();
        view.expandItem(item);
        settled.wait(10000);
        QCoreApplication::processEvents();
        times.push_back(t.nsecsElapsed() / 1e6);
        if (run == 0)
            std::printf("tree: expanding a folder of %d subfolders shows them with %d grandchildren\n",
                        item->childCount(), int(view.tree().size()) - item->childCount() - 3);
    }
    std::printf("tree: expanding it takes %.1f ms (median of 5, reads on a thread, items added)\n", median(times));
    QDir(wide).removeRecursively();
}

void listing(const QString &work)
{
    const QString folder = work + QStringLiteral("/liste");
    QDir().mkpath(folder);
    const char *extensions[] = {"jpg", "avi", "mp3", "pdf", "txt"};
    for (int i = 0; i < 10000; ++i)
        writeFile(QStringLiteral("%1/Datei_%2.%3")
                      .arg(folder)
                      .arg(i, 5, 10, QLatin1Char('0'))
                      .arg(QLatin1String(extensions[i % 4])),
                  QByteArray(100 + i % 5000, 'x'));
    std::vector<double> bare, window;
    Album album;
    AlbumListModel list;
    DriveInfo d;
    auto drives = makeSystemDrives();
    RunSettings settings;
    struct NoDialogs : Dialogs {
        MessageAnswer message(const QString &, const QString &, MessageIcon, MessageButtons) override
        {
            return MessageAnswer::Ok;
        }
        std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    } dialogs;
    frmExplorer explorer({AlbumPaths{work}, album, list, *drives, settings, dialogs, makeSystemFolderSource()});
    explorer.show();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const FolderFiles files = listFolderFiles(folder);
        bare.push_back(t.nsecsElapsed() / 1e6);
        QSignalSpy listed(&explorer, &frmExplorer::listed);
        t.restart();
        explorer.listFolder(folder);
        listed.wait(10000);
        QCoreApplication::processEvents();
        window.push_back(t.nsecsElapsed() / 1e6);
        if (run == 0)
            std::printf("listing: %zu media files of 10000\n", files.files.size());
    }
    std::printf("listing: %.1f ms to read, %.1f ms until the browser shows them (medians of 5)\n", median(bare),
                median(window));
    QDir(folder).removeRecursively();
}

void smallIntoLarge(const QString &work)
{
    const QString albumFolder = work + QStringLiteral("/gross");
    const QString src = work + QStringLiteral("/klein");
    QDir().mkpath(albumFolder + QStringLiteral("/Bilder"));
    QDir().mkpath(src);
    Album album;
    album.reserve(101000);
    for (int i = 0; i < 100000; ++i) {
        AlbumEntry e;
        e.name = QStringLiteral("Bild_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        e.kind = MediaKind::Bild;
        album.append(std::move(e));
    }
    AlbumListModel list;
    list.follow(album);
    list.fill(album);
    QStringList sources;
    for (int i = 0; i < 1000; ++i) {
        sources << QStringLiteral("%1/Neu_%2.jpg").arg(src).arg(i, 4, 10, QLatin1Char('0'));
        writeFile(sources.last(), QByteArray(3000, 'n'));
    }
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&list, &QAbstractItemModel::rowsInserted);
    const auto drives = makeSystemDrives();
    RunSettings settings;
    FixedAnswer all(QStringLiteral("ja"));
    ImportRun run({AlbumPaths{albumFolder}, album, &list, *drives, settings, all}, sources, {});
    QElapsedTimer t;
    t.start();
    run.begin();
    runNow(run, [](const QString &, const QString &) {});
    run.end();
    std::printf("small into large: 1000 files into 100000 in %.0f ms (each flushed): %d rows, %lld row "
                "insertions, %lld resets\n",
                t.nsecsElapsed() / 1e6, list.rowCount(), qlonglong(inserts.count()), qlonglong(resets.count()));
    QDir(albumFolder).removeRecursively();
    QDir(src).removeRecursively();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int files = argc > 1 ? std::atoi(argv[1]) : 200;
    const int mb = argc > 2 ? std::atoi(argv[2]) : 20;
    QTemporaryDir temp(argc > 3 ? QString::fromLocal8Bit(argv[3]) + QStringLiteral("/bench-transfer-XXXXXX")
                                : QDir::currentPath() + QStringLiteral("/bench-transfer-XXXXXX"));
    const QString work = temp.path();
    const DriveInfo drive = makeSystemDrives()->driveOf(work);
    if (drive.freeBytes < qint64(files) * mb * 2 * 1024 * 1024 * 11 / 10) {
        const int fit = int(drive.freeBytes / (qint64(mb) * 2 * 1024 * 1024 * 11 / 10));
        std::printf("only %.1f GB free: %d files instead of %d\n", drive.freeBytes / 1073741824.0, fit, files);
        importAgainstCp(work, fit, mb);
    } else {
        importAgainstCp(work, files, mb);
    }
    tree(work);
    listing(work);
    smallIntoLarge(work);
    return 0;
}
