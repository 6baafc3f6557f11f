#include "Program.h"

#include "DropImport.h"

#include "album/frmDaten.h"
#include "app/frmStart.h"
#include "media/MovieModule.h"
#include "media/MovieWindows.h"
#include "media/MpvMciDevice.h"
#include "operations/CameraDateRun.h"
#include "operations/RotatePicture.h"
#include "operations/TurnRun.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "skins/frmSkinChange.h"
#include "skins/SkinFiles.h"
#include "transfer/DriveChart.h"
#include "transfer/FolderSource.h"
#include "transfer/frmExplorer.h"
#include "transfer/frmRequest.h"
#include "transfer/frmSaveFiles.h"
#include "viewing/frmDiaShow.h"
#include "viewing/frmPicWindow.h"

#include <QCoreApplication>
#include <QTimer>

namespace zv {

ProgramServices systemServices()
{
    return {makeUserSettings(QString::fromLatin1(kApplicationName)), makeQtDialogs(), makeDesktopShell(),
            makeSystemDrives()};
}

Program::Program(const QString &programFolder, ProgramServices services)
    : m_paths{programFolder}
    , m_services(std::move(services))
{
    m_list.follow(m_album);
}

// The main window goes before the player's adapter and the device it uses.
Program::~Program()
{
    m_diaShow.reset();
    m_picWindow.reset();
    m_follower.reset();
    m_dropImport.reset();
    m_cameraDates.reset();
    m_turns.reset();
    m_mainWindow.reset();
    m_player.media.reset();
}

void Program::start()
{
    m_start = std::make_unique<frmStart>(StartupContext{
        m_paths, *m_services.drives, *m_services.dialogs, *m_services.settings, m_settings, m_album,
        [this]() -> AlbumWindowPort & { return createMainWindow(); }, [](int code) { QCoreApplication::exit(code); }});
    m_start->show();
    m_trace.mark("start-up window shown");
    // The driver takes a fifth of a second to load and set up; the start-up window waits a
    // second anyway, so the main window's first showing need not.
    QTimer::singleShot(0, this, [this] {
        movieWindows::warmUpGl();
        m_trace.mark("GL driver loaded");
    });
    connect(
        &m_list, &QAbstractItemModel::modelAboutToBeReset, this,
        [this] { m_trace.mark("album loaded, list filling", static_cast<qsizetype>(m_album.size())); },
        Qt::SingleShotConnection);
}

QString Program::skinFolder() const
{
    return SkinFolder(m_paths.programFolder, m_settings.SkinPath);
}

MovieModule &Program::movieObj()
{
    if (!m_movieObj) {
        m_mciDevice = std::make_unique<MpvMciDevice>();
        m_movieObj = std::make_unique<MovieModule>(*m_mciDevice);
    }
    return *m_movieObj;
}

AlbumWindowPort &Program::createMainWindow()
{
    if (m_mainWindow)
        return *m_mainWindow;
    m_trace.mark("main window requested");
    const QString folder = skinFolder();
    MainWindowServices windowServices{m_paths, m_album, m_list, m_state, *m_services.shell, *m_services.dialogs};
    m_newAlbumQuestion = std::make_unique<frmRequest>();
    windowServices.question = m_newAlbumQuestion.get();
    windowServices.drives = m_services.drives.get();
    windowServices.driveUsage = [this] {
        const DriveChart chart =
            drawInfo(*m_services.drives, m_paths.programFolder, driveChartSize, m_mainWindow->devicePixelRatioF());
        return DriveUsage{chart.pie, chart.freeText, chart.usedText, chart.freeColour, chart.usedColour};
    };
    m_mainWindow = std::make_unique<frmDaten>(std::move(windowServices), folder);
    m_player = attachPlayer(*m_mainWindow, movieObj(), *m_services.shell, folder);
    connect(m_mainWindow.get(), &frmDaten::quitRequested, this, [] { QCoreApplication::exit(0); });
    // The player bar's picture-window button asks through the same signal.
    connect(m_mainWindow.get(), &frmDaten::pictureWindowRequested, this, &Program::ShowPictureWindow);
    connect(m_mainWindow.get(), &frmDaten::slideShowRequested, this, &Program::showSlideShow);
    connect(m_mainWindow.get(), &frmDaten::importRequested, this, &Program::showImportBrowser);
    connect(m_mainWindow.get(), &frmDaten::exportRequested, this, &Program::showExportDialog);
    connect(m_mainWindow.get(), &frmDaten::skinChooserRequested, this, &Program::showSkinChooser);
    importDroppedFiles();
    runPictureCommands();
    followMediaFolder();
    m_trace.mark("main window made");
    m_trace.markFirstPaint(m_mainWindow.get(), m_album);
    return *m_mainWindow;
}

// The album is loaded by now; what others do in its folder from here on shows in the list.
void Program::followMediaFolder()
{
    m_follower = std::make_unique<FolderFollower>(AlbumContext{m_paths, m_album, m_state, nullptr});
    connect(m_follower.get(), &FolderFollower::followed, this, [this](const FolderReconcile &outcome) {
        // A search's result keeps its own caption.
        if (outcome.countChanged() && !m_state.SearchApplied)
            m_list.setLoadedCount(m_list.rowCount());
    });
    // Without a watch (no inotify, too many watches) the album is as fresh as its loading, and
    // Speichern's check before writing still keeps what others wrote.
    m_follower->start();
}

// Files dropped onto the list go the import browser's way, its bar being the main window's.
void Program::importDroppedFiles()
{
    m_dropQuestion = std::make_unique<frmRequest>();
    m_dropImport = std::make_unique<DropImport>(DropImportServices{
        m_paths, m_album, m_list, m_state, *m_services.drives, *m_services.settings, *m_services.dialogs,
        *m_dropQuestion,
        [this] { return (m_explorer && m_explorer->isImporting()) || (m_saveFiles && m_saveFiles->isCopying()); }});
    connect(m_mainWindow.get(), &frmDaten::filesDropped, m_dropImport.get(), &DropImport::importDropped);
    connect(m_dropImport.get(), &DropImport::progress, m_mainWindow.get(), &frmDaten::showTransferProgress);
    connect(m_dropImport.get(), &DropImport::finished, m_mainWindow.get(), &frmDaten::endTransferProgress);
}

// The "Bilder" commands share the main window's bar with a drop's import; one at a time.
void Program::runPictureCommands()
{
    m_cameraDates = std::make_unique<CameraDateRun>(m_paths, m_album);
    m_turns = std::make_unique<TurnRun>(m_paths, m_album);
    frmDaten *window = m_mainWindow.get();
    const auto barIsFree = [this](const QString &title) {
        if (!m_dropImport->isRunning() && !m_cameraDates->isRunning() && !m_turns->isRunning())
            return true;
        m_services.dialogs->message(title,
                                    m_dropImport->isRunning()
                                        ? QStringLiteral("Es werden gerade Dateien kopiert. Bitte warten Sie, bis "
                                                         "das Kopieren beendet ist.")
                                        : QStringLiteral("Es werden gerade Bilder bearbeitet. Bitte warten Sie, bis "
                                                         "das beendet ist."),
                                    MessageIcon::Information, MessageButtons::Ok);
        return false;
    };
    const auto ended = [window] {
        window->endTransferProgress();
        window->setPicturesRunning(PictureWork::None);
    };

    const QString dates = QStringLiteral("Aufnahmedatum übernehmen");
    connect(window, &frmDaten::cameraDatesRequested, this, [this, window, barIsFree, dates](const QStringList &names) {
        if (!barIsFree(dates))
            return;
        window->setPicturesRunning(PictureWork::CameraDates);
        m_cameraDates->start(names);
    });
    connect(window, &frmDaten::cameraDatesStopRequested, m_cameraDates.get(), &CameraDateRun::cancel);
    connect(m_cameraDates.get(), &CameraDateRun::progress, window, &frmDaten::showTransferProgress);
    connect(m_cameraDates.get(), &CameraDateRun::stored, window, &frmDaten::takeStoredInformation);
    connect(m_cameraDates.get(), &CameraDateRun::finished, window, [this, ended, dates](const QString &summary) {
        ended();
        m_services.dialogs->message(dates, summary, MessageIcon::Information, MessageButtons::Ok);
    });

    connect(window, &frmDaten::turnsRequested, this,
            [this, window, barIsFree](const QStringList &names, Turn turn, const QStringList &readOnlyAgreed) {
                if (!barIsFree(turnCaption(turn)))
                    return;
                m_turnTitle = turnCaption(turn);
                window->setPicturesRunning(PictureWork::Turns);
                m_turns->start(names, turn, readOnlyAgreed);
            });
    connect(window, &frmDaten::turnsStopRequested, m_turns.get(), &TurnRun::cancel);
    connect(m_turns.get(), &TurnRun::progress, window, &frmDaten::showTransferProgress);
    connect(m_turns.get(), &TurnRun::turned, window, &frmDaten::showTurnedFile);
    connect(m_turns.get(), &TurnRun::finished, window, [this, ended](const QString &problems) {
        ended();
        if (!problems.isEmpty())
            m_services.dialogs->message(m_turnTitle, problems, MessageIcon::Warning, MessageButtons::Ok);
    });
}

template <typename Window>
bool Program::raiseIfOpen(const std::unique_ptr<Window> &window)
{
    if (!window || !window->isVisible())
        return false;
    window->raise();
    window->activateWindow();
    return true;
}

void Program::showImportBrowser()
{
    if (raiseIfOpen(m_explorer))
        return;
    m_explorer = std::make_unique<frmExplorer>(ExplorerServices{m_paths, m_album, m_list, *m_services.drives,
                                                                *m_services.settings, *m_services.dialogs,
                                                                makeSystemFolderSource()});
    m_explorer->show();
    m_explorer->activateWindow(); // a dialog the user just asked for takes the keyboard
}

void Program::showExportDialog(const QStringList &ExportSelection)
{
    if (m_saveFiles && m_saveFiles->isVisible())
        m_saveFiles->takeSelection(ExportSelection);
    if (raiseIfOpen(m_saveFiles))
        return;
    SaveFilesServices services{m_paths,
                               *m_services.drives,
                               *m_services.dialogs,
                               *m_services.settings,
                               makeSystemFolderSource(),
                               ExportSelection,
                               [this] { movieObj().closeMovie(); }};
    m_saveFiles = std::make_unique<frmSaveFiles>(std::move(services));
    m_saveFiles->show();
    m_saveFiles->activateWindow(); // a dialog the user just asked for takes the keyboard
}

void Program::showSkinChooser()
{
    if (raiseIfOpen(m_skinChange))
        return;
    m_skinChange = std::make_unique<frmSkinChange>(m_paths, *m_services.settings, m_settings);
    connect(m_skinChange.get(), &frmSkinChange::skinApplied, this, &Program::applySkin);
    m_skinChange->show();
    m_skinChange->activateWindow(); // a dialog the user just asked for takes the keyboard
}

// The chooser stored the name; the window and the player bar change at once, from one folder.
void Program::applySkin(const QString &skinName)
{
    m_settings.SkinPath = skinName;
    const QString problem = m_mainWindow->applySkin(skinFolder());
    if (!problem.isEmpty())
        m_services.dialogs->message(QStringLiteral("Skinauswahl"), problem, MessageIcon::Warning, MessageButtons::Ok);
}

void Program::ShowPictureWindow(const QString &path)
{
    m_pictureWindowFile = path;
    if (m_picWindow && m_picWindow->isVisible()) {
        m_picWindow->refreshPicWindow(m_pictureWindowFile);
        return;
    }
    m_picWindow = std::make_unique<frmPicWindow>();
    m_picWindow->showPicture(m_pictureWindowFile);
}

void Program::showSlideShow()
{
    if (m_diaShow && m_diaShow->isVisible()) {
        m_diaShow->raise();
        m_diaShow->activateWindow();
        return;
    }
    m_diaShow = std::make_unique<frmDiaShow>(
        DiaShowServices{m_list, m_paths, *m_services.settings, m_settings, *m_services.dialogs});
    if (!m_diaShow->start())
        m_diaShow.reset();
}

} // namespace zv
