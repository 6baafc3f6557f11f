#include "Album.h"

#include "platform/Rounding.h"

#include <algorithm>

namespace zv {

qint64 sizeInKB(qint64 bytes)
{
    return roundHalfEven(static_cast<double>(bytes) / 1024.0);
}

void Album::clear()
{
    m_entries.clear();
    m_index.clear();
    m_indexed = false;
    EntryCount = 0;
}

void Album::append(AlbumEntry entry)
{
    if (m_indexed)
        m_index.insert(keyOf(entry.name), m_entries.size());
    m_entries.push_back(std::move(entry));
}

void Album::replaceInfo(std::size_t i, const PictureInfo &info)
{
    m_entries[i].info = info;
}

void Album::replaceFile(std::size_t i, const AlbumEntry &fresh)
{
    AlbumEntry &e = m_entries[i];
    e.sizeKB = fresh.sizeKB;
    e.info = fresh.info;
    e.attributes = fresh.attributes;
}

bool Album::rename(std::size_t i, const QString &newName)
{
    const auto existing = indexOf(newName);
    if (existing && *existing != i)
        return false;
    m_index.remove(keyOf(m_entries[i].name));
    m_entries[i].name = newName;
    m_index.insert(keyOf(newName), i);
    return true;
}

void Album::removeAt(std::span<const std::size_t> ascending)
{
    if (ascending.empty())
        return;
    std::size_t out = ascending.front();
    auto next = ascending.begin();
    for (std::size_t in = ascending.front(); in < m_entries.size(); ++in) {
        if (next != ascending.end() && *next == in) {
            ++next;
            continue;
        }
        m_entries[out++] = std::move(m_entries[in]);
    }
    m_entries.resize(out);
    // Positions after the first removal all moved; rebuilding lazily is cheaper than patching.
    m_index.clear();
    m_indexed = false;
}

void Album::removeNamed(const QSet<QString> &names)
{
    if (names.isEmpty())
        return;
    const auto end = std::remove_if(m_entries.begin(), m_entries.end(),
                                    [&](const AlbumEntry &e) { return names.contains(e.name); });
    if (end == m_entries.end())
        return;
    m_entries.erase(end, m_entries.end());
    m_index.clear();
    m_indexed = false;
}

void Album::buildIndex() const
{
    m_index.clear();
    m_index.reserve(static_cast<qsizetype>(m_entries.size()));
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.insert(keyOf(m_entries[i].name), i);
    m_indexed = true;
}

std::optional<std::size_t> Album::indexOf(const QString &name) const
{
    if (!m_indexed)
        buildIndex();
    const auto it = m_index.constFind(keyOf(name));
    if (it == m_index.constEnd())
        return std::nullopt;
    return *it;
}

const AlbumEntry *Album::find(const QString &name) const
{
    const auto i = indexOf(name);
    return i ? &m_entries[*i] : nullptr;
}

} // namespace zv
