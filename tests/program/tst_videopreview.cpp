// The main window with what the program puts around it: the real player bar and media engine
// with a video in the preview box, and the import of files dropped onto the list.
#include "support/MediaClips.h"

#include "album/PreviewBox.h"
#include "media/ctrlAV.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "program/DropImport.h"
#include "program/PlayerWiring.h"
#include "support/AlbumWindow.h"
#include "support/TransferChecks.h"
#include "support/TransferFakes.h"

#include <QGuiApplication>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTreeView>

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

class HookedQuestion : public ScriptedQuestion {
public:
    std::function<void()> meanwhile;
    QString ReqOverWr(const OverwriteFiles &files, const QString &titel) override
    {
        if (meanwhile)
            std::exchange(meanwhile, {})();
        return ScriptedQuestion::ReqOverWr(files, titel);
    }
};

} // namespace

class TestVideoPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectingAVideoShowsAndReleasesIt_data();
    void selectingAVideoShowsAndReleasesIt();
    void droppedFilesAreImported_data();
    void droppedFilesAreImported();
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

// Names relative to a folder outside the album; "A/" names the album's media folder.
void TestVideoPreview::droppedFilesAreImported_data()
{
    QTest::addColumn<QString>("numbering"); // Import/chkState, Import/Number and Import/CameraDate, as last stored
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("album");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("stored");
    const QString busy = DropImport::kTitle + QLatin1Char('|') + DropImport::kBusyText;
    QTest::newRow("numbered, a folder's media files")
        << "1/7" << QStringList{"x.jpg", "Ordner"} << QStringList{} << QStringList{"000007.jpg", "000008.png", "a.jpg"}
        << QStringList{} << QStringList{} << "9";
    QTest::newRow("asked, and a drop meanwhile refused")
        << "0/3" << QStringList{"a.jpg", "n.jpg"} << QStringList{"j"} << QStringList{"a.jpg", "n.jpg"}
        << QStringList{"überschreiben?|a.jpg"} << QStringList{busy} << "3";
    QTest::newRow("album files do nothing") << "1/0" << QStringList{"A/a.jpg"} << QStringList{} << QStringList{"a.jpg"}
                                            << QStringList{} << QStringList{} << "0";
    QTest::newRow("the camera's day taken")
        << "0/0/1" << QStringList{"kamera.jpg"} << QStringList{} << QStringList{"a.jpg", "kamera.jpg"} << QStringList{}
        << QStringList{} << "0";
    QTest::newRow("nothing to import") << "0/0" << QStringList{"Ordner/z.txt"} << QStringList{} << QStringList{"a.jpg"}
                                       << QStringList{}
                                       << QStringList{DropImport::kTitle + QLatin1Char('|') + DropImport::kNothingText}
                                       << "0";
}

void TestVideoPreview::droppedFilesAreImported()
{
    QFETCH(QString, numbering);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, answers);
    WindowFixture fx;
    fx.file(QStringLiteral("a.jpg"), "old");
    QTemporaryDir from;
    for (const char *name : {"a.jpg", "n.jpg", "x.jpg", "Ordner/y.png", "Ordner/z.txt", "Ordner/Unter/w.jpg"}) {
        QDir().mkpath(QFileInfo(from.filePath(QLatin1String(name))).path());
        QVERIFY(writeFile(from.filePath(QLatin1String(name)), QByteArray("new ") + name));
    }
    const auto settings = makeFileSettings(from.filePath(QStringLiteral("s.ini")));
    settings->setValue(QStringLiteral("Import"), QStringLiteral("chkState"), numbering.section(QLatin1Char('/'), 0, 0));
    settings->setValue(QStringLiteral("Import"), QStringLiteral("Number"), numbering.section(QLatin1Char('/'), 1, 1));
    const bool cameraDate = numbering.section(QLatin1Char('/'), 2) == QLatin1String("1");
    settings->setValue(QStringLiteral("Import"), QStringLiteral("CameraDate"), cameraDate ? "1" : "0");
    if (cameraDate) {
        QImage photo(32, 32, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QVERIFY(photo.save(from.filePath(QStringLiteral("kamera.jpg")), "JPEG"));
        if (QProcess::execute(QStringLiteral("exiv2"), {QStringLiteral("-M"),
                                                        QStringLiteral("set Exif.Photo.DateTimeOriginal Ascii "
                                                                       "2024:07:14 09:30:00"),
                                                        from.filePath(QStringLiteral("kamera.jpg"))})
            != 0)
            QSKIP("exiv2 cannot write the camera's moment");
    }
    FakeDrives drives;
    drives.drive = DriveInfo{from.path(), from.path(), DriveType::Fixed, false, qint64(1) << 40, qint64(1) << 41, true};
    HookedQuestion question;
    question.answers.assign(answers.begin(), answers.end());
    auto w = shownWindow(fx);
    QVERIFY(w);
    // Wired as the program wires it.
    DropImport dropImport({AlbumPaths{fx.path()}, fx.album, fx.list, fx.state, drives, *settings, fx.dialogs, question,
                           [] { return false; }});
    QObject::connect(w.get(), &frmDaten::filesDropped, &dropImport, &DropImport::importDropped);
    QObject::connect(&dropImport, &DropImport::progress, w.get(), &frmDaten::showTransferProgress);
    QObject::connect(&dropImport, &DropImport::finished, w.get(), &frmDaten::endTransferProgress);
    QWidget *viewport = child<QTreeView>(*w, "lstBilder")->viewport();
    const auto urls = [&](const QStringList &names) {
        QList<QUrl> list;
        for (const QString &name : names)
            list << localFileUrl(name.startsWith(QLatin1String("A/")) ? fx.media(name.mid(2)) : from.filePath(name));
        return list;
    };
    auto *bar = child<QProgressBar>(*w, "pbarSearch");
    bool barShownWhileAsked = false;
    question.meanwhile = [&] {
        barShownWhileAsked = bar->isVisible();
        dropFiles(viewport, urls({QStringLiteral("x.jpg")}));
    };
    QSignalSpy finished(&dropImport, &DropImport::finished);
    dropFiles(viewport, urls(dropped));
    QFETCH(QStringList, album);
    if (album.size() > 1)
        QVERIFY(finished.wait(10000));
    QStringList names;
    for (const AlbumEntry &entry : fx.album.entries())
        names << entry.name;
    names.sort();
    QCOMPARE(names, album);
    QCOMPARE(fx.list.rowCount(), int(album.size()));
    QTEST(question.asked, "asked");
    QTEST(fx.dialogs.shown, "shown");
    QTEST(settings->value(QStringLiteral("Import"), QStringLiteral("Number"), {}), "stored");
    if (cameraDate)
        QCOMPARE(fx.album.find(QStringLiteral("kamera.jpg"))->info.datum, QStringLiteral("14.07.2024"));
    QCOMPARE(barShownWhileAsked, !question.asked.isEmpty());
    QVERIFY(bar->isHidden());
    if (!answers.isEmpty())
        QCOMPARE(fx.bytes(QStringLiteral("a.jpg")), QByteArray("new a.jpg"));
    // The window goes on taking drops.
    dropFiles(viewport, urls({QStringLiteral("n.jpg"), QStringLiteral("x.jpg")}));
    QTRY_VERIFY(fx.album.find(QStringLiteral("x.jpg")) || fx.album.size() == std::size_t(album.size()) + 2);
}

QTEST_MAIN(TestVideoPreview)
#include "tst_videopreview.moc"
