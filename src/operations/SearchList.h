#pragma once

#include "store/PictureInfo.h"

#include <QStringList>

#include <functional>

namespace zv {

class AlbumListModel;
struct ListRow;

// What the five boxes ask for in search mode. Each condition applies only when its box holds
// something; between boxes the conditions are joined by AND.
struct SearchQuery {
    QString datum; // compared with the end of the date cell, as typed (6 and 9 characters get a "0")
    bool byDatum = false;
    QStringList anlass, namen, ort; // lower-cased search words
    bool byAnlass = false, byNamen = false, byOrt = false;

    static SearchQuery fromBoxes(const PictureInfo &boxes);
    bool matches(const ListRow &row) const;
};

// Removes every row that does not match; rows only, the album and its files stay as they are.
// progress(examined, total) after every examined row. Returns the rows left.
int runSearch(AlbumListModel &list, const SearchQuery &query, const std::function<void(int, int)> &progress = {});

} // namespace zv
