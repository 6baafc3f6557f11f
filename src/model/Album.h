#pragma once

#include "AlbumEntry.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <vector>

namespace zv {

// Told of every change of an album, after it happened; the list follows the album this way, so
// nothing keeps the two in step by hand.
class AlbumObserver {
public:
    virtual ~AlbumObserver() = default;
    // key: the entry count after the append, which numbers the new row ("D" + key).
    virtual void entryAppended(int key, const AlbumEntry &entry) = 0;
    // Same name; size, texts or attributes changed.
    virtual void entryChanged(const AlbumEntry &entry) = 0;
    virtual void entryRenamed(const QString &oldName, const AlbumEntry &entry) = 0;
    virtual void entriesRemoved(const QSet<QString> &names) = 0;
};

// The in-memory album: entries in load order, looked up by their exact name. Names that differ
// only in letter case are different files here and stay different entries; only the refusals
// that must think of systems without case (renaming, import numbering) ask without case.
class Album {
public:
    Album() = default;
    // A copy or an assigned album keeps its own observer: the list follows one album object.
    Album(const Album &other);
    Album &operator=(const Album &other);
    Album(Album &&other) noexcept;
    Album &operator=(Album &&other) noexcept;

    void setObserver(AlbumObserver *observer) { m_observer = observer; }

    // Empties the album quietly: a new filling of the list follows a new loading.
    void clear();
    // Raises the entry count, which numbers new rows and is never lowered by removals. While an
    // observer follows the album, a name it holds already is refreshed instead (replaceFile).
    void append(AlbumEntry entry);
    void reserve(std::size_t n) { m_entries.reserve(n); }

    // The five texts of one entry; the marker says whether the file now has a trailer.
    void replaceInfo(std::size_t i, const PictureInfo &info);
    // A file replaced on disk: size, texts and attributes from the new file; name and kind stay.
    void replaceFile(std::size_t i, const AlbumEntry &fresh);
    // The entry keeps its place; false when another entry already has exactly the new name.
    bool rename(std::size_t i, const QString &newName);
    // Removes the entries with these exact names in one pass.
    void removeNamed(const QSet<QString> &names);

    const std::vector<AlbumEntry> &entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.empty(); }
    const AlbumEntry &at(std::size_t i) const { return m_entries[i]; }
    // Entries appended since the album was cleared: after loading the number of files, raised
    // by each import.
    int entryCount() const { return m_entryCount; }

    std::optional<std::size_t> indexOf(const QString &name) const;
    const AlbumEntry *find(const QString &name) const;
    // Whether an entry has this name in any letter case.
    bool containsAnyCase(const QString &name) const;

private:
    static QString foldedKey(const QString &name) { return name.toCaseFolded(); }
    void buildIndex() const;
    void dropIndex();

    std::vector<AlbumEntry> m_entries;
    int m_entryCount = 0;
    AlbumObserver *m_observer = nullptr;
    // Built at the first lookup: loading a large album needs none.
    mutable QHash<QString, std::size_t> m_index;
    mutable QHash<QString, int> m_foldedCount;
    mutable bool m_indexed = false;
};

} // namespace zv
