// Slide show and picture window with 24-megapixel JPEGs. Run it under an X server of the
// screen size to measure, e.g. xvfb-run -s "-screen 0 1920x1080x24" bench_viewing [pictures=500]
//  - unprepared picture: the album's decoding for the screen against libjpeg-turbo decoding the
//    same file scaled (the scale Qt's reader uses, and the smallest that still covers the screen)
//  - prepared picture: "next" to the picture painted on screen
//  - resident memory over a show of many pictures
//  - picture window: refit and repaint per resize event
#include "app/AppSettings.h"
#include "model/AlbumListModel.h"
#include "platform/BoxFit.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "viewing/DiaButton.h"
#include "viewing/frmDiaShow.h"
#include "viewing/frmPicWindow.h"
#include "viewing/PictureImage.h"
#include "viewing/PictureLoader.h"
#include "viewing/PixelRect.h"

#include "../BenchPhoto.h"
#include "../BenchStats.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// libjpeg-turbo decoding at num/8 into BGRX rows, as a viewer written against it directly would.
long long libjpegScaled(const QByteArray &path, int num, QSize *out = nullptr)
{
    FILE *file = std::fopen(path.constData(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.scale_num = num;
    info.scale_denom = 8;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    QImage image(info.output_width, info.output_height, QImage::Format_RGB32);
    long long checksum = 0;
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {image.scanLine(info.output_scanline)};
        jpeg_read_scanlines(&info, rows, 1);
        checksum += rows[0][0];
    }
    if (out)
        *out = QSize(info.output_width, info.output_height);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return checksum;
}

double residentMB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

class NoDialogs : public zv::Dialogs {
public:
    zv::MessageAnswer message(const QString &, const QString &, zv::MessageIcon, zv::MessageButtons) override
    {
        return zv::MessageAnswer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
};

double msSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int showLength = argc > 1 ? std::atoi(argv[1]) : 500;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Bilder"));
    const int distinct = 6;
    std::printf("screen          : %d x %d\n", screen.width(), screen.height());
    for (int i = 0; i < distinct; ++i)
        makePhoto(6000, 4000, 12345 + i).save(dir.filePath(QStringLiteral("Bilder/p%1.jpg").arg(i)), "JPEG", 90);
    const QString first = dir.filePath(QStringLiteral("Bilder/p0.jpg"));
    std::printf("pictures        : 6000 x 4000 (24 megapixels), %.1f MB JPEG each\n", QFileInfo(first).size() / 1e6);

    // Unprepared: decoding for the screen.
    const QSize fitted = zv::pixelRect(zv::fitIntoBox(QSizeF(6000, 4000), screen)).size();
    int cover = 8; // the smallest num/8 that still covers the fitted size
    while (cover > 1 && 6000 * (cover - 1) / 8 >= fitted.width() && 4000 * (cover - 1) / 8 >= fitted.height())
        --cover;
    std::vector<double> album, turboHalf, turboCover;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer t;
        t.start();
        const auto picture = zv::loadPicture(first, screen);
        album.push_back(msSince(t));
        if (round == 0)
            std::printf("decoded for show: %d x %d\n", picture->image.width(), picture->image.height());
        t.restart();
        libjpegScaled(QFile::encodeName(first), 4);
        turboHalf.push_back(msSince(t));
        t.restart();
        libjpegScaled(QFile::encodeName(first), cover);
        turboCover.push_back(msSince(t));
    }
    std::printf("album decode    : %8.1f ms (median of 7)\n", median(album));
    std::printf("libjpeg 4/8     : %8.1f ms  ratio %.2f x\n", median(turboHalf), median(album) / median(turboHalf));
    std::printf("libjpeg %d/8     : %8.1f ms  ratio %.2f x\n", cover, median(turboCover),
                median(album) / median(turboCover));

    // A show over many rows: the files repeat under different names (links), as many distinct
    // pictures as rows for the decoder.
    zv::AlbumListModel list;
    std::vector<zv::ListRow> rows;
    for (int i = 0; i < showLength; ++i) {
        const QString name = QStringLiteral("r%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        QFile::link(dir.filePath(QStringLiteral("Bilder/p%1.jpg").arg(i % distinct)),
                    dir.filePath(QStringLiteral("Bilder/") + name));
        zv::ListRow row;
        row.key = i + 1;
        row.name = name;
        row.kind = zv::MediaKind::Bild;
        rows.push_back(row);
    }
    list.appendRows(std::move(rows));
    auto settings = zv::makeFileSettings(dir.filePath(QStringLiteral("settings.ini")));
    zv::SettingsValues values;
    NoDialogs dialogs;
    zv::frmDiaShow show(zv::DiaShowServices{list, zv::AlbumPaths{dir.path()}, *settings, values, dialogs});
    if (!show.start() || !QTest::qWaitForWindowExposed(&show)) {
        std::printf("the slide show did not come up\n");
        return 1;
    }
    auto *next = show.findChild<zv::DiaButton *>(QStringLiteral("cmdNext"));
    const double before = residentMB();
    double peak = before;
    std::vector<double> prepared, unprepared;
    for (int i = 0; i < showLength; ++i) {
        // Every tenth step comes at once, before the picture could be prepared (the user
        // pressing next quickly); the others after the next picture is ready, as it is after
        // any delay the show allows.
        const bool quick = i % 10 == 9;
        while (!quick && !show.isNextPrepared())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(next, Qt::LeftButton);
        while (QFileInfo(show.shownFile()).fileName() != list.row(i).name)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        show.repaint(); // painted and flushed to the screen
        (quick ? unprepared : prepared).push_back(msSince(t));
        peak = std::max(peak, residentMB());
    }
    std::printf("next, prepared  : %8.2f ms median, %.2f ms slowest of %zu\n", median(prepared),
                *std::max_element(prepared.begin(), prepared.end()), prepared.size());
    std::printf("next, at once   : %8.1f ms median of %zu (the picture was still being prepared)\n", median(unprepared),
                unprepared.size());
    std::printf("resident memory : %8.1f MB before the show, %.1f MB at most over %d pictures\n", before, peak,
                showLength);
    show.close();

    // Picture window: resizing refits from the decoded copy.
    QWidget desk;
    desk.resize(screen);
    zv::frmPicWindow window(&desk);
    window.setGeometry(0, 0, 562, 521);
    desk.show();
    if (!QTest::qWaitForWindowExposed(&desk)) {
        std::printf("the picture window did not come up\n");
        return 1;
    }
    window.showPicture(first);
    while (window.isLoading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto resizing = [&](const char *label) {
        std::vector<double> refit;
        for (int step = 0; step < 120; ++step) {
            const QSize size(400 + (step * 37) % (screen.width() - 400), 300 + (step * 23) % (screen.height() - 300));
            QElapsedTimer t;
            t.start();
            window.resize(size); // a child window: the resize event arrives at once
            window.repaint();
            refit.push_back(msSince(t));
        }
        std::printf("%s: %8.2f ms median, %.2f ms slowest of %zu resize events\n", label, median(refit),
                    *std::max_element(refit.begin(), refit.end()), refit.size());
    };
    resizing("window refit    ");
    // The smooth copy that follows once the size rests costs what every event would cost
    // without the quick stretching.
    window.findChild<zv::PictureImage *>()->setSmoothWhenSettled(false);
    QTest::qWait(300); // the last quick copy settles
    resizing("  smooth at once");
    return 0;
}
