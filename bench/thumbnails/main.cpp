// Thumbnails in "Symbole". Run it under an X server, e.g.
// xvfb-run -s "-screen 0 1280x1024x24" bench_thumbnails [files=100000]
//  - switching the list of 100,000 files to "Symbole", against the same switch with kind icons
//    only, and how many files the maker was given (only the rows on screen should be)
//  - the first screenful of thumbnails from the shared cache, against making them anew
//  - one 24-megapixel JPEG's thumbnail made and stored, against a bare libjpeg-turbo decode at
//    1/8 followed by the same scaling and PNG write; once as an editor saves it, once with the
//    160 x 107 preview a camera puts into its EXIF block
//  - scrolling "Symbole" through 10,000 photos while their thumbnails are made: the longest event
//    on the user-interface thread, and the memory the thumbnails take above the list's own
#include "album/AlbumThumbnails.h"
#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "thumbnails/ThumbnailCache.h"
#include "thumbnails/Thumbnailer.h"
#include "thumbnails/ThumbnailNames.h"

#include "../BenchPhoto.h"
#include "../BenchStats.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QListView>
#include <QMap>
#include <QMetaEnum>
#include <QProcess>
#include <QSaveFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <filesystem>

#include <jpeglib.h>

using namespace zv;

namespace {

// Times every event the application delivers: the longest is what a user feels as a stall.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!timing)
            return QApplication::notify(receiver, event);
        QElapsedTimer timer;
        timer.start();
        const bool done = QApplication::notify(receiver, event);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        longest = std::max(longest, ms);
        if (ms > 16.0) {
            ++over16;
            const char *type = QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type());
            slow[QStringLiteral("%1 to %2")
                     .arg(QLatin1String(type ? type : "?"), QLatin1String(receiver->metaObject()->className()))]
                << ms;
        }
        ++events;
        return done;
    }
    bool timing = false;
    double longest = 0;
    int over16 = 0;
    int events = 0;
    QMap<QString, QList<double>> slow; // "event type to receiver class": how long each took
};

