#include "NewAlbum.h"

#include "AnswerQuestions.h"
#include "OverwriteDecision.h"

#include "platform/CanonicalPath.h"
#include "platform/Drives.h"
#include "platform/FileCopy.h"
#include "platform/FileMoves.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <vector>

namespace zv {
namespace {

// One file of the new album: where from, where to, and whether it is a picture or video of the
// album (asked about before it replaces one) or a file of the program (replaced: it is ours).
struct PlannedCopy {
    QString from;
    QString to;
    bool media = false;
    qint64 bytes = 0;
};

// The files and folders of a whole folder, in an order that makes each folder before its files.
void planFolder(const QString &from, const QString &to, std::vector<PlannedCopy> &files, QStringList &folders,
                QStringList &missing, bool required)
{
    if (!pathStatus(from).isFolder()) {
        if (required)
            missing << from;
        return;
    }
    folders << to;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir())
            folders << target;
        else
            files.push_back({source, target, false, it.fileInfo().size()});
    }
}

// Undoes what a failed run made: its new files, then its new folders, deepest first.
void removeMade(const QStringList &files, const QStringList &folders)
{
    for (const QString &file : files)
        removeFile(file);
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder)
        QDir().rmdir(*folder);
}

QString megabytes(qint64 bytes)
{
    return QLocale(QLocale::German).toString(double(bytes) / (1 << 20), 'f', 1);
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
                               NewAlbumCopying copying, const QString &programFile)
{
    NewAlbumOutcome outcome;
    if (const QString refusal = newAlbumRefusal(source, target); !refusal.isEmpty()) {
        outcome.failures << refusal;
        return outcome;
    }
    const AlbumPaths album{QDir::cleanPath(target)};
    // The running program and its companion: an album folder starts and scripts on its own.
    const QString program = programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile;
    const QString programCopy = album.programFolder + QLatin1Char('/') + QFileInfo(program).fileName();

    std::vector<PlannedCopy> plan;
    QStringList folders{album.programFolder, album.mediaFolder()};
    QStringList missing;
    for (const QString &name : mediaNames)
        plan.push_back({source.mediaFile(name), album.mediaFile(name), true, pathStatus(source.mediaFile(name)).size});
    for (const auto &[folder, required] :
         {std::pair{QStringLiteral("/Skins"), true}, std::pair{QStringLiteral("/Hilfe"), true},
          std::pair{QStringLiteral("/Dorido"), false}})
        planFolder(source.programFolder + folder, album.programFolder + folder, plan, folders, missing, required);
    plan.push_back({program, programCopy, false, pathStatus(program).size});
    const QString companion = QFileInfo(program).dir().filePath(QStringLiteral("albuminfo"));
    if (pathStatus(companion).isFile())
        plan.push_back(
            {companion, album.programFolder + QStringLiteral("/albuminfo"), false, pathStatus(companion).size});

    // Room first: a disk that fills up halfway leaves a half album to clean away.
    qint64 needed = 0;
    for (const PlannedCopy &file : plan)
        needed += file.bytes;
    if (copying.drives) {
        QString existing = album.programFolder;
        while (!pathStatus(existing).isFolder() && existing != QFileInfo(existing).path())
            existing = QFileInfo(existing).path();
        const DriveInfo drive = copying.drives->driveOf(existing);
        const bool unknown = drive.freeBytes == 0 && drive.totalBytes == 0;
        if (!unknown && needed > drive.freeBytes) {
            outcome.failures << QStringLiteral("Auf dem Datenträger ist nicht genügend Platz für das neue Album: es "
                                               "braucht %1 MB, frei sind %2 MB.")
                                    .arg(megabytes(needed), megabytes(drive.freeBytes));
            return outcome;
        }
    }

    QStringList madeFolders;
    for (const QString &folder : folders) {
        if (pathStatus(folder).isFolder())
            continue;
        if (!QDir().mkpath(folder)) {
            removeMade({}, madeFolders);
            outcome.failures << QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden (fehlt der übergeordnete "
                                               "Ordner, oder fehlen die Rechte?).")
                                    .arg(displayFileName(folder));
            return outcome;
        }
        madeFolders << folder;
    }

    FixedAnswer keepAll(QStringLiteral("na"));
    OverwriteQuestion &question = copying.question ? *copying.question : keepAll;
    OverwriteDecision decision;
    QStringList madeFiles;
    int copied = 0;
    for (const PlannedCopy &file : plan) {
        // An album's own pictures are replaced only when the user says so; the program's files are ours.
        Placing placing = file.media ? Placing::NewName : Placing::Replace;
        const bool existed = nameStatus(file.to).exists();
        if (existed && file.media) {
            if (!decision.replace({file.to, file.from}, question)) {
                ++copied;
                continue;
            }
            placing = Placing::Replace;
        }
        PendingCopy copy = startCopy(file.from, file.to, placing);
        CopyResult result = copy.complete();
        // Another program put a file of that name there meanwhile.
        if (result.failure == CopyFailure::TargetTaken && decision.replace({file.to, file.from}, question)) {
            copy.retarget(QFileInfo(file.to).fileName(), Placing::Replace);
            result = copy.complete();
        }
        if (result.failure == CopyFailure::TargetTaken) {
            ++copied;
            continue;
        }
        if (!result) {
            removeMade(madeFiles, madeFolders);
            const qsizetype notCopied = qsizetype(plan.size()) - copied;
            outcome.failures << QStringLiteral(
                                    "Das neue Album wurde nicht angelegt: „%1“ konnte nicht kopiert werden, "
                                    "%2. %3 von %4 Dateien wurden nicht kopiert; was schon kopiert war, wurde "
                                    "wieder entfernt.")
                                    .arg(displayFileName(QFileInfo(file.from).fileName()), copyFailureText(result))
                                    .arg(notCopied)
                                    .arg(plan.size());
            return outcome;
        }
        if (!existed)
            madeFiles << file.to;
        ++copied;
    }
    for (const QString &folder : folders)
        syncFolder(folder);
    for (const QString &folder : missing)
        outcome.failures << QStringLiteral("Der Ordner „%1“ fehlt im Album und wurde nicht kopiert.").arg(folder);
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
