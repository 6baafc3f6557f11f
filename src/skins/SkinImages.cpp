#include "SkinImages.h"

namespace zv {

void SkinImages::clear()
{
    m_pictures.clear();
}

void SkinImages::insert(const QString &key, const QPixmap &picture)
{
    m_pictures.insert(key.toLower(), picture);
}

std::optional<QPixmap> SkinImages::find(QStringView key) const
{
    const auto it = m_pictures.constFind(key.toString().toLower());
    if (it == m_pictures.constEnd())
        return std::nullopt;
    return *it;
}

bool SkinImages::contains(QStringView key) const
{
    return m_pictures.contains(key.toString().toLower());
}

qsizetype SkinImages::size() const
{
    return m_pictures.size();
}

} // namespace zv
