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
    EntryCount = 0;
}

void Album::append(AlbumEntry entry)
{
    m_index.insert(keyOf(entry.name), m_entries.size());
    m_entries.push_back(std::move(entry));
}

std::optional<std::size_t> Album::indexOf(const QString &name) const
{
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
