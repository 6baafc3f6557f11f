#pragma once

#include "operations/ExportRun.h"

#include "model/AlbumPaths.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QProgressBar;
class QPushButton;

namespace zv {

class Dialogs;
class Drives;
class FolderSource;
class FolderTreeView;
class SettingsStore;
class TransferDriver;
class frmRequest;

struct SaveFilesServices {
    AlbumPaths paths;
    const Drives &drives;
    Dialogs &dialogs;
    SettingsStore &settings; // the last folder and the dialog's size
    std::shared_ptr<const FolderSource> folders;
    QStringList ExportSelection;
    std::function<void()> closeMovie; // releases the media file the player holds
    OverwriteQuestion *question = nullptr; // null: the dialog asks through its own frmRequest
};

// The export dialog: the chosen album files, trailers included, into the selected folder.
class frmSaveFiles : public QWidget {
    Q_OBJECT
public:
    explicit frmSaveFiles(SaveFilesServices services, QWidget *parent = nullptr);
    ~frmSaveFiles() override;

    FolderTreeView *tree() const { return m_tv; }
    const QStringList &exportSelection() const { return m_services.ExportSelection; }
    // A later "speichern unter" while the dialog is open: its names replace the earlier ones.
    // Refused, with a message, while a copy runs: that copy goes on with the names it started
    // with, and the dialog closes when it ends.
    bool takeSelection(const QStringList &names);
    bool isCopying() const;

Q_SIGNALS:
    void exported(); // the copying is over and the dialog closes

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void save();
    void remember();

    SaveFilesServices m_services;
    std::unique_ptr<frmRequest> m_request;
    FolderTreeView *m_tv;
    QProgressBar *m_pb;
    QPushButton *m_cmdSave;
    TransferDriver *m_driver;
    std::unique_ptr<ExportRun> m_run;
};

} // namespace zv
