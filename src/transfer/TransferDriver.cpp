#include "TransferDriver.h"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace zv {
namespace {
constexpr qint64 kGroupBytes = qint64(128) << 20;
constexpr std::size_t kGroupFiles = 32;
constexpr qint64 kGroupMs = 500;
} // namespace

TransferDriver::TransferDriver(QObject *parent, CopyIo &io)
    : QObject(parent)
    , m_io(io)
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
    m_cleaned = false;
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
            // Before the first copy, off this thread (the folder may be on a slow share): copies
            // a killed run left where nameless files are not possible; live ones are locked and stay.
            const QString clean = std::exchange(m_cleaned, true) ? QString() : m_run->targetFolder();
            m_copy.setFuture(QtConcurrent::run([step = m_step, run = m_run, clean, this] {
                if (!clean.isEmpty())
                    removeStaleCopies(clean);
                auto pending = std::make_shared<PendingCopy>(startCopy(
                    step.source, step.target, step.placing, [this](qint64, qint64) { return !m_cancel.load(); }, m_io));
                run->amendCopy(step, *pending, m_io);
                return pending;
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
    m_complete.setFuture(QtConcurrent::run([copies = std::move(copies), this] {
        std::vector<CopyResult> results;
        for (const Pending &p : copies)
            results.push_back(p->complete(m_io));
        return results;
    }));
}

void TransferDriver::groupCompleted()
{
    if (!m_run)
        return;
    const std::vector<CopyResult> results = m_complete.result();
    for (std::size_t i = 0; i < m_group.size(); ++i) {
        auto &[step, pending] = m_group[i];
        CopyResult result = results[i];
        // Taken by another writer while it was copied: placed anew here, where the question may be asked.
        if (result.failure == CopyFailure::TargetTaken) {
            pending->retarget(step.targetName, step.placing); // as it was: complete again
            result = completeInPlace(*m_run, step, *pending, m_io);
        }
        const TransferFailure failure = m_run->finish(step, result);
        if (!failure.text.isEmpty() && result.failure != CopyFailure::Cancelled)
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
