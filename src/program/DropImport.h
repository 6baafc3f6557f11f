#pragma once

#include "model/AlbumPaths.h"
#include "operations/ImportRun.h"

#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>

namespace zv {

class Album;
class AlbumListModel;
class Dialogs;
class Drives;
class OverwriteQuestion;
class SettingsStore;
class TransferDriver;
struct ProgramState;

struct DropImportServices {
    AlbumPaths paths;
    Album &album;
    AlbumListModel &list;
    const ProgramState &state;
    const Drives &drives;
    SettingsStore &settings;
    Dialogs &dialogs;
    OverwriteQuestion &question;
    std::function<bool()> otherTransferRuns; // the import browser's import, an export
};

// Imports what was dropped onto the main window's list by the import browser's rules: the
// numbering as last stored, the overwrite question, copies under temporary names until they are
// complete. Progress goes out as signals for the main window's bar.
class DropImport : public QObject {
    Q_OBJECT
public:
    explicit DropImport(DropImportServices services, QObject *parent = nullptr, CopyIo &io = systemCopyIo());
    ~DropImport() override;

    void importDropped(const QList<QUrl> &urls);
    bool isRunning() const;

    inline static const QString kTitle = QStringLiteral("Dateien einfügen");
    inline static const QString kBusyText =
        QStringLiteral("Es werden gerade Dateien kopiert. Ziehen Sie die Dateien noch einmal hierher, "
                       "wenn das Kopieren beendet ist.");
    inline static const QString kNothingText =
        QStringLiteral("Ins Album lassen sich nur Bilder, Videos, Töne und PDF-Dateien von diesem "
                       "Computer einfügen.");

Q_SIGNALS:
    void progress(int done, int total);
    void finished();

private:
    void done();

    DropImportServices m_services;
    TransferDriver *m_driver;
    std::unique_ptr<ImportRun> m_run;
};

} // namespace zv
