#include "EntryOutput.h"
#include "MediaFolder.h"
#include "Verbs.h"

#include "platform/FileNames.h"

namespace albuminfo {

int usage(QTextStream &err)
{
    err << "Aufruf:\n"
           "  albuminfo list PROGRAMMORDNER [--json] [--sort SPALTE [--desc]]\n"
           "  albuminfo find PROGRAMMORDNER [--datum T] [--ort WOERTER] [--namen WOERTER] [--anlass WOERTER]"
           " [--json]\n"
           "  albuminfo set DATEI [--datum T] [--ort T] [--namen T] [--anlass T] [--bemerkungen T]"
           " [--schreibgeschuetzt]\n"
           "  albuminfo set DATEI... --datum-aus-kamera\n"
           "  albuminfo rotate DATEI... --left|--right|--upright [--schreibgeschuetzt]\n"
           "  albuminfo rename PROGRAMMORDNER NAME NEUER_NAME\n"
           "  albuminfo delete PROGRAMMORDNER NAME...\n"
           "  albuminfo newalbum PROGRAMMORDNER ZIELORDNER [NAME...] [--overwrite ask|all|none]\n"
           "  albuminfo import PROGRAMMORDNER DATEI... [--number START] [--overwrite ask|all|none]"
           " [--datum-aus-kamera]\n"
           "  albuminfo export PROGRAMMORDNER ZIELORDNER NAME... [--overwrite ask|all|none]\n";
    return 2;
}

int list(const QStringList &args, QTextStream &out, QTextStream &err)
{
    Format format = Format::Lines;
    QStringList folders;
    QString sortColumn;
    bool descending = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--json"))
            format = Format::Json;
        else if (arg == QLatin1String("--desc"))
            descending = true;
        else if (arg == QLatin1String("--sort") && i + 1 < args.size())
            sortColumn = args[++i];
        else if (arg.startsWith(QLatin1String("--")))
            return usage(err);
        else
            folders << arg;
    }
    if (folders.size() != 1 || (descending && sortColumn.isEmpty()))
        return usage(err);
    if (!sortColumn.isEmpty())
        return listSorted(folders.first(), sortColumn, descending, format, out, err);
    zv::Album album;
    if (!loadMediaFolder(folders.first(), album, err))
        return 1;
    std::vector<const zv::AlbumEntry *> entries;
    entries.reserve(album.size());
    for (const zv::AlbumEntry &e : album.entries())
        entries.push_back(&e);
    printEntries(entries, format, out);
    return 0;
}

} // namespace albuminfo
