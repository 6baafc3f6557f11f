#pragma once

#include "PlayerWiring.h"
#include "StartupTrace.h"

#include "app/AppSettings.h"
#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "model/AlbumPaths.h"
#include "model/ProgramState.h"
#include "operations/FolderFollower.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

#include <QObject>

#include <memory>

namespace zv {

class AlbumWindowPort;
class CameraDateRun;
class TurnRun;
class DropImport;
class frmDaten;
class frmDiaShow;
class frmPicWindow;
class frmStart;
class frmExplorer;
class frmRequest;
class frmSaveFiles;
class frmSkinChange;
class MovieModule;
class MpvMciDevice;

// The services a program runs on; tests hand in fakes.
struct ProgramServices {
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Drives> drives;
};

// The running program: it owns the services, the album and its list, the shared state, the
// media device and every window, and it is the only place where windows are connected.
class Program : public QObject {
    Q_OBJECT
public:
    Program(const QString &programFolder, ProgramServices services);
    ~Program() override;

    // Shows the start-up window; the main window follows when the album is loaded.
    void start();

    frmDaten *mainWindow() const { return m_mainWindow.get(); }
    const Album &album() const { return m_album; }
    ProgramState &state() { return m_state; }

private:
    AlbumWindowPort &createMainWindow();
    MovieModule &movieObj();
    QString skinFolder() const;
    void ShowPictureWindow(const QString &path);
    void showSlideShow();
    void showImportBrowser();
    void showExportDialog(const QStringList &ExportSelection);
    void showSkinChooser();
    void applySkin(const QString &skinName);
    void followMediaFolder();
    void importDroppedFiles();
    void runPictureCommands();
    // A dialog that is open already is raised instead of opened twice.
    template <typename Window>
    bool raiseIfOpen(const std::unique_ptr<Window> &window);

    StartupTrace m_trace;
    AlbumPaths m_paths;
    ProgramServices m_services;
    SettingsValues m_settings;
    Album m_album;
    AlbumListModel m_list;
    ProgramState m_state;
    QString m_pictureWindowFile; // what the picture window will show once it exists

    // Declared before the windows: the player bar inside the main window talks to it until
    // the window is gone.
    std::unique_ptr<MpvMciDevice> m_mciDevice;
    std::unique_ptr<MovieModule> m_movieObj;
    std::unique_ptr<frmStart> m_start;
    AttachedPlayer m_player;
    std::unique_ptr<frmRequest> m_newAlbumQuestion; // asked by "neues Album" in the main window
    std::unique_ptr<frmRequest> m_dropQuestion; // asked by an import of files dropped onto the list
    std::unique_ptr<DropImport> m_dropImport;
    std::unique_ptr<CameraDateRun> m_cameraDates; // "Aufnahmedatum übernehmen" in the background
    std::unique_ptr<TurnRun> m_turns; // the turns of the "Bilder" menu, in the background
    QString m_turnTitle; // the running turn's command, the title of what it has to tell
    std::unique_ptr<frmDaten> m_mainWindow;
    // Keeps the album in line with what other programs do in the media folder, from the main
    // window's making on.
    std::unique_ptr<FolderFollower> m_follower;
    // Top-level windows of their own, made anew for each opening after they were closed.
    std::unique_ptr<frmPicWindow> m_picWindow;
    std::unique_ptr<frmDiaShow> m_diaShow;
    std::unique_ptr<frmExplorer> m_explorer;
    std::unique_ptr<frmSaveFiles> m_saveFiles;
    std::unique_ptr<frmSkinChange> m_skinChange;
};

// The services of a real run: the user's settings, Qt's dialogs, the desktop shell, the
// mounted volumes.
ProgramServices systemServices();

} // namespace zv
