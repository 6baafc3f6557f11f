#include "TransferDriver.h"

#include <QtConcurrent/QtConcurrentRun>

namespace zv {
namespace {
constexpr qint64 kGroupBytes = qint64(128) << 20;
constexpr std::size_t kGroupFiles = 32;
constexpr qint64 kGroupMs = 500;
} // namespace

TransferDriver::TransferDriver(QObject *parent)
    : QObject(parent)
{
    connect(&m_copy, &QFutureWatcher<Pending>::finished, this, &TransferDriver::copied);
    connect(&m_complete, &QFutureWatcher<std::vector<CopyResult>>::finished, this, &TransferDriver::groupCompleted);
}

TransferDriver::~TransferDriver()
{
    m_cancel = true;
    m_copy.waitForFinished();
    m_complete.waitForFinished();
}

void TransferDriver::start(TransferRun &run)
{
    m_run = &run;
    m_index = 0;
    m_handled = 0;
    m_cancel = false;
    m_stopAfterGroup = false;
    next();
}

void TransferDriver::next()
{
    while (m_run) {
        if (m_cancel)
            return done(false);
        if (m_index >= m_run->count()) {
            if (!m_group.empty())
                return completeGroup();
            return done(true);
        }
        m_step = m_run->prepare(m_index++); // may wait for the overwrite question
        if (m_cancel)
            return done(false);
        if (m_step.action == TransferStep::Action::Stop) {
            Q_EMIT stopped(m_step.stopTitle, m_step.stopText);
            m_stopAfterGroup = true;
            if (!m_group.empty())
                return completeGroup();
            return done(false);
        }
        if (m_step.action == TransferStep::Action::Copy) {
            Q_EMIT copying(m_step);
            m_copy.setFuture(QtConcurrent::run([source = m_step.source, target = m_step.target, this] {
                return std::make_shared<PendingCopy>(
                    startCopy(source, target, [this](qint64, qint64) { return !m_cancel.load(); }));
            }));
            return;
        }
        Q_EMIT handled(++m_handled);
    }
}

void TransferDriver::copied()
{
    if (!m_run)
        return;
    Pending pending = m_copy.result();
    if (m_group.empty())
        m_groupAge.start();
    m_groupBytes += pending->result().bytes;
    m_group.emplace_back(m_step, std::move(pending));
    if (m_groupBytes >= kGroupBytes || m_group.size() >= kGroupFiles || m_groupAge.elapsed() >= kGroupMs)
        return completeGroup();
    next();
}

void TransferDriver::completeGroup()
{
    std::vector<Pending> copies;
    for (const auto &entry : m_group)
        copies.push_back(entry.second);
    m_complete.setFuture(QtConcurrent::run([copies = std::move(copies)] {
        std::vector<CopyResult> results;
        for (const Pending &p : copies)
            results.push_back(p->complete());
        return results;
    }));
}

void TransferDriver::groupCompleted()
{
    if (!m_run)
        return;
    const std::vector<CopyResult> results = m_complete.result();
    for (std::size_t i = 0; i < m_group.size(); ++i) {
        const TransferFailure failure = m_run->finish(m_group[i].first, results[i]);
        if (!failure.text.isEmpty() && results[i].failure != CopyFailure::Cancelled)
            Q_EMIT failed(failure);
        Q_EMIT handled(++m_handled);
    }
    m_group.clear();
    m_groupBytes = 0;
    if (m_stopAfterGroup)
        return done(false);
    next();
}

void TransferDriver::done(bool completed)
{
    m_group.clear(); // copies not in place yet are discarded
    m_groupBytes = 0;
    syncFolder(m_run->targetFolder());
    m_run = nullptr;
    Q_EMIT finished(completed);
}

} // namespace zv
