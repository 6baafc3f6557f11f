#pragma once

#include "CameraDates.h"
#include "OverwriteDecision.h"
#include "TransferRun.h"

#include "model/AlbumPaths.h"
#include "model/SettingsKeys.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QStringList>

#include <optional>

namespace zv {

class Album;
class AlbumListModel;
class Drives;
class OverwriteQuestion;
class SettingsStore;

struct ImportOptions {
    bool numbering = false;
    QString startNumber; // the number box's text, stored as Import/Number when the run begins
    bool cameraDate = false; // each copy without a date takes its camera moment before the album sees it
};

// Everything an import touches, passed in by its window or the companion.
struct ImportContext {
    AlbumPaths paths;
    Album &album;
    AlbumListModel *list; // its caption counts the rows at the end; null in the companion
    const Drives &drives;
    SettingsStore &settings;
    OverwriteQuestion &question;
};

// Copies chosen files into the media folder, optionally under running numbers, and enters each
// into the album at once (the list follows): a new entry, or the replaced file's entry
// refreshed in place.
class ImportRun final : public TransferRun {
public:
    ImportRun(ImportContext context, QStringList sources, ImportOptions options);

    // Stores the start number; a message when the run cannot start.
    std::optional<TransferFailure> begin();
    int count() const override { return int(m_sources.size()); }
    TransferStep prepare(int i) override;
    std::optional<TransferStep> retarget(const TransferStep &step) override;
    // With cameraDate: the camera's day goes into the copy before it takes its name.
    void amendCopy(const TransferStep &step, PendingCopy &copy, CopyIo &io) override;
    TransferFailure finish(const TransferStep &step, const CopyResult &copied) override;
    QString targetFolder() const override { return m_context.paths.mediaFolder(); }
    // "Dateiname [N Dateien geladen]" after the last file.
    void end();

    // Files copied in so far, and how many of them the album cannot show ("unbekannt"): the
    // companion copies every file it is given, where the browser lists only media files.
    int copiedCount() const { return m_copied; }
    int unknownCount() const { return m_unknown; }
    // With cameraDate: what became of the copies' dates so far.
    const CameraDateCounts &cameraDates() const { return m_cameraDates; }

private:
    bool taken(const QString &name) const;
    // The next free running number for the step's file; false when the stored number is bad.
    bool takeNextNumber(TransferStep &step);

    ImportContext m_context;
    QStringList m_sources;
    ImportOptions m_options;
    OverwriteDecision m_decision;
    QSet<QString> m_underWay; // targets prepared and not finished, case-folded
    int m_copied = 0;
    int m_unknown = 0;
    CameraDateCounts m_cameraDates;
    // What amendCopy did to each source's copy, until its finish takes it.
    QMutex m_datedLock;
    QHash<QString, CameraDateResult> m_dated;
};

} // namespace zv
