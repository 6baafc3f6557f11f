// albuminfo: the album's information from the command line, through the program's own store
// and loader, so scripts and tests see exactly what the album sees.
#include "Verbs.h"

#include "platform/FileNames.h"
#include "platform/RegularFile.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    zv::ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Decoded like the loader decodes names, so a file name that is not UTF-8 still finds its file.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << zv::decodeFileName(argv[i]);
    const QString verb = args.value(0);
    if (verb == QLatin1String("list"))
        return albuminfo::list(args.mid(1), out, err);
    if (verb == QLatin1String("find"))
        return albuminfo::find(args.mid(1), out, err);
    if (verb == QLatin1String("set"))
        return albuminfo::set(args.mid(1), err);
    if (verb == QLatin1String("rotate"))
        return albuminfo::rotate(args.mid(1), err);
    if (verb == QLatin1String("rename"))
        return albuminfo::rename(args.mid(1), err);
    if (verb == QLatin1String("delete"))
        return albuminfo::remove(args.mid(1), err);
    if (verb == QLatin1String("newalbum"))
        return albuminfo::newAlbum(args.mid(1), out, err);
    if (verb == QLatin1String("import"))
        return importVerb(args.mid(1));
    if (verb == QLatin1String("export"))
        return exportVerb(args.mid(1));
    return albuminfo::usage(err);
}
