#pragma once

#include "AlbumEntry.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <span>
#include <vector>

namespace zv {

// The in-memory album: entries in load order, looked up by name without regard to case.
// Every change keeps the name index right, so a lookup after a removal or a rename finds the
// entry where it now is.
class Album {
public:
    void clear();
    void append(AlbumEntry entry);
    void reserve(std::size_t n) { m_entries.reserve(n); }

    // The five texts of one entry; the marker says whether the file now has a trailer.
    void replaceInfo(std::size_t i, const PictureInfo &info);
    // A file replaced on disk: size, texts and attributes from the new file; name and kind stay.
    void replaceFile(std::size_t i, const AlbumEntry &fresh);
    // The entry keeps its place; false when another entry already has the new name.
    bool rename(std::size_t i, const QString &newName);
    // Removes the entries at the given positions, ascending and unique, in one pass.
    void removeAt(std::span<const std::size_t> ascending);
    // Removes the entries with these exact names in one pass, without building the name index.
    void removeNamed(const QSet<QString> &names);

    const std::vector<AlbumEntry> &entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.empty(); }
    const AlbumEntry &at(std::size_t i) const { return m_entries[i]; }

    std::optional<std::size_t> indexOf(const QString &name) const;
    const AlbumEntry *find(const QString &name) const;

    // Number of entries after loading, raised by each import; the import numbers rows by it.
    int EntryCount = 0;

private:
    static QString keyOf(const QString &name) { return name.toCaseFolded(); }
    void buildIndex() const;

    std::vector<AlbumEntry> m_entries;
    // Built at the first lookup: loading a large album needs none.
    mutable QHash<QString, std::size_t> m_index;
    mutable bool m_indexed = false;
};

} // namespace zv
