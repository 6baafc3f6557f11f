#include "StartupSteps.h"

#include "BuiltInLogo.h"

#include "model/AlbumLoader.h"

#include <QDir>
#include <QFileInfo>

namespace zv {

QString ensureMediaFolder(const AlbumPaths &paths)
{
    const QString folder = paths.mediaFolder();
    // Without the trailing separator: "Bilder/" of a plain file would not exist at all.
    const QFileInfo info(QDir::cleanPath(folder));
    if (info.isDir())
        return {};
    if (info.exists()) {
        return QStringLiteral("An der Stelle des Bilderordners \"%1\" liegt eine Datei. "
                              "Das Album kann nicht geöffnet werden.")
            .arg(QDir::toNativeSeparators(folder));
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        return QStringLiteral("Der Bilderordner \"%1\" ist nicht vorhanden und kann nicht angelegt "
                              "werden (schreibgeschützter Datenträger oder fehlende Rechte?). "
                              "Das Programm wird beendet.")
            .arg(QDir::toNativeSeparators(folder));
    }
    return {};
}

QString ensureAlbumNotEmpty(const AlbumPaths &paths)
{
    bool readable = false;
    // The first file settles it; listing a large album whole would cost a tenth of a second.
    const bool hasFiles = hasMediaFiles(paths.mediaFolder(), &readable);
    if (!readable) {
        return QStringLiteral("Der Bilderordner \"%1\" kann nicht gelesen werden. "
                              "Das Programm wird beendet.")
            .arg(QDir::toNativeSeparators(paths.mediaFolder()));
    }
    if (hasFiles)
        return {};
    // Created exclusively: a link lying in wait under the logo's name is never followed.
    if (const QString reason = writeBuiltInLogo(paths.logoFile()); !reason.isEmpty()) {
        return QStringLiteral("Das Album ist leer und das Startbild \"%1\" kann nicht angelegt "
                              "werden: %2. Das Programm wird beendet.")
            .arg(QDir::toNativeSeparators(paths.logoFile()), reason);
    }
    return {};
}

} // namespace zv
