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
    for (int i = 0; i < run.count(); ++i) {
        const TransferStep step = run.prepare(i);
        if (step.action == TransferStep::Action::Stop) {
            report(step.stopTitle, step.stopText);
            ++outcome.failed;
            outcome.stopped = true;
            break;
        }
        if (step.action == TransferStep::Action::Skip)
            continue;
        const TransferFailure failure = run.finish(step, copyFile(step.source, step.target, {}, io));
        if (!failure.text.isEmpty()) {
            report(failure.title, failure.text);
            ++outcome.failed;
        }
    }
    syncFolder(run.targetFolder());
    return outcome;
}

} // namespace zv
