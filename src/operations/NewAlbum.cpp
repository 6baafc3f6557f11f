#include "NewAlbum.h"

#include "platform/CanonicalPath.h"
#include "platform/FileCopy.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace zv {
namespace {

void copyOne(const QString &from, const QString &to, QStringList &failures)
{
    if (const CopyResult result = copyFile(from, to); !result)
        failures << QStringLiteral("„%1“ konnte nicht kopiert werden: %2.")
                        .arg(displayFileName(QFileInfo(from).fileName()), copyFailureText(result));
}

// A whole folder, files replaced where they exist; a missing source folder is named.
void copyFolder(const QString &from, const QString &to, QStringList &failures, bool required)
{
    if (!QFileInfo(from).isDir()) {
        if (required)
            failures << QStringLiteral("Der Ordner „%1“ fehlt im Album und wurde nicht kopiert.").arg(from);
        return;
    }
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QDir().mkpath(to);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                failures << QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.").arg(target);
        } else {
            copyOne(source, target, failures);
        }
    }
    syncFolder(to);
}

} // namespace

QString proposedNewAlbumFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures.isEmpty() ? QDir::homePath() : pictures).filePath(QStringLiteral("neues Album"));
}

QString newAlbumRefusal(const AlbumPaths &source, const QString &target)
{
    const QString where = canonicalPath(target);
    const QString album = canonicalPath(source.programFolder);
    const QString shown = displayFileName(target);
    if (where == album)
        return QStringLiteral("„%1“ ist das Album selbst. Das neue Album braucht einen Ordner außerhalb des Albums.")
            .arg(shown);
    if (isSameOrBelow(where, album))
        return QStringLiteral("„%1“ liegt im Album „%2“. Das neue Album braucht einen Ordner außerhalb des Albums.")
            .arg(shown, displayFileName(album));
    // Folders copied along may be links to elsewhere; a copy into one of them would never end.
    for (const QString &folder :
         {source.mediaFolder(), source.skinsFolder(), source.programFolder + QStringLiteral("/Hilfe"),
          source.programFolder + QStringLiteral("/Dorido")}) {
        const QString copied = canonicalPath(folder);
        if (isSameOrBelow(where, copied))
            return QStringLiteral("„%1“ liegt im Ordner „%2“, der ins neue Album kopiert wird. Das neue Album braucht "
                                  "einen Ordner außerhalb davon.")
                .arg(shown, displayFileName(copied));
    }
    return {};
}

NewAlbumOutcome createNewAlbum(const AlbumPaths &source, const QString &target, const QStringList &mediaNames,
                               const QString &programFile)
{
    NewAlbumOutcome outcome;
    if (const QString refusal = newAlbumRefusal(source, target); !refusal.isEmpty()) {
        outcome.failures << refusal;
        return outcome;
    }
    const AlbumPaths album{QDir::cleanPath(target)};
    if (!QDir().mkpath(album.mediaFolder())) {
        outcome.failures << QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden (fehlt der übergeordnete "
                                           "Ordner, oder fehlen die Rechte?).")
                                .arg(album.mediaFolder());
        return outcome;
    }
    for (const QString &name : mediaNames)
        copyOne(source.mediaFile(name), album.mediaFile(name), outcome.failures);
    syncFolder(album.mediaFolder());
    copyFolder(source.programFolder + QStringLiteral("/Skins"), album.programFolder + QStringLiteral("/Skins"),
               outcome.failures, true);
    copyFolder(source.programFolder + QStringLiteral("/Hilfe"), album.programFolder + QStringLiteral("/Hilfe"),
               outcome.failures, true);
    copyFolder(source.programFolder + QStringLiteral("/Dorido"), album.programFolder + QStringLiteral("/Dorido"),
               outcome.failures, false);
    // The running program and its companion: an album folder starts and scripts on its own.
    const QString program = programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile;
    const QString programCopy = album.programFolder + QLatin1Char('/') + QFileInfo(program).fileName();
    const QStringList before = outcome.failures;
    copyOne(program, programCopy, outcome.failures);
    const QString companion = QFileInfo(program).dir().filePath(QStringLiteral("albuminfo"));
    if (QFileInfo::exists(companion))
        copyOne(companion, album.programFolder + QStringLiteral("/albuminfo"), outcome.failures);
    syncFolder(album.programFolder);
    if (outcome.failures.size() == before.size() || QFileInfo::exists(programCopy))
        outcome.programFile = programCopy;
    return outcome;
}

QString printOrderingProgram(const QString &programFolder)
{
    for (const char *name : {"/Dorido/ips", "/Dorido/ips.exe"}) {
        const QString path = programFolder + QLatin1String(name);
        if (isRunnableFile(path))
            return path;
    }
    return {};
}

} // namespace zv
