// The album program: the start-up window reads the album, then the main window takes over.
#include "album/frmDaten.h"
#include "app/Album.h"
#include "app/AppSettings.h"
#include "app/frmStart.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "program/PlayerWiring.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/Translations.h"

#include <QApplication>
#include <QStyleFactory>

#include <memory>

int main(int argc, char **argv)
{
    // One look on every desktop; skins set the colours.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(zv::kApplicationName));
    QCoreApplication::setOrganizationName(QString::fromLatin1(zv::kApplicationName));
    zv::installGermanTranslations(app);

    const zv::AlbumPaths paths{QCoreApplication::applicationDirPath()};
    const auto settingsStore = zv::makeUserSettings(QString::fromLatin1(zv::kApplicationName));
    const auto dialogs = zv::makeQtDialogs();
    const auto shell = zv::makeDesktopShell();
    const auto drives = zv::makeSystemDrives();
    zv::SettingsValues settings;
    zv::Album album;
    // MovieObj: the one media device of the program, made when first needed.
    std::unique_ptr<zv::MpvMciDevice> mciDevice;
    std::unique_ptr<zv::MovieModule> movieObj;
    const auto MovieObj = [&]() -> zv::MovieModule & {
        if (!movieObj) {
            mciDevice = std::make_unique<zv::MpvMciDevice>();
            movieObj = std::make_unique<zv::MovieModule>(*mciDevice);
        }
        return *movieObj;
    };
    QString pictureWindowFile; // what the picture window will show once it exists
    std::unique_ptr<zv::frmDaten> mainWindow; // after the device: the window goes first

    const auto quit = [] { QCoreApplication::exit(0); };
    const auto createMainWindow = [&]() -> zv::AlbumWindowPort & {
        if (mainWindow)
            return *mainWindow;
        mainWindow = std::make_unique<zv::frmDaten>(
            zv::MainWindowServices{paths, album, settings, *shell, *dialogs, quit});
        zv::attachPlayer(*mainWindow, MovieObj(), *shell, paths, settings.SkinPath,
                         [&pictureWindowFile](const QString &path) { pictureWindowFile = path; });
        return *mainWindow;
    };

    zv::frmStart start(zv::StartupContext{paths, *drives, *dialogs, *settingsStore, settings, album,
                                          createMainWindow, [](int code) { QCoreApplication::exit(code); }});
    start.show();
    return app.exec();
}
