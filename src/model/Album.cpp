#include "Album.h"

#include "platform/Rounding.h"

#include <algorithm>

namespace zv {

qint64 sizeInKB(qint64 bytes)
{
    return roundHalfEven(static_cast<double>(bytes) / 1024.0);
}

Album::Album(const Album &other)
    : m_entries(other.m_entries)
    , m_entryCount(other.m_entryCount)
{ }

Album &Album::operator=(const Album &other)
{
    if (this != &other) {
        m_entries = other.m_entries;
        m_entryCount = other.m_entryCount;
        dropIndex();
    }
    return *this;
}

Album::Album(Album &&other) noexcept
    : m_entries(std::move(other.m_entries))
    , m_entryCount(other.m_entryCount)
{ }

Album &Album::operator=(Album &&other) noexcept
{
    m_entries = std::move(other.m_entries);
    m_entryCount = other.m_entryCount;
    dropIndex();
    return *this;
}

void Album::dropIndex()
{
    m_index.clear();
    m_foldedCount.clear();
    m_indexed = false;
}

void Album::clear()
{
    m_entries.clear();
    dropIndex();
    m_entryCount = 0;
}

void Album::append(AlbumEntry entry)
{
    // A followed album is also brought in line with its folder as others write it, so a file
    // an import lands may already have been entered; loading, which nobody follows, is spared
    // the lookups.
    if (m_observer) {
        if (const auto existing = indexOf(entry.name)) {
            replaceFile(*existing, entry);
            return;
        }
    }
    if (m_indexed) {
        m_index.insert(entry.name, m_entries.size());
        ++m_foldedCount[foldedKey(entry.name)];
    }
    m_entries.push_back(std::move(entry));
    ++m_entryCount;
    if (m_observer)
        m_observer->entryAppended(m_entryCount, m_entries.back());
}

void Album::replaceInfo(std::size_t i, const PictureInfo &info)
{
    m_entries[i].info = info;
    if (m_observer)
        m_observer->entryChanged(m_entries[i]);
}

void Album::replaceFile(std::size_t i, const AlbumEntry &fresh)
{
    AlbumEntry &e = m_entries[i];
    e.sizeKB = fresh.sizeKB;
    e.info = fresh.info;
    e.attributes = fresh.attributes;
    if (m_observer)
        m_observer->entryChanged(e);
}

bool Album::rename(std::size_t i, const QString &newName)
{
    const auto existing = indexOf(newName);
    if (existing && *existing != i)
        return false;
    const QString oldName = m_entries[i].name;
    m_index.remove(oldName);
    if (--m_foldedCount[foldedKey(oldName)] <= 0)
        m_foldedCount.remove(foldedKey(oldName));
    m_entries[i].name = newName;
    m_index.insert(newName, i);
    ++m_foldedCount[foldedKey(newName)];
    if (m_observer)
        m_observer->entryRenamed(oldName, m_entries[i]);
    return true;
}

void Album::removeNamed(const QSet<QString> &names)
{
    if (names.isEmpty())
        return;
    QSet<QString> removed;
    const auto end = std::remove_if(m_entries.begin(), m_entries.end(), [&](const AlbumEntry &e) {
        if (!names.contains(e.name))
            return false;
        removed.insert(e.name);
        return true;
    });
    if (end == m_entries.end())
        return;
    m_entries.erase(end, m_entries.end());
    // Positions after the first removal all moved; rebuilding lazily is cheaper than patching.
    dropIndex();
    if (m_observer)
        m_observer->entriesRemoved(removed);
}

void Album::buildIndex() const
{
    m_index.clear();
    m_foldedCount.clear();
    m_index.reserve(static_cast<qsizetype>(m_entries.size()));
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        m_index.insert(m_entries[i].name, i);
        ++m_foldedCount[foldedKey(m_entries[i].name)];
    }
    m_indexed = true;
}

std::optional<std::size_t> Album::indexOf(const QString &name) const
{
    if (!m_indexed)
        buildIndex();
    const auto it = m_index.constFind(name);
    if (it == m_index.constEnd())
        return std::nullopt;
    return *it;
}

const AlbumEntry *Album::find(const QString &name) const
{
    const auto i = indexOf(name);
    return i ? &m_entries[*i] : nullptr;
}

bool Album::containsAnyCase(const QString &name) const
{
    if (!m_indexed)
        buildIndex();
    return m_foldedCount.contains(foldedKey(name));
}

} // namespace zv
