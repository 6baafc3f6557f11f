#include "TransferRun.h"

#include "platform/FileNames.h"

#include <vector>

namespace zv {

TransferFailure copyFailure(const QString &fileName, const CopyResult &copied)
{
    return {kCopyFailureTitle, QStringLiteral("Die Datei ") + displayFileName(fileName)
                                   + QStringLiteral(" wurde nicht kopiert: ") + copyFailureText(copied)
                                   + QLatin1Char('.')};
}

SyncOutcome runNow(TransferRun &run, const std::function<void(const QString &, const QString &)> &report, CopyIo &io)
{
    SyncOutcome outcome;
    // Files are completed (flushed and renamed) in groups: the bytes of a group are written
    // first, so one commit of the file system's journal covers all of them instead of one
    // commit per file. Every file is still on disk before its name appears.
    constexpr qint64 groupBytes = qint64(128) << 20;
    constexpr std::size_t groupFiles = 32;
    std::vector<std::pair<TransferStep, PendingCopy>> group;
    qint64 bytes = 0;
    const auto settle = [&] {
        for (auto &[step, pending] : group) {
            const TransferFailure failure = run.finish(step, pending.complete(io));
            if (!failure.text.isEmpty()) {
                report(failure.title, failure.text);
                ++outcome.failed;
            }
        }
        group.clear();
        bytes = 0;
    };
    for (int i = 0; i < run.count(); ++i) {
        TransferStep step = run.prepare(i);
        if (step.action == TransferStep::Action::Stop) {
            settle();
            report(step.stopTitle, step.stopText);
            ++outcome.failed;
            outcome.stopped = true;
            break;
        }
        if (step.action == TransferStep::Action::Skip)
            continue;
        PendingCopy pending = startCopy(step.source, step.target, {}, io);
        bytes += pending.result().bytes;
        group.emplace_back(std::move(step), std::move(pending));
        if (bytes >= groupBytes || group.size() >= groupFiles)
            settle();
    }
    settle();
    syncFolder(run.targetFolder());
    return outcome;
}

} // namespace zv
