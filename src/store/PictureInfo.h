#pragma once

#include <QString>

namespace zv {

// The picture information one album file carries in its trailer.
struct PictureInfo {
    static constexpr int MarkerWidth = 8;
    static constexpr int NamenWidth = 128;
    static constexpr int OrtWidth = 128;
    static constexpr int DatumWidth = 10;
    static constexpr int AnlassWidth = 128;
    static constexpr int BemerkungenWidth = 512;
    static constexpr int TrailerSize =
        MarkerWidth + NamenWidth + OrtWidth + DatumWidth + AnlassWidth + BemerkungenWidth; // 914

    QString marker;
    QString namen;
    QString ort;
    QString datum;
    QString anlass;
    QString bemerkungen;

    bool operator==(const PictureInfo &) const = default;
};

// Trailing blanks are padding on disk, never content.
QString withoutTrailingSpaces(const QString &text);

// The five texts as the album shows them.
PictureInfo trimmed(const PictureInfo &info);

} // namespace zv
