#include "FolderChanges.h"

#include "model/Album.h"
#include "model/AlbumLoader.h"
#include "model/ProgramState.h"
#include "platform/FileCopy.h"

#include <utility>

namespace zv {
namespace {

class Reconciler {
public:
    explicit Reconciler(AlbumContext &context)
        : m_context(context)
        , m_folder(context.paths.mediaFolder())
    { }

    // The entry keeps its place (and its row, selection and CurrentFile) when the album still
    // holds the old name, the new one is not taken and the disk agrees that the file moved.
    bool rename(const QString &from, const QString &to)
    {
        Album &album = m_context.album;
        const auto index = album.indexOf(from);
        if (!index || album.indexOf(to) || isCopyTempName(to) || loadEntry(m_folder, from))
            return false;
        const auto fresh = loadEntry(m_folder, to);
        if (!fresh)
            return false;
        album.rename(*index, to);
        ++m_outcome.renamed;
        QString &shown = m_context.state.CurrentFile;
        if (shown == m_context.paths.mediaFile(from)) {
            shown = m_context.paths.mediaFile(to);
            m_outcome.shownFileRenamed = true;
        }
        refresh(*index, *fresh);
        return true;
    }

    void reconcile(const QString &name)
    {
        // Copies under way land under a temporary name the loader leaves out too.
        if (name.isEmpty() || isCopyTempName(name))
            return;
        Album &album = m_context.album;
        const auto index = album.indexOf(name);
        const auto fresh = loadEntry(m_folder, name);
        if (fresh && index) {
            refresh(*index, *fresh);
        } else if (fresh) {
            album.append(*fresh);
            ++m_outcome.appended;
        } else if (index) {
            album.removeNamed({name});
            ++m_outcome.removed;
            if (m_context.state.CurrentFile == m_context.paths.mediaFile(name))
                m_outcome.shownFileRemoved = true;
        }
    }

    FolderReconcile outcome() const { return m_outcome; }

private:
    void refresh(std::size_t index, const AlbumEntry &fresh)
    {
        const AlbumEntry &held = m_context.album.at(index);
        if (held.sizeKB == fresh.sizeKB && held.info == fresh.info && held.attributes == fresh.attributes)
            return;
        m_context.album.replaceFile(index, fresh);
        ++m_outcome.changed;
    }

    AlbumContext &m_context;
    QString m_folder;
    FolderReconcile m_outcome;
};

} // namespace

FolderReconcile reconcileFolderChanges(AlbumContext &context, const QList<FolderEvent> &events)
{
    Reconciler reconciler(context);
    // Each name is looked at once, after the renames, whatever happened to it in between: what
    // counts is how it is now.
    QStringList names;
    for (const FolderEvent &event : events) {
        if (event.kind == FolderEvent::Kind::Renamed && reconciler.rename(event.name, event.newName))
            continue;
        names << event.name;
        if (event.kind == FolderEvent::Kind::Renamed)
            names << event.newName;
    }
    names.removeDuplicates();
    for (const QString &name : std::as_const(names))
        reconciler.reconcile(name);
    return reconciler.outcome();
}

FolderReconcile reconcileWholeFolder(AlbumContext &context)
{
    bool listed = false;
    QStringList names = listMediaFiles(context.paths.mediaFolder(), &listed);
    // A folder that cannot be read now says nothing about its files; the entries stay.
    if (!listed)
        return {};
    for (const AlbumEntry &entry : context.album.entries())
        names << entry.name;
    names.removeDuplicates();
    Reconciler reconciler(context);
    for (const QString &name : std::as_const(names))
        reconciler.reconcile(name);
    return reconciler.outcome();
}

} // namespace zv
