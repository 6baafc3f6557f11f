#include "ExportRun.h"

#include "platform/FileNames.h"
#include "platform/PathStatus.h"

namespace zv {

ExportRun::ExportRun(AlbumPaths paths, QString targetFolder, QStringList names, OverwriteQuestion &question)
    : m_paths(std::move(paths))
    , m_folder(targetFolder.endsWith(QLatin1Char('/')) ? targetFolder : targetFolder + QLatin1Char('/'))
    , m_names(std::move(names))
    , m_question(question)
{ }

TransferStep ExportRun::prepare(int i)
{
    TransferStep step;
    step.targetName = m_names[i];
    step.source = m_paths.mediaFile(step.targetName);
    step.target = m_folder + step.targetName;
    step.replacing = nameStatus(step.target).exists();
    if (step.replacing && !m_decision.replace({step.target, step.source}, m_question))
        return step;
    step.placing = step.replacing ? Placing::Replace : Placing::NewName;
    step.action = TransferStep::Action::Copy;
    return step;
}

std::optional<TransferStep> ExportRun::retarget(const TransferStep &step)
{
    // A file of that name appeared while the copy was written: asked about like one that was there.
    if (!m_decision.replace({step.target, step.source}, m_question))
        return std::nullopt;
    TransferStep again = step;
    again.replacing = true;
    again.placing = Placing::Replace;
    return again;
}

TransferFailure ExportRun::finish(const TransferStep &step, const CopyResult &copied)
{
    return copied || copied.failure == CopyFailure::Cancelled ? TransferFailure{}
                                                              : copyFailure(step.targetName, copied);
}

} // namespace zv
