// The main window with the real player bar and media engine: a video in the preview box.
#include "support/MediaClips.h"

#include "album/PreviewBox.h"
#include "media/ctrlAV.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "program/PlayerWiring.h"
#include "support/AlbumWindow.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

using namespace zv;
using namespace zv::test;

namespace {

QStringList openMediaFiles()
{
    QStringList open;
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget().contains(QStringLiteral("/Bilder/")))
            open << QFileInfo(fd.symLinkTarget()).fileName();
    return open;
}

} // namespace

class TestVideoPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectingAVideoShowsAndReleasesIt_data();
    void selectingAVideoShowsAndReleasesIt();
};

// A phone's mp4 is a video of the album as the old mpg is: previewed, played, saved into.
void TestVideoPreview::selectingAVideoShowsAndReleasesIt_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("codecs");
    QTest::newRow("a.mpg") << "a.mpg" << QStringList{"-c:v", "mpeg1video", "-c:a", "mp2"};
    for (const auto &[name, codecs] : todaysClips())
        QTest::newRow(qPrintable(name)) << name << codecs;
}

void TestVideoPreview::selectingAVideoShowsAndReleasesIt()
{
    QFETCH(QString, name);
    QFETCH(QStringList, codecs);
    WindowFixture fx;
    QVERIFY(makeClip(fx.media(name), codecs, true, "320x240", 3));
    fx.picture(QStringLiteral("c.jpg"), {40, 30});
    MpvMciDevice device;
    MovieModule movie(device);
    auto w = shownWindow(fx);
    QVERIFY(w);
    const AttachedPlayer player = attachPlayer(*w, movie, fx.shell, SkinFolder(fx.path(), QStringLiteral("Main")));

    fx.clickRow(*w, fx.rowOf(name));
    QCOMPARE(openMediaFiles(), QStringList{name});
    // Read off the screen, not the widget: a video drawn into a window the screen never shows
    // (the black box) must fail here.
    const QWidget *box = w->previewBox();
    const QPoint at = box->mapToGlobal(QPoint(0, 0));
    const auto onScreen = [&] {
        return QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), box->width(), box->height()).toImage();
    };
    QTRY_VERIFY_WITH_TIMEOUT(distinctColours(onScreen()) > 4, 5000);
    click(*w, "imgPlay");
    QVERIFY(movie.isMoviePlaying());

    // Saving into the playing video releases it and plays on from the same whole second.
    QTRY_VERIFY_WITH_TIMEOUT(movie.getPositionInMS() >= 1300, 3000);
    child<QLineEdit>(*w, "txtDatum")->setText(QStringLiteral("2003"));
    const int before = movie.getPositionInMS();
    click(*w, "cmdAktual");
    const int second = static_cast<int>(std::nearbyint(before / 1000.0));
    QVERIFY(movie.isMoviePlaying());
    const int after = movie.getPositionInMS();
    QVERIFY2(after >= second * 1000 - 100 && after < second * 1000 + 900,
             qPrintable(QStringLiteral("%1 ms before, %2 ms after").arg(before).arg(after)));
    QCOMPARE(ReadPictureInfo(fx.media(name)).info.datum, QStringLiteral("xx.xx.2003"));

    // A picture releases the video file altogether.
    fx.clickRow(*w, fx.rowOf(QStringLiteral("c.jpg")));
    QVERIFY(openMediaFiles().isEmpty());
    QVERIFY(!movie.isMoviePlaying());
}

QTEST_MAIN(TestVideoPreview)
#include "tst_videopreview.moc"
