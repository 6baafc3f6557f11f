#pragma once

#include "BackgroundRead.h"
#include "FolderFiles.h"

#include "model/AlbumPaths.h"
#include "operations/ImportRun.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace zv {

class Album;
class AlbumListModel;
class Dialogs;
class Drives;
class FolderSource;
class FolderTreeView;
class SettingsStore;
class TransferDriver;
class frmRequest;

struct ExplorerServices {
    AlbumPaths paths;
    Album &album;
    AlbumListModel &list;
    const Drives &drives;
    SettingsStore &settings;
    Dialogs &dialogs;
    std::shared_ptr<const FolderSource> folders;
    OverwriteQuestion *question = nullptr; // null: the browser asks through its own frmRequest
};

// The import browser: drives and folders on the left, the media files of the clicked folder on
// the right, and between them the border that is also the progress bar.
class frmExplorer : public QWidget {
    Q_OBJECT
public:
    explicit frmExplorer(ExplorerServices services, QWidget *parent = nullptr);
    ~frmExplorer() override;

    // Lists the media files of a folder, as a click on its node does.
    void listFolder(const QString &folder);
    bool isImporting() const;

Q_SIGNALS:
    void listed(); // the file list shows the clicked folder
    void importFinished(); // "Aktion ausgeführt." or a stop

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showFiles(const FolderFiles &files);
    void validateNumber(const QString &text);
    void startImport();
    void importDone(bool completed);
    void placeBorder(int left);

    ExplorerServices m_services;
    std::unique_ptr<frmRequest> m_request;
    FolderTreeView *m_tv;
    QTreeWidget *m_lv;
    QProgressBar *m_picDrop;
    QCheckBox *m_chkNumber;
    QLineEdit *m_txtNumber;
    QLabel *m_lblBegin;
    QCheckBox *m_chkAufnahmedatum;
    QPushButton *m_cmdAdd;
    QPushButton *m_cmdCancel;
    TransferDriver *m_driver;
    std::shared_ptr<ResultChannel> m_channel;
    std::unique_ptr<ImportRun> m_run;
    int m_innerWidth = 0;
    int m_listing = 0; // the latest listing asked for; older answers are dropped
    bool m_closeWhenDone = false;
};

} // namespace zv
