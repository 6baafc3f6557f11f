#pragma once

#include "platform/FileCopy.h"

#include <QString>

#include <functional>
#include <optional>

namespace zv {

// One file of an import or export: what to do with it. Decided on the user-interface thread
// (it may ask the overwrite question); the copy itself may run anywhere.
struct TransferStep {
    enum class Action { Copy, Skip, Stop } action = Action::Skip;
    QString source;
    QString target;
    QString targetName; // without folder
    bool replacing = false; // the target existed before the copy
    Placing placing = Placing::NewName; // Replace only when the user said so
    QString stopTitle; // Stop: the message that ends the run
    QString stopText;
};

// A failure message for one file; the run goes on with the next.
struct TransferFailure {
    QString title;
    QString text;
};

class TransferRun {
public:
    virtual ~TransferRun() = default;
    virtual int count() const = 0;
    virtual TransferStep prepare(int i) = 0; // before finish() of the previous file, maybe
    // The copy's name was taken by another writer while it was written, on the user-interface
    // thread: the step to place it under instead (another number, or the same name replaced
    // after asking again), or nothing to drop the copy.
    virtual std::optional<TransferStep> retarget(const TransferStep &step) = 0;
    // On the copy's worker, once its bytes are written and before it takes its name, so the
    // name never shows the copy unamended; must be safe beside the other calls.
    virtual void amendCopy(const TransferStep &, PendingCopy &, CopyIo &) { }
    // After the copy (or its failure), on the user-interface thread; empty text when all went well.
    virtual TransferFailure finish(const TransferStep &step, const CopyResult &copied) = 0;
    // Where the copies go; its new names are flushed once the run ends.
    virtual QString targetFolder() const = 0;
};

inline const QString kCopyFailureTitle = QStringLiteral("Fehler beim Kopieren");
TransferFailure copyFailure(const QString &fileName, const CopyResult &copied);

// Completes a copy and, while its name turns out taken, places it as the run decides; step
// ends as the one the copy was placed under. A copy the run drops comes back Cancelled.
CopyResult completeInPlace(TransferRun &run, TransferStep &step, PendingCopy &copy, CopyIo &io = systemCopyIo());

// Runs every file in turn on the calling thread. A file may be prepared before the one before
// it is finished; runs account for targets still under way. Returns the number of failed files, with a
// stopped run counted as one; report gets every message.
struct SyncOutcome {
    int failed = 0;
    bool stopped = false;
};
SyncOutcome runNow(TransferRun &run, const std::function<void(const QString &title, const QString &text)> &report,
                   CopyIo &io = systemCopyIo());

} // namespace zv
