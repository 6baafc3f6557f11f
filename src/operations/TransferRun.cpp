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

CopyResult completeInPlace(TransferRun &run, TransferStep &step, PendingCopy &copy, CopyIo &io)
{
    CopyResult result = copy.complete(io);
    while (result.failure == CopyFailure::TargetTaken) {
        const std::optional<TransferStep> again = run.retarget(step);
        if (!again)
            return {CopyFailure::Cancelled, 0, 0}; // dropped with the copy
        step = *again;
        copy.retarget(step.targetName, step.placing);
        result = copy.complete(io);
    }
    return result;
}

SyncOutcome runNow(TransferRun &run, const std::function<void(const QString &, const QString &)> &report, CopyIo &io)
{
    SyncOutcome outcome;
    // Copies a killed run left where nameless files are not possible; live ones are locked and stay.
    removeStaleCopies(run.targetFolder());
    // Files are completed (flushed and renamed) in groups: the bytes of a group are written
    // first, so one commit of the file system's journal covers all of them instead of one
    // commit per file. Every file is still on disk before its name appears.
    constexpr qint64 groupBytes = qint64(128) << 20;
    constexpr std::size_t groupFiles = 32;
    std::vector<std::pair<TransferStep, PendingCopy>> group;
    qint64 bytes = 0;
    const auto settle = [&] {
        for (auto &[step, pending] : group) {
            const TransferFailure failure = run.finish(step, completeInPlace(run, step, pending, io));
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
        PendingCopy pending = startCopy(step.source, step.target, step.placing, {}, io);
        run.amendCopy(step, pending, io);
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
