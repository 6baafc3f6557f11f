#pragma once

#include "OverwriteDecision.h"
#include "TransferRun.h"

#include "model/AlbumPaths.h"

#include <QStringList>

namespace zv {

class OverwriteQuestion;

// Copies album files, trailers included, into a folder of the user's choice. Touches neither
// the album nor the list.
class ExportRun final : public TransferRun {
public:
    ExportRun(AlbumPaths paths, QString targetFolder, QStringList names, OverwriteQuestion &question);

    int count() const override { return int(m_names.size()); }
    TransferStep prepare(int i) override;
    std::optional<TransferStep> retarget(const TransferStep &step) override;
    TransferFailure finish(const TransferStep &step, const CopyResult &copied) override;
    QString targetFolder() const override { return m_folder; }

private:
    AlbumPaths m_paths;
    QString m_folder;
    QStringList m_names;
    OverwriteQuestion &m_question;
    OverwriteDecision m_decision;
};

// "Kopiere: " + name, the dialog's title while a file is copied.
inline QString copyingTitle(const QString &name)
{
    return QStringLiteral("Kopiere: ") + name;
}

} // namespace zv
