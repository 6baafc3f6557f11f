// Preview of a large JPEG: the album's picture loader against libjpeg-turbo decoding the same
// file at 1/8 scale directly. Usage: bench_preview [width=6000] [height=4000]
#include "viewing/PictureLoader.h"

#include "../BenchPhoto.h"
#include "../BenchStats.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

long long libjpegEighth(const QByteArray &path)
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
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(info.output_width * info.output_components);
    long long checksum = 0;
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        checksum += row[0];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return checksum;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int width = argc > 1 ? std::atoi(argv[1]) : 6000;
    const int height = argc > 2 ? std::atoi(argv[2]) : 4000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gross.jpg"));
    makePhoto(width, height, 12345).save(path, "JPEG", 90);
    std::printf("picture        : %d x %d (%.1f megapixels), %.1f MB JPEG\n", width, height, width * height / 1e6,
                QFileInfo(path).size() / 1e6);

    std::vector<double> album, turbo;
    for (int round = 0; round < 7; ++round) {
        QElapsedTimer t;
        t.start();
        const auto picture = zv::loadPicture(path, QSize(183, 183));
        album.push_back(t.nsecsElapsed() / 1e6);
        if (round == 0)
            std::printf("preview decoded: %d x %d\n", picture->image.width(), picture->image.height());
        t.restart();
        libjpegEighth(QFile::encodeName(path));
        turbo.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("album preview  : %8.1f ms (median of 7)\n", median(album));
    std::printf("libjpeg 1/8    : %8.1f ms (median of 7)\n", median(turbo));
    std::printf("ratio          : %8.2f x\n", median(album) / median(turbo));
    return 0;
}
