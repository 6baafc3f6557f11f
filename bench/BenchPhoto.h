#pragma once

#include <QImage>

// A photo-like picture: gradients and noise, so that its JPEG has a camera photo's entropy.
inline QImage makePhoto(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28);
            line[x] = qRgb((x * 255 / width + noise) & 255, (y * 255 / height + noise) & 255,
                           ((x + y) * 128 / (width + height) + noise * 3) & 255);
        }
    }
    return image;
}
