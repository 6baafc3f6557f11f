#include "TransferRun.h"

#include "platform/FileNames.h"

namespace zv {

TransferFailure copyFailure(const QString &fileName, const CopyResult &copied)
{
    return {kCopyFailureTitle, QStringLiteral("Die Datei ") + displayFileName(fileName)
                                   + QStringLiteral(" wurde nicht kopiert: ") + copyFailureText(copied) + QLatin1Char('.')};
}

SyncOutcome runNow(TransferRun &run, const std::function<void(const QString &, const QString &)> &report, CopyIo &io)
{
    SyncOutcome outcome;
    // Each file is completed (flushed and renamed) after the next one's bytes are written, so
    // the disk writes one back while the other is copied.
    TransferStep previousStep;
    PendingCopy previous;
    bool pending = false;
    const auto settle = [&] {
        if (!pending)
            return;
        pending = false;
        const TransferFailure failure = run.finish(previousStep, previous.complete(io));
        if (!failure.text.isEmpty()) {
            report(failure.title, failure.text);
            ++outcome.failed;
        }
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
        PendingCopy next = startCopy(step.source, step.target, {}, io);
        settle();
        previousStep = std::move(step);
        previous = std::move(next);
        pending = true;
    }
    settle();
    syncFolder(run.targetFolder());
    return outcome;
}

} // namespace zv
