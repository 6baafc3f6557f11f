// albuminfo: the album's information from the command line, through the program's own store
// and loader, so scripts and tests see exactly what the album sees.
#include "app/AlbumLoader.h"
#include "app/AlbumPaths.h"
#include "store/PictureTrailer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

int usage(QTextStream &err)
{
    err << "Aufruf:\n"
           "  albuminfo list PROGRAMMORDNER\n"
           "  albuminfo set DATEI [--datum T] [--ort T] [--namen T] [--anlass T] [--bemerkungen T]\n";
    return 2;
}

int list(const QString &programFolder, QTextStream &out, QTextStream &err)
{
    const zv::AlbumPaths paths{programFolder};
    if (!QFileInfo(paths.mediaFolder()).isDir()) {
        err << "Kein Bilderordner: " << paths.mediaFolder() << '\n';
        return 1;
    }
    const zv::Album album = zv::loadAlbum(paths.mediaFolder());
    for (const zv::AlbumEntry &e : album.entries()) {
        out << e.name << '\t' << static_cast<int>(e.kind) << '\t' << e.sizeKB << '\t' << e.info.datum << '\t'
            << e.info.ort << '\t' << e.info.namen << '\t' << e.info.anlass << '\t' << e.info.bemerkungen << '\t'
            << e.attributes << '\n';
    }
    return 0;
}

int set(const QStringList &args, QTextStream &err)
{
    const QString file = args.value(0);
    zv::PictureInfo info; // fields not given are written empty
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return usage(err);
        const QString &option = args[i];
        const QString &value = args[i + 1];
        if (option == QLatin1String("--datum"))
            info.datum = value;
        else if (option == QLatin1String("--ort"))
            info.ort = value;
        else if (option == QLatin1String("--namen"))
            info.namen = value;
        else if (option == QLatin1String("--anlass"))
            info.anlass = value;
        else if (option == QLatin1String("--bemerkungen"))
            info.bemerkungen = value;
        else
            return usage(err);
    }
    if (const zv::TrailerError error = zv::WritePictureInfo(file, info)) {
        err << error.message << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("list"))
        return list(args[1], out, err);
    if (args.size() >= 2 && args[0] == QLatin1String("set"))
        return set(args.mid(1), err);
    if (int importVerb(const QStringList &); args.value(0) == QLatin1String("import")) return importVerb(args.mid(1));
    if (int exportVerb(const QStringList &); args.value(0) == QLatin1String("export")) return exportVerb(args.mid(1));
    return usage(err);
}
