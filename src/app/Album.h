#pragma once

#include "AlbumEntry.h"

#include <QHash>

#include <optional>
#include <vector>

namespace zv {

// The in-memory album: entries in load order, looked up by name without regard to case.
class Album {
public:
    void clear();
    void append(AlbumEntry entry);
    void reserve(std::size_t n) { m_entries.reserve(n); }

    const std::vector<AlbumEntry> &entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.empty(); }
    const AlbumEntry &at(std::size_t i) const { return m_entries[i]; }

    // Index of the entry, or nullopt.
    std::optional<std::size_t> indexOf(const QString &name) const;
    AlbumEntry *find(const QString &name);
    const AlbumEntry *find(const QString &name) const;

    // Number of entries after loading, raised by each import; the import relies on it.
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
