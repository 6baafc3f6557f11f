#include "PictureRun.h"

#include <QMetaObject>

namespace zv {

PictureRun::PictureRun(QObject *parent)
    : QObject(parent)
{ }

PictureRun::~PictureRun()
{
    cancel();
    if (m_worker.joinable())
        m_worker.join(); // the file at hand is finished whole; what it posts back is dropped
}

void PictureRun::run(const QStringList &names, FileWork work)
{
    if (m_running || names.isEmpty())
        return;
    m_running = true;
    m_done = 0;
    m_total = int(names.size());
    m_cancel = std::make_shared<std::atomic_bool>(false);
    Q_EMIT progress(0, m_total);
    if (m_worker.joinable())
        m_worker.join(); // the last run's worker, past its last post
    m_worker = std::thread([this, names, work = std::move(work), cancel = m_cancel] {
        for (const QString &name : names) {
            if (cancel->load())
                break;
            QMetaObject::invokeMethod(
                this,
                [this, taken = work(name)] {
                    taken();
                    Q_EMIT progress(++m_done, m_total);
                },
                Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(this, &PictureRun::ended, Qt::QueuedConnection);
    });
}

void PictureRun::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

void PictureRun::ended()
{
    m_running = false;
    const bool cancelled = m_done < m_total;
    QString text = summary();
    if (cancelled)
        text = QStringLiteral("Abgebrochen nach %1 von %2 Dateien.\n").arg(m_done).arg(m_total) + text;
    Q_EMIT finished(text, cancelled);
}

} // namespace zv
