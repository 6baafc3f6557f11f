// The main window with the real player bar and media engine: videos in the preview box.
#include "../media/Clips.h"

#include "app/AlbumListModel.h"
#include "album/PreviewBox.h"
#include "album/frmDaten.h"
#include "app/Album.h"
#include "app/AlbumLoader.h"
#include "app/ProgramState.h"
#include "skins/ImageButton.h"
#include "skins/SkinFiles.h"
#include "store/PictureTrailer.h"
#include "support/Fakes.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "media/ctrlAV.h"
#include "program/PlayerWiring.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QLineEdit>
#include <QTreeView>

#include <cmath>

using namespace zv;

namespace {

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
    AlbumListModel model;
    ProgramState state;
    test::RecordingShell shell;
    test::ScriptedDialogs dialogs;
    MpvMciDevice device;
    MovieModule movie(device);
    const QString skin = SkinFolder(m_dir.path(), QStringLiteral("Main"));
    frmDaten window(MainWindowServices{AlbumPaths{m_dir.path()}, album, model, state, shell, dialogs}, skin);
    const AttachedPlayer player = attachPlayer(window, movie, shell, skin);
    window.FillList();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *list = window.findChild<QTreeView *>(QStringLiteral("lstBilder"));
    const auto select = [&](const QString &name) {
        const int r = model.rowOf(name);
        QVERIFY(r >= 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(model.index(r, 1)).center());
    };
    QWidget *preview = window.previewBox();

    select(QStringLiteral("a.mpg"));
    QCOMPARE(movie.getStatus(), QStringLiteral("Stopped"));
    QVERIFY(movie.getPositionInMS() < 40); // the first frame, which may not sit at 0
    QCOMPARE(openMediaFiles(), QStringList{QStringLiteral("a.mpg")});
    QTRY_VERIFY_WITH_TIMEOUT(distinctColours(preview->grab().toImage()) > 4, 5000);
    // 320 x 240 fitted into the 183-pixel box: full width, centred vertically.
    QCOMPARE(device.send(QStringLiteral("where movie window")).reply, QStringLiteral("0 23 183 137"));

    QVERIFY(player.bar->movieLength() > 2900 && player.bar->movieLength() < 3100);
    QWidget *thumb = window.findChild<QWidget *>(QStringLiteral("imgSliderBtn"));
    const int thumbAtStart = thumb->x();
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("imgPlay")), Qt::LeftButton);
    QVERIFY(movie.isMoviePlaying());
    QTRY_VERIFY_WITH_TIMEOUT(thumb->x() > thumbAtStart + 10, 3000);

    // Saving into the playing video releases it and plays on from the same whole second.
    QTRY_VERIFY_WITH_TIMEOUT(movie.getPositionInMS() >= 1300, 3000);
    window.findChild<QLineEdit *>(QStringLiteral("txtDatum"))->setText(QStringLiteral("2003"));
    const int before = movie.getPositionInMS();
    QTest::mouseClick(window.findChild<ImageButton *>(QStringLiteral("cmdAktual")), Qt::LeftButton);
    const int second = static_cast<int>(std::nearbyint(before / 1000.0));
    QVERIFY(movie.isMoviePlaying());
    const int after = movie.getPositionInMS();
    QVERIFY2(after >= second * 1000 - 100 && after < second * 1000 + 900,
             qPrintable(QStringLiteral("%1 ms before, %2 ms after").arg(before).arg(after)));
    QCOMPARE(ReadPictureInfo(m_dir.filePath(QStringLiteral("Bilder/a.mpg"))).info.datum, QStringLiteral("xx.xx.2003"));

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
