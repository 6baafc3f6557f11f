// The main window with the real player bar and media engine: videos in the preview box.
#include "../media/Clips.h"

#include "album/AlbumListModel.h"
#include "album/frmDaten.h"
#include "app/Album.h"
#include "app/AlbumLoader.h"
#include "app/AppSettings.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "media/ctrlAV.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "program/PlayerWiring.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace zv;

namespace {

class NoShell : public Shell {
public:
    bool openDocument(const QString &, ShowState) override { return true; }
    bool startProgram(const QString &, const QString &, const QString &) override { return true; }
};

class NoDialogs : public Dialogs {
public:
    MessageAnswer message(const QString &, const QString &, MessageIcon, MessageButtons) override { return MessageAnswer::Ok; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
};

QStringList openMediaFiles()
{
    QStringList open;
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files)) {
        const QString target = fd.symLinkTarget();
        if (target.contains(QStringLiteral("/Bilder/")))
            open << QFileInfo(target).fileName();
    }
    return open;
}

} // namespace

class TestVideoPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void selectingVideosShowsAndReleasesThem();

private:
    QTemporaryDir m_dir;
};

void TestVideoPreview::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Bilder")));
    QFile::link(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/Skins"), m_dir.filePath(QStringLiteral("Skins")));
    QVERIFY(makeClip(m_dir.filePath(QStringLiteral("Bilder/a.mpg")), {"-c:v", "mpeg1video", "-c:a", "mp2"}, true, "320x240", 3));
    QVERIFY(makeClip(m_dir.filePath(QStringLiteral("Bilder/b.avi")), {"-c:v", "mpeg4", "-c:a", "mp3"}, true, "240x320", 3));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(m_dir.filePath(QStringLiteral("Bilder/c.jpg"))));
}

void TestVideoPreview::selectingVideosShowsAndReleasesThem()
{
    Album album = loadAlbum(m_dir.filePath(QStringLiteral("Bilder")));
    SettingsValues settings;
    NoShell shell;
    NoDialogs dialogs;
    MpvMciDevice device;
    MovieModule movie(device);
    frmDaten window(MainWindowServices{AlbumPaths{m_dir.path()}, album, settings, shell, dialogs, {}});
    attachPlayer(window, movie, shell, AlbumPaths{m_dir.path()}, settings.SkinPath, {});
    window.fillList(nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *list = window.findChild<QTreeView *>(QStringLiteral("lstBilder"));
    const auto select = [&](const QString &name) {
        for (int r = 0; r < window.listModel().rowCount(); ++r) {
            if (window.listModel().text(r, 0) == name) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(window.listModel().index(r, 1)).center());
                return;
            }
        }
        QFAIL("row not found");
    };
    QWidget *preview = window.previewBox();

    select(QStringLiteral("a.mpg"));
    QCOMPARE(movie.getStatus(), QStringLiteral("Stopped"));
    QVERIFY(movie.getPositionInMS() < 40); // the first frame, which may not sit at 0
    QCOMPARE(openMediaFiles(), QStringList{QStringLiteral("a.mpg")});
    QTRY_VERIFY_WITH_TIMEOUT(distinctColours(preview->grab().toImage()) > 4, 5000);
    // 320 x 240 fitted into the 183-pixel box: full width, centred vertically.
    QCOMPARE(device.send(QStringLiteral("where movie window")).reply, QStringLiteral("0 23 183 137"));

    auto *player = window.findChild<ctrlAV *>(QStringLiteral("ctrlAV1"));
    QVERIFY(player->movieLength() > 2900 && player->movieLength() < 3100);
    QWidget *thumb = window.findChild<QWidget *>(QStringLiteral("imgSliderBtn"));
    const int thumbAtStart = thumb->x();
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("imgPlay")), Qt::LeftButton);
    QVERIFY(movie.isMoviePlaying());
    QTRY_VERIFY_WITH_TIMEOUT(thumb->x() > thumbAtStart + 10, 3000);

    select(QStringLiteral("b.avi"));
    QCOMPARE(movie.getStatus(), QStringLiteral("Stopped"));
    QCOMPARE(openMediaFiles(), QStringList{QStringLiteral("b.avi")});
    QCOMPARE(device.send(QStringLiteral("where movie window")).reply, QStringLiteral("23 0 137 183"));

    // A picture releases the video file altogether.
    select(QStringLiteral("c.jpg"));
    QVERIFY(openMediaFiles().isEmpty());
    QVERIFY(!movie.isMoviePlaying());
}

QTEST_MAIN(TestVideoPreview)
#include "tst_videopreview.moc"
