#include "MediaFolder.h"

#include "EntryOutput.h"

#include "model/AlbumLoader.h"
#include "model/AlbumPaths.h"
#include "platform/ErrorTexts.h"
#include "platform/PathStatus.h"

#include <QDir>

namespace albuminfo {

bool loadMediaFolder(const QString &programFolder, zv::Album &album, QTextStream &err)
{
    const QString media = zv::AlbumPaths{programFolder}.mediaFolder();
    if (!zv::pathStatus(media).isFolder()) {
        err << "Kein Bilderordner: " << escapedField(media);
        if (zv::pathStatus(QDir::cleanPath(media)).exists())
            err << " (an seiner Stelle liegt eine Datei)";
        err << '\n';
        return false;
    }
    int error = 0;
    album = zv::loadAlbum(media, {}, 0, &error);
    if (error) {
        err << "Der Bilderordner \"" << escapedField(media) << "\" kann nicht gelesen werden: " << zv::errorText(error)
            << ".\n";
        return false;
    }
    return true;
}

} // namespace albuminfo
