#include "app/Album.h"
#include "app/AlbumWindowPort.h"
#include "app/frmStart.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"
#include "support/Fakes.h"

#include <QFile>
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
        if (progress)
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
    void windowAsItOpens();
    void driveTypeDecidesSaveLock_data();
    void driveTypeDecidesSaveLock();
    void loadsAlbumAndHandsOver();
    void unusableFolderEndsWithMessage();
};

void TestFrmStart::windowAsItOpens()
{
    Startup s;
    s.store->setValue(QStringLiteral("Skin"), QStringLiteral("SkinPath"), QStringLiteral("Blau"));
    auto start = s.make();
    QCOMPARE(start->size(), QSize(404, 104));
    QCOMPARE(start->palette().color(QPalette::Window), QColor(255, 224, 192));
    QCOMPARE(start->label()->text(), QStringLiteral("Dateien werden geladen..."));
    QCOMPARE(start->label()->objectName(), QStringLiteral("Label1"));
    QCOMPARE(start->progress()->size(), QSize(369, 19));
    QVERIFY(start->timer()->isActive());
    QCOMPARE(start->timer()->interval(), 1000);
    QCOMPARE(s.settings.SkinPath, QStringLiteral("Blau"));
    QCOMPARE(s.settings.Delay, QStringLiteral("3000"));
    // Loading starts by itself a second later.
    QTRY_VERIFY_WITH_TIMEOUT(s.window.calls.contains(QStringLiteral("show")), 3000);
}

void TestFrmStart::driveTypeDecidesSaveLock_data()
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

void TestFrmStart::driveTypeDecidesSaveLock()
{
    QFETCH(int, type);
    QFETCH(bool, readOnlyMount);
    QFETCH(bool, locked);
    Startup s;
    s.drives.drive.type = static_cast<DriveType>(type);
    s.drives.drive.readOnly = readOnlyMount;
    auto start = s.make();
    start->loadAlbum();
    QCOMPARE(s.window.calls.value(0), QStringLiteral("locked=%1").arg(locked));
}

void TestFrmStart::loadsAlbumAndHandsOver()
{
    Startup s;
    s.drives.drive.type = DriveType::Fixed;
    QDir(s.dir.path()).mkdir(QStringLiteral("Bilder"));
    for (const char *name : {"a.jpg", "b.mov", "c.doc"}) {
        QFile f(s.dir.filePath(QStringLiteral("Bilder/") + QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    auto start = s.make();
    start->loadAlbum();
    QCOMPARE(s.album.size(), 3u);
    QCOMPARE(s.album.EntryCount, 3);
    QCOMPARE(s.window.calls, (QStringList{"locked=0", "fill", "show"}));
    QCOMPARE(start->progress()->value(), 2); // the window's steps reach the start-up's bar
    QCOMPARE(start->label()->text(), QStringLiteral("Bitte warten..."));
    QVERIFY(!start->timer()->isActive());
    QVERIFY(!QFile::exists(s.dir.filePath(QStringLiteral("Bilder/Logo.bmp"))));
    QCOMPARE(s.exitCode, -1);
}

void TestFrmStart::unusableFolderEndsWithMessage()
{
    Startup s;
    s.drives.drive.type = DriveType::Fixed;
    QFile blocker(s.dir.filePath(QStringLiteral("Bilder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto start = s.make();
    start->loadAlbum();
    QCOMPARE(s.exitCode, 1);
    QCOMPARE(s.dialogs.shown.size(), 1);
    QVERIFY(s.dialogs.shown[0].startsWith(QStringLiteral("Zidoverev|")));
    QVERIFY(s.dialogs.shown[0].contains(QStringLiteral("Bilderordner")));
    QVERIFY(!s.window.calls.contains(QStringLiteral("fill")));
}

QTEST_MAIN(TestFrmStart)
#include "tst_frmstart.moc"