// Resident memory of this process in MB, as the kernel counts it.
double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// libjpeg-turbo at 1/8, scaled to the normal size and written as PNG: the least a thumbnailer does.
void libjpegThumbnail(const QByteArray &path, const QString &png)
{
    FILE *file = std::fopen(path.constData(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {image.scanLine(int(info.output_scanline))};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    QSaveFile out(png);
    out.open(QIODevice::WriteOnly);
    QImageWriter(&out, "png").write(image.scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    out.commit();
}

struct IconList {
    AlbumListModel list;
    QListView view;
    std::unique_ptr<AlbumThumbnails> thumbnails;

    IconList(const Album &album, const QString &folder, const QString &cache)
    {
        list.fill(album);
        thumbnails = std::make_unique<AlbumThumbnails>(view, list, AlbumPaths{folder}, cache);
        list.setDecorations([this](const ListRow &row) { return thumbnails->decoration(row); }, {});
        view.setModel(&list);
        view.setUniformItemSizes(true);
        view.setResizeMode(QListView::Adjust);
        view.resize(737, 137);
        view.setViewMode(QListView::ListMode);
        view.setIconSize(QSize(16, 16));
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            std::printf("the list did not come up\n");
    }
    // What frmDaten does for "Symbole", until the screen is painted.
    double switchToIcons(bool thumbs)
    {
        QElapsedTimer timer;
        timer.start();
        view.setViewMode(QListView::IconMode);
        view.setFlow(QListView::LeftToRight);
        view.setWrapping(true);
        view.setIconSize(QSize(64, 64));
        view.setGridSize(QSize(96, 90));
        thumbnails->setShowing(thumbs);
        view.repaint();
        QCoreApplication::processEvents();
        return double(timer.nsecsElapsed()) / 1e6;
    }
    void back()
    {
        thumbnails->setShowing(false);
        view.setViewMode(QListView::ListMode);
        view.setIconSize(QSize(16, 16));
        view.setGridSize(QSize());
        QCoreApplication::processEvents();
    }
};

Album albumOf(int count, const QString &prefix = QStringLiteral("Bild_"))
{
    Album album;
    for (int i = 0; i < count; ++i)
        album.append(AlbumEntry{
            QStringLiteral("%1%2.jpg").arg(prefix).arg(i, 6, 10, QLatin1Char('0')), MediaKind::Bild, 1, {}, 0});
    return album;
}

// Making one photo's thumbnail (and storing it) against the bare libjpeg loop, 7 times each.
void thumbnailAgainstLibjpeg(const QString &photo, const QString &folder, const char *label)
{
    const thumbnails::ThumbnailCache cache(folder + QStringLiteral("/cache3"));
    const QString stored = cache.normalFile(thumbnails::fileUri(QFile::encodeName(photo)));
    std::vector<double> album;
    std::vector<double> bare;
    for (int run = 0; run < 7; ++run) {
        QFile::remove(stored);
        QElapsedTimer timer;
        timer.start();
        const thumbnails::Thumbnail made = thumbnails::makeThumbnail(cache, photo, thumbnails::Source::Picture, 64);
        album.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (made.image.isNull() || !QFile::exists(stored))
            std::printf("the album made no thumbnail\n");
        timer.restart();
        libjpegThumbnail(QFile::encodeName(photo), folder + QStringLiteral("/bare.png"));
        bare.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("  %s:\n", label);
    std::printf("    libjpeg 1/8 + PNG   : %8.1f ms (median of 7)\n", median(bare));
    std::printf("    album thumbnail     : %8.1f ms  ratio %.3f x (%.1f times faster)\n", median(album),
                median(album) / median(bare), median(bare) / median(album));
}

} // namespace

int main(int argc, char **argv)
{
    TimedApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;

    // Scrolling through 10,000 photos of 1600 x 1200, a page every 16 ms, while the thumbnails of
    // the rows on screen are made. Hard links of a few photos: each name is a thumbnail of its own.
    // First, so that the memory figure is not hidden in what the heap kept from the runs below.
    {
        constexpr int kScrolled = 10000;
        const QString folder = dir.path() + QStringLiteral("/Viele/Bilder");
        QDir().mkpath(folder);
        QStringList originals;
        for (int i = 0; i < 8; ++i) {
            originals << dir.path() + QStringLiteral("/viele%1.jpg").arg(i);
            makePhoto(1600, 1200, quint32(100 + i)).save(originals.last(), "JPEG", 90);
        }
        const Album album = albumOf(kScrolled);
        for (int i = 0; i < kScrolled; ++i)
            std::filesystem::create_hard_link(
                QFile::encodeName(originals[i % 8]).toStdString(),
                QFile::encodeName(folder + QStringLiteral("/Bild_%1.jpg").arg(i, 6, 10, QLatin1Char('0')))
                    .toStdString());
        // Kind icons only first, as the list scrolls without thumbnails: its own longest events.
        for (const bool thumbs : {false, true}) {
            IconList icons(album, folder + QStringLiteral("/.."), dir.path() + QStringLiteral("/cache4"));
            icons.view.setViewMode(QListView::IconMode);
            icons.view.setWrapping(true);
            icons.view.setIconSize(QSize(64, 64));
            icons.view.setGridSize(QSize(96, 90));
            QTest::qWait(100);
            const double before = residentMB();
            icons.thumbnails->setShowing(thumbs);
            app.longest = 0;
            app.over16 = 0;
            app.events = 0;
            app.timing = true;
            QScrollBar *bar = icons.view.verticalScrollBar();
            QElapsedTimer took;
            took.start();
            while (bar->value() < bar->maximum()) {
                bar->setValue(bar->value() + bar->pageStep());
                QTest::qWait(16);
            }
            while (!icons.thumbnails->maker().idle())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            app.timing = false;
            std::printf("scrolling %d photos, %s: %.1f s, %d pages, %d thumbnails made\n", kScrolled,
                        thumbs ? "thumbnails" : "kind icons", double(took.elapsed()) / 1000,
                        bar->maximum() / std::max(1, bar->pageStep()), icons.thumbnails->maker().started());
            std::printf("  longest event         : %8.1f ms  (%d of %d events over 16 ms)\n", app.longest, app.over16,
                        app.events);
            for (auto it = app.slow.cbegin(); it != app.slow.cend(); ++it) {
                QStringList times;
                for (const double ms : it.value())
                    times << QString::number(ms, 'f', 1);
                std::printf("    event %s: %s ms\n", qPrintable(it.key()), qPrintable(times.join(QLatin1String(", "))));
            }
            app.slow.clear();
            if (thumbs)
                std::printf("  memory above the list : %8.1f MB  (%.1f MB before, %.1f MB after)\n",
                            residentMB() - before, before, residentMB());
        }
    }

    // Switching: the files need not exist; the maker is told of the rows on screen only.
    {
        const Album album = albumOf(files);
        IconList icons(album, dir.path() + QStringLiteral("/none"), dir.path() + QStringLiteral("/cache1"));
        std::vector<double> kind;
        std::vector<double> thumbs;
        std::size_t onScreen = 0;
        int given = 0;
        for (int run = 0; run < 5; ++run) {
            kind.push_back(icons.switchToIcons(false));
            icons.back();
            thumbs.push_back(icons.switchToIcons(true));
            // Files that are missing are not tried again: the first run, settled, tells.
            if (run == 0) {
                QTest::qWait(50);
                QElapsedTimer settle;
                settle.start();
                while (!icons.thumbnails->maker().idle() && settle.elapsed() < 3000)
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                onScreen = icons.thumbnails->rowsOnScreen().size();
                given = icons.thumbnails->maker().started();
            }
            icons.back();
        }
        std::printf("files                   : %d\n", files);
        std::printf("switch, kind icons      : %8.1f ms (median of 5)\n", median(kind));
        std::printf("switch, thumbnails      : %8.1f ms  ratio %.2f x\n", median(thumbs),
                    median(thumbs) / median(kind));
        std::printf("files given to maker    : %d, rows on screen %zu\n", given, onScreen);
    }

    // The first screenful: 40 photos of 3000 x 2000 on disk.
    {
        const QString folder = dir.path() + QStringLiteral("/Bilder");
        QDir().mkpath(folder);
        const Album album = albumOf(40);
        for (int i = 0; i < 40; ++i)
            makePhoto(3000, 2000, quint32(i))
                .save(folder + QStringLiteral("/Bild_%1.jpg").arg(i, 6, 10, QLatin1Char('0')), "JPEG", 90);
        const auto screenful = [&](const QString &cache) {
            IconList icons(album, folder + QStringLiteral("/.."), cache);
            icons.view.setViewMode(QListView::IconMode);
            icons.view.setWrapping(true);
            icons.view.setIconSize(QSize(64, 64));
            icons.view.setGridSize(QSize(96, 90));
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            icons.thumbnails->setShowing(true);
            while (icons.thumbnails->maker().started() == 0 || !icons.thumbnails->maker().idle())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            return std::pair(double(timer.nsecsElapsed()) / 1e6, icons.thumbnails->maker().started());
        };
        std::vector<double> fresh;
        std::vector<double> cached;
        int shown = 0;
        for (int run = 0; run < 3; ++run) {
            const QString cache = dir.path() + QStringLiteral("/cache2-%1").arg(run);
            fresh.push_back(screenful(cache).first);
            const auto [ms, count] = screenful(cache);
            cached.push_back(ms);
            shown = count;
        }
        std::printf("first screenful         : %d thumbnails of 3000 x 2000 JPEGs\n", shown);
        std::printf("  made anew             : %8.1f ms (median of 3)\n", median(fresh));
        std::printf("  from the cache        : %8.1f ms  ratio %.2f x\n", median(cached),
                    median(cached) / median(fresh));
    }

    // One 24-megapixel JPEG, as an editor writes it and as a camera does, with its preview.
    {
        const QString photo = dir.path() + QStringLiteral("/big.jpg");
        makePhoto(6000, 4000, 7).save(photo, "JPEG", 90);
        std::printf("24-megapixel JPEG       : %.1f MB\n", QFileInfo(photo).size() / 1e6);
        thumbnailAgainstLibjpeg(photo, dir.path(), "without preview");
        const QString camera = dir.path() + QStringLiteral("/camera.jpg");
        QFile::copy(photo, camera);
        makePhoto(160, 107, 7).save(dir.path() + QStringLiteral("/camera-thumb.jpg"), "JPEG", 90);
        if (QProcess::execute(QStringLiteral("exiv2"), {QStringLiteral("-it"), camera}) == 0)
            thumbnailAgainstLibjpeg(camera, dir.path(), "camera, 160 x 107 preview");
        else
            std::printf("exiv2 could not put a preview into the camera JPEG\n");
    }

    return 0;
}
