#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace zv {

struct LoadedPicture {
    QSize naturalSize; // what the fitting is computed from
    QImage image;      // decoded no larger than asked; JPEGs are scaled while decoding
};

// Decodes a picture for showing it at `target` at most; nullopt when it cannot be decoded.
// Asking for an empty target decodes at natural size.
std::optional<LoadedPicture> loadPicture(const QString &path, const QSize &target = {});

} // namespace zv
