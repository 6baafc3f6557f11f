#include "Program.h"

#include "album/frmDaten.h"
#include "app/frmStart.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "skins/SkinFiles.h"

#include <QCoreApplication>

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
}

// The main window goes before the player's adapter and the device it uses.
Program::~Program()
{
    m_mainWindow.reset();
    m_player.media.reset();
}

void Program::start()
{
    m_start = std::make_unique<frmStart>(StartupContext{
        m_paths, *m_services.drives, *m_services.dialogs, *m_services.settings, m_settings, m_album,
        [this]() -> AlbumWindowPort & { return createMainWindow(); },
        [](int code) { QCoreApplication::exit(code); }});
    m_start->show();
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
    const QString folder = skinFolder();
    m_mainWindow = std::make_unique<frmDaten>(
        MainWindowServices{m_paths, m_album, m_list, m_state, *m_services.shell, *m_services.dialogs}, folder);
    m_player = attachPlayer(*m_mainWindow, movieObj(), *m_services.shell, folder);
    connect(m_mainWindow.get(), &frmDaten::quitRequested, this, [] { QCoreApplication::exit(0); });
    connect(m_mainWindow.get(), &frmDaten::pictureWindowRequested, this,
            [this](const QString &path) { m_pictureWindowFile = path; });
    return *m_mainWindow;
}

} // namespace zv
