#include "ThumbnailQueue.h"

namespace zv::thumbnails {

QStringList ThumbnailQueue::setShown(const QStringList &shown, const std::function<bool(const QString &)> &done)
{
    const QSet<QString> onScreen(shown.begin(), shown.end());
    m_waiting.clear();
    for (const QString &name : shown)
        if (!m_running.contains(name) && !done(name))
            m_waiting.append(name);
    QStringList gone;
    for (const QString &name : std::as_const(m_running))
        if (!onScreen.contains(name))
            gone.append(name);
    return gone;
}

std::optional<QString> ThumbnailQueue::take()
{
    if (m_waiting.isEmpty() || int(m_running.size()) >= m_parallel)
        return std::nullopt;
    QString name = m_waiting.takeFirst();
    m_running.insert(name);
    return name;
}

void ThumbnailQueue::finished(const QString &name)
{
    m_running.remove(name);
}

} // namespace zv::thumbnails
