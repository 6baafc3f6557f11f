#include "app/Album.h"
#include "app/AlbumWindowPort.h"
#include "app/frmStart.h"
#include "platform/SettingsStore.h"
#include "support/CoreChecks.h"
#include "support/Fakes.h"

#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zv;

namespace {

class RecordingWindow : public AlbumWindowPort {
public:
    QStringList calls;
    void setSaveLocked(bool locked) override { calls << QStringLiteral("locked=%1").arg(locked); }
    void fillList(const std::function<void(int, int)> &progress) override
    {
        progress(2, 2);
        calls << QStringLiteral("fill");
    }
    void showMainWindow() override { calls << QStringLiteral("show"); }
};

struct Startup {
    QTemporaryDir dir;
    test::FakeDrives drives;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<SettingsStore> store = makeFileSettings(dir.filePath(QStringLiteral("s.ini")));
    SettingsValues settings;
    Album album;
    RecordingWindow window;
    int exitCode = -1;

    std::unique_ptr<frmStart> make()
    {
        return std::make_unique<frmStart>(StartupContext{AlbumPaths{dir.path()}, drives, dialogs, *store, settings,
                                                         album, [this]() -> AlbumWindowPort & { return window; },
                                                         [this](int code) { exitCode = code; }});
    }
};

} // namespace

class TestFrmStart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void driveTypeDecidesSaveLock_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("readOnlyMount");
        QTest::addColumn<bool>("locked");
        QTest::newRow("unknown") << 0 << false << true;
        QTest::newRow("removable") << 1 << false << false;
        QTest::newRow("fixed") << 2 << false << false;
        QTest::newRow("network") << 3 << false << false;
        QTest::newRow("cd-rom") << 4 << false << true;
        QTest::newRow("ram disk") << 5 << false << true;
        QTest::newRow("fixed but mounted read-only") << 2 << true << true;
    }
    void driveTypeDecidesSaveLock()
    {
        QFETCH(int, type);
        QFETCH(bool, readOnlyMount);
        QFETCH(bool, locked);
        Startup s;
        s.drives.drive.type = static_cast<DriveType>(type);
        s.drives.drive.readOnly = readOnlyMount;
        s.make()->loadAlbum();
        QCOMPARE(s.window.calls.value(0), QStringLiteral("locked=%1").arg(locked));
    }

    void loadsOrEndsWithMessage_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("bilderIsAFile");
        QTest::newRow("album with files") << QStringList{"a.jpg", "b.mov", "c.doc"} << false;
        QTest::newRow("empty album gets the logo") << QStringList{} << false;
        QTest::newRow("a file where Bilder belongs") << QStringList{} << true;
    }
    void loadsOrEndsWithMessage()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, bilderIsAFile);
        Startup s;
        s.drives.drive.type = DriveType::Fixed;
        s.store->setValue(QStringLiteral("Skin"), QStringLiteral("SkinPath"), QStringLiteral("Blau"));
        const QString logo = s.dir.filePath(QStringLiteral("Bilder/Logo.bmp"));
        if (bilderIsAFile)
            QVERIFY(test::writeAll(s.dir.filePath(QStringLiteral("Bilder")), {}));
        else
            QVERIFY(QDir(s.dir.path()).mkdir(QStringLiteral("Bilder")));
        for (const QString &name : files)
            QVERIFY(test::writeAll(s.dir.filePath(QStringLiteral("Bilder/") + name), {}));
        auto start = s.make();
        QCOMPARE(start->label()->text(), QStringLiteral("Dateien werden geladen..."));
        QCOMPARE(s.settings.SkinPath, QStringLiteral("Blau"));
        QCOMPARE(s.settings.Delay, QStringLiteral("3000"));
        if (files.isEmpty())
            start->loadAlbum(); // otherwise loading starts by itself a second later
        QTRY_VERIFY_WITH_TIMEOUT(!s.window.calls.isEmpty(), 3000);
        QVERIFY(!start->timer()->isActive());
        if (bilderIsAFile) {
            QCOMPARE(s.exitCode, 1);
            QCOMPARE(s.dialogs.shown.size(), 1);
            QVERIFY(s.dialogs.shown[0].startsWith(QStringLiteral("Zidoverev|")));
            QVERIFY(s.dialogs.shown[0].contains(QStringLiteral("Bilderordner")));
            QCOMPARE(s.window.calls, QStringList{"locked=0"});
            return;
        }
        QCOMPARE(s.album.size(), std::max<std::size_t>(files.size(), 1));
        QCOMPARE(s.album.EntryCount, int(s.album.size()));
        QCOMPARE(s.window.calls, (QStringList{"locked=0", "fill", "show"}));
        QCOMPARE(start->progress()->value(), 2); // the window's steps reach the start-up's bar
        QCOMPARE(start->label()->text(), QStringLiteral("Bitte warten..."));
        QCOMPARE(QImageReader(logo).format(), files.isEmpty() ? QByteArray("bmp") : QByteArray());
        QCOMPARE(s.exitCode, -1);
        QVERIFY(s.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestFrmStart)
#include "tst_frmstart.moc"
