#include "StartupTrace.h"

#include "model/Album.h"

#include <QEvent>
#include <QWidget>

namespace zv {

Q_LOGGING_CATEGORY(lcStartup, "zv.startup", QtWarningMsg)

StartupTrace::StartupTrace()
{
    m_clock.start();
}

void StartupTrace::mark(const char *what, qsizetype entries) const
{
    if (!lcStartup().isInfoEnabled())
        return;
    if (entries >= 0)
        qCInfo(lcStartup, "%s after %lld ms, %lld entries", what, m_clock.elapsed(), static_cast<long long>(entries));
    else
        qCInfo(lcStartup, "%s after %lld ms", what, m_clock.elapsed());
}

void StartupTrace::markFirstPaint(QWidget *window, const Album &album)
{
    if (!lcStartup().isInfoEnabled() || !window)
        return;
    m_album = &album;
    window->installEventFilter(this);
}

bool StartupTrace::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && static_cast<QWidget *>(watched)->isVisible()) {
        watched->removeEventFilter(this);
        mark("list filled", static_cast<qsizetype>(m_album->size()));
    }
    return false;
}

} // namespace zv
