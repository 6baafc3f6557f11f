// Renaming, deleting and making a new album from the command line, through the same code as
// the main window's editing and its popup menu.
#include "MediaFolder.h"
#include "Verbs.h"

#include "model/Album.h"
#include "model/ProgramState.h"
#include "operations/DeleteEntries.h"
#include "operations/NewAlbum.h"
#include "operations/OverwriteQuestion.h"
#include "operations/RenameEntry.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <optional>
#include <vector>

namespace albuminfo {
namespace {

// The album as the main window holds it, entries in the folder's order.
struct OpenAlbum {
    zv::AlbumPaths paths;
    zv::Album album;
    zv::ProgramState state;
    zv::AlbumContext context{paths, album, state, nullptr};

    explicit OpenAlbum(const QString &folder)
        : paths{folder}
    { }
    bool load(QTextStream &err) { return loadMediaFolder(paths.programFolder, album, err); }
    bool has(const QString &name) const { return album.find(name) != nullptr; }
};

bool hasMediaFolder(const QString &folder, QTextStream &err)
{
    const QString media = zv::AlbumPaths{folder}.mediaFolder();
    if (zv::pathStatus(media).isFolder())
        return true;
    err << "Kein Bilderordner: " << media << '\n';
    return false;
}

} // namespace

int rename(const QStringList &args, QTextStream &err)
{
    if (args.size() != 3)
        return usage(err);
    OpenAlbum open(args[0]);
    if (!open.load(err))
        return 1;
    if (!open.has(args[1])) {
        err << "Nicht im Album: " << args[1] << '\n';
        return 1;
    }
    if (const std::optional<zv::Refusal> refusal = zv::renameEntry(open.context, args[1], args[2])) {
        err << refusal->title << ": " << refusal->text << '\n';
        return 1;
    }
    return 0;
}

int remove(const QStringList &args, QTextStream &err)
{
    if (args.size() < 2)
        return usage(err);
    OpenAlbum open(args[0]);
    if (!open.load(err))
        return 1;
    QStringList names;
    for (const QString &name : args.mid(1)) {
        if (!open.has(name)) {
            // A mistyped name must not leave the user wondering which of the others went.
            err << "Nicht im Album: " << name << ". Es wurde nichts gelöscht.\n";
            return 1;
        }
        if (!names.contains(name))
            names << name;
    }
    const zv::DeleteOutcome outcome = zv::deleteEntries(open.context, names);
    for (const QString &failure : outcome.failures)
        err << failure << '\n';
    return outcome.failures.isEmpty() ? 0 : 1;
}

int newAlbum(const QStringList &words, QTextStream &out, QTextStream &err)
{
    QStringList args;
    QString mode = QStringLiteral("ask");
    for (int i = 0; i < words.size(); ++i) {
        if (words[i] == QLatin1String("--overwrite") && i + 1 < words.size())
            mode = words[++i];
        else
            args << words[i];
    }
    const auto question = overwriteAnswerer(mode);
    if (args.size() < 2 || !question)
        return usage(err);
    if (!hasMediaFolder(args[0], err))
        return 1;
    const zv::AlbumPaths source{args[0]};
    for (const QString &name : args.mid(2)) {
        if (!zv::pathStatus(source.mediaFile(name)).exists()) {
            err << "Nicht im Album: " << name << ". Es wurde kein Album angelegt.\n";
            return 1;
        }
    }
    // The album's program lies beside this companion.
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zidoverev"));
    const auto drives = zv::makeSystemDrives();
    const zv::NewAlbumOutcome outcome =
        zv::createNewAlbum(source, args[1], args.mid(2), {question.get(), drives.get()}, program);
    for (const QString &failure : outcome.failures)
        err << failure << '\n';
    if (!outcome.programFile.isEmpty())
        out << outcome.programFile << '\n';
    return outcome.failures.isEmpty() ? 0 : 1;
}

} // namespace albuminfo
