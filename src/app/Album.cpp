#include "Album.h"

#include "platform/Rounding.h"

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

AlbumEntry *Album::find(const QString &name)
{
    const auto i = indexOf(name);
    return i ? &m_entries[*i] : nullptr;
}

const AlbumEntry *Album::find(const QString &name) const
{
    const auto i = indexOf(name);
    return i ? &m_entries[*i] : nullptr;
}

} // namespace zv
