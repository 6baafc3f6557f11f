// Searching and sorting from the command line, with the album window's own rules.
#include "EntryOutput.h"
#include "MediaFolder.h"
#include "Verbs.h"

#include "model/AlbumListModel.h"
#include "operations/modSortList.h"
#include "operations/SearchList.h"
#include "platform/FileNames.h"

namespace albuminfo {
namespace {

// The header index 1–7, given as the index or the header's caption ("Datum", "Größe in KB" …).
int sortColumnOf(const QString &text)
{
    static const QStringList captions = {"Dateiname", "Größe in KB", "Datum", "Ort", "Namen", "Anlass", "Typ"};
    bool number = false;
    const int index = text.toInt(&number);
    if (number)
        return index >= 1 && index <= 7 ? index : 0;
    for (int i = 0; i < captions.size(); ++i)
        if (captions[i].compare(text, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

void printRows(const zv::Album &album, const zv::AlbumListModel &list, Format format, QTextStream &out)
{
    std::vector<const zv::AlbumEntry *> entries;
    entries.reserve(std::size_t(list.rowCount()));
    for (int r = 0; r < list.rowCount(); ++r)
        if (const zv::AlbumEntry *e = album.find(list.row(r).name))
            entries.push_back(e);
    printEntries(entries, format, out);
}

} // namespace

int listSorted(const QString &programFolder, const QString &column, bool descending, Format format, QTextStream &out,
               QTextStream &err)
{
    const int index = sortColumnOf(column);
    if (index == 0) {
        err << "Unbekannte Spalte: " << escapedField(column) << " (1-7 oder eine Überschrift der Liste)\n";
        return 2;
    }
    zv::Album album;
    if (!loadMediaFolder(programFolder, album, err))
        return 1;
    zv::AlbumListModel list;
    list.fill(album);
    zv::SortColumn(list, index, zv::columnType(index),
                   descending ? zv::SortOrder::Descending : zv::SortOrder::Ascending);
    printRows(album, list, format, out);
    return 0;
}

int find(const QStringList &args, QTextStream &out, QTextStream &err)
{
    Format format = Format::Lines;
    QString folder;
    zv::PictureInfo boxes;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        QString *box = arg == QLatin1String("--datum")    ? &boxes.datum
                       : arg == QLatin1String("--ort")    ? &boxes.ort
                       : arg == QLatin1String("--namen")  ? &boxes.namen
                       : arg == QLatin1String("--anlass") ? &boxes.anlass
                                                          : nullptr;
        if (box) {
            if (++i >= args.size())
                return usage(err);
            *box = args[i];
        } else if (arg == QLatin1String("--json")) {
            format = Format::Json;
        } else if (arg.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            return usage(err);
        } else {
            folder = arg;
        }
    }
    if (folder.isEmpty())
        return usage(err);
    zv::Album album;
    if (!loadMediaFolder(folder, album, err))
        return 1;
    zv::AlbumListModel list;
    list.fill(album);
    zv::runSearch(list, zv::SearchQuery::fromBoxes(boxes));
    printRows(album, list, format, out);
    return 0;
}

} // namespace albuminfo
