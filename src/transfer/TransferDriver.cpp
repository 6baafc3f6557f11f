#include "TransferDriver.h"

#include <QtConcurrent/QtConcurrentRun>

namespace zv {

TransferDriver::TransferDriver(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<CopyResult>::finished, this, &TransferDriver::copied);
}

TransferDriver::~TransferDriver()
{
    m_cancel = true;
    m_watcher.waitForFinished();
}

void TransferDriver::start(TransferRun &run)
{
    m_run = &run;
    m_index = 0;
    m_cancel = false;
    next();
}

void TransferDriver::next()
{
    while (m_run) {
        if (m_cancel)
            return done(false);
        if (m_index >= m_run->count())
            return done(true);
        m_step = m_run->prepare(m_index); // may wait for the overwrite question
        if (m_cancel)
            return done(false);
        if (m_step.action == TransferStep::Action::Stop) {
            Q_EMIT stopped(m_step.stopTitle, m_step.stopText);
            return done(false);
        }
        if (m_step.action == TransferStep::Action::Copy) {
            Q_EMIT copying(m_step);
            m_watcher.setFuture(QtConcurrent::run([source = m_step.source, target = m_step.target, this] {
                return copyFile(source, target, [this](qint64, qint64) { return !m_cancel.load(); });
            }));
            return;
        }
        Q_EMIT handled(++m_index);
    }
}

void TransferDriver::copied()
{
    if (!m_run)
        return;
    const CopyResult result = m_watcher.result();
    const TransferFailure failure = m_run->finish(m_step, result);
    if (!failure.text.isEmpty() && result.failure != CopyFailure::Cancelled)
        Q_EMIT failed(failure);
    Q_EMIT handled(++m_index);
    next();
}

void TransferDriver::done(bool completed)
{
    syncFolder(m_run->targetFolder());
    m_run = nullptr;
    Q_EMIT finished(completed);
}

} // namespace zv
