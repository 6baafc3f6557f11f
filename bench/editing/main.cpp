// What deleting and saving cost on a large album: the list and album work of deleting 10,000
// selected rows of 100,000 (no file system), and saving into a 4 GB video next to a small picture.
#include "../BenchStats.h"

#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "store/PictureTrailer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTreeView>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

zv::Album makeAlbum(int count)
{
    zv::Album album;
    album.reserve(count);
    for (int i = 0; i < count; ++i) {
        zv::AlbumEntry e;
        e.name = QStringLiteral("IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        e.kind = zv::MediaKind::Bild;
        e.info.ort = QStringLiteral("Köln");
        e.info.datum = QStringLiteral("01.05.2003");
        album.append(std::move(e));
    }
    return album;
}

double deleteRound(bool withView)
{
    zv::Album album = makeAlbum(100000);
    zv::AlbumListModel list;
    list.follow(album);
    list.fill(album);
    QTreeView view;
    QItemSelectionModel *selection = nullptr;
    if (withView) {
        view.setUniformRowHeights(true);
        view.setModel(&list);
        view.resize(737, 137);
        view.show();
        selection = view.selectionModel();
        {
            QItemSelection chosen; // holds persistent indexes until it goes
            for (int r = 0; r < 100000; r += 10)
                chosen.select(list.index(r, 0), list.index(r, zv::AlbumListModel::ColumnCount - 1));
            selection->select(chosen, QItemSelectionModel::Select);
        }
        QApplication::processEvents();
    }
    QElapsedTimer t;
    t.start();
    std::vector<int> rows;
    if (selection) { // as the window reads and drops a selection
        for (const QItemSelectionRange &range : selection->selection())
            for (int r = range.top(); r <= range.bottom(); ++r)
                rows.push_back(r);
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        selection->reset();
    } else {
        for (int r = 0; r < 100000; r += 10)
            rows.push_back(r);
    }
    QSet<QString> names;
    for (const int r : rows)
        names.insert(list.row(r).name);
    if (getenv("BENCH_SPLIT"))
        std::printf("  before removal %.1f ms\n", t.nsecsElapsed() / 1e6);
    album.removeNamed(names); // the list follows
    if (getenv("BENCH_SPLIT"))
        std::printf("  after removal %.1f ms\n", t.nsecsElapsed() / 1e6);
    if (withView)
        QApplication::processEvents();
    const double ms = t.nsecsElapsed() / 1e6;
    if (list.rowCount() != 90000 || album.size() != 90000)
        std::printf("wrong result: %d rows, %zu entries\n", list.rowCount(), album.size());
    return ms;
}

double saveRound(const QString &path)
{
    zv::PictureInfo info;
    info.ort = QStringLiteral("Köln");
    QElapsedTimer t;
    t.start();
    if (zv::WritePictureInfo(path, info))
        std::printf("save failed: %s\n", qPrintable(path));
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::vector<double> bare, viewed;
    for (int round = 0; round < 5; ++round) {
        bare.push_back(deleteRound(false));
        viewed.push_back(deleteRound(true));
    }
    std::printf("delete 10,000 of 100,000 rows, list + album      : %8.1f ms (median of 5)\n", median(bare));
    std::printf("the same with a shown QTreeView and 10,000 selected: %8.1f ms (median of 5)\n", median(viewed));

    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("gross.mpg"));
    const QString picture = dir.filePath(QStringLiteral("klein.jpg"));
    const int fd = ::open(video.toLocal8Bit().constData(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0 || ::ftruncate(fd, 4LL << 30) != 0)
        return 1;
    ::close(fd);
    {
        QFile f(picture);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(100 * 1024, 'p'));
    }
    std::vector<double> big, small;
    for (int round = 0; round < 9; ++round) {
        big.push_back(saveRound(video));
        small.push_back(saveRound(picture));
    }
    std::printf("save into a 4 GB sparse video (overwrite after the first): %6.2f ms (median of 9)\n", median(big));
    std::printf("save into a 100 KB picture                                : %6.2f ms (median of 9)\n", median(small));
    std::printf("video size after 9 saves: %lld bytes (4 GiB + 914)\n",
                static_cast<long long>(QFileInfo(video).size()));
    return 0;
}
