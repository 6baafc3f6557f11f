#include "Clips.h"
#include "RecordingDevice.h"

#include "media/MovieModule.h"
#include "media/MovieWindows.h"
#include "media/MpvMciDevice.h"
#include "media/MpvVideoWidget.h"
#include "media/ctrlAV.h"
#include "platform/Shell.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

using zv::ctrlAV;

namespace {

class RecordingShell final : public zv::Shell {
public:
    bool openDocument(const QString &path, zv::ShowState show) override
    {
        opened << path;
        lastShow = show;
        return true;
    }
    bool startProgram(const QString &, const QString &, const QString &) override { return false; }
    QStringList opened;
    zv::ShowState lastShow{};
};

// Every picture of a skin; each is one plain colour of its own, so a test can tell which is shown.
const QStringList &skinFiles()
{
    static const QStringList files = [] {
        QStringList list{"1Leiste.jpg", "1Zeiger.jpg"};
        for (int i = 0; i <= 6; ++i)
            list << QStringLiteral("2Vol%1.jpg").arg(i);
        for (const char *button : {"maximieren", "skalieren", "Film abspielen", "Wiedergabe anhalten", "Wiedergabe beenden"})
            list << QString::fromUtf8(button) + " 0.jpg" << QString::fromUtf8(button) + " 1.jpg";
        return list;
    }();
    return files;
}
QColor colourOf(const QString &file) { return QColor::fromHsv(int(skinFiles().indexOf(file)) * 18, 255, 220); }

bool shows(const QLabel *label, const QString &file)
{
    if (label->pixmap().isNull())
        return false;
    const QColor seen = label->pixmap().toImage().pixelColor(2, 2), want = colourOf(file);
    return qAbs(seen.red() - want.red()) < 16 && qAbs(seen.green() - want.green()) < 16
           && qAbs(seen.blue() - want.blue()) < 16;
}

bool writeSkin(const QString &folder)
{
    bool ok = QDir().mkpath(folder);
    for (const QString &file : skinFiles()) {
        const QSize size = file.startsWith("1Leiste") ? QSize(150, 20) : file.startsWith("1Zeiger") ? QSize(8, 20)
                           : file.startsWith("2Vol") ? QSize(33, 50) : QSize(30, 30);
        QImage image(size, QImage::Format_RGB32);
        image.fill(colourOf(file));
        ok = ok && image.save(folder + file, "JPG", 100);
    }
    return ok;
}

} // namespace

class TestCtrlAV : public QObject {
    Q_OBJECT

private:
    QTemporaryDir album_;
    RecordingDevice device_;
    std::unique_ptr<zv::MovieModule> movie_;
    RecordingShell shell_;
    QStringList pictureWindow_;
    std::unique_ptr<QWidget> window_;
    QWidget *box_ = nullptr;
    ctrlAV *bar_ = nullptr;

    template <typename T = QWidget>
    T *child(const char *name) { return bar_->findChild<T *>(QString::fromLatin1(name)); }
    QLabel *thumb() { return child<QLabel>("imgSliderBtn"); }
    QLabel *track() { return child<QLabel>("imgSlider"); }
    QTimer *timer() { return child<QTimer>("tmr1"); }
    QStringList sentMatching(const char *start) const { return device_.sent.filter(QString::fromLatin1(start)); }
    void click(const char *name) { QTest::mouseClick(child(name), Qt::LeftButton); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeSkin(album_.path() + QStringLiteral("/Skins/Main/")));
        QVERIFY(writeSkin(album_.path() + QStringLiteral("/Skins/Blau/")));
        QVERIFY(QFile::remove(album_.path() + QStringLiteral("/Skins/Blau/1Zeiger.jpg")));
        const QString clips = album_.path() + QStringLiteral("/");
        QVERIFY(makeClip(clips + "clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}));
        for (const char *name : {"Film \"Sommer\".mpg", "clip.mpg\" alias \"movie"})
            QVERIFY(QFile::copy(clips + "clip.mpg", clips + QString::fromUtf8(name)));
    }

    void init()
    {
        device_ = RecordingDevice();
        device_.reply(QStringLiteral("where movie source"), QStringLiteral("0 0 320 240"));
        device_.reply(QStringLiteral("status movie length"), QStringLiteral("10000"));
        device_.reply(QStringLiteral("status movie mode"), QStringLiteral("stopped"));
        movie_ = std::make_unique<zv::MovieModule>(device_);
        shell_ = RecordingShell();
        pictureWindow_.clear();
        window_ = std::make_unique<QWidget>();
        box_ = new QWidget(window_.get());
        box_->setGeometry(0, 0, 183, 183);
        zv::PlayerHost host{box_, [] { return QStringLiteral("/album/Bilder/Urlaub.mpg"); },
                            [this](const QString &path) { pictureWindow_ << path; }};
        bar_ = new ctrlAV(*movie_, shell_, host, window_.get(), 0.0);
        bar_->move(0, 183);
        bar_->setSkinFolder(album_.path() + QStringLiteral("/Skins/Main/"));
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        bar_->openVideo(QStringLiteral("/album/Bilder/Urlaub.mpg"));
        device_.sent.clear();
    }

    void cleanup()
    {
        window_.reset();
        movie_.reset();
    }

    void layout_data()
    {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("tip");
        const auto row = [](const char *name, QRect geometry, const char *tip) {
            QTest::newRow(name) << geometry << QString::fromUtf8(tip);
        };
        row("imgOpen", {0, 0, 30, 30}, "frei skalierbar [nur für Bilder]");
        row("imgClose", {30, 0, 30, 30}, "Datei mit Standardprogramm öffnen");
        row("imgPlay", {60, 0, 30, 30}, "Film abspielen");
        row("imgStop", {90, 0, 30, 30}, "Wiedergabe beenden");
        row("imgPause", {120, 0, 30, 30}, "Wiedergabe anhalten");
        row("picVol", {150, 0, 33, 50}, "Lautstärke ändern");
        row("imgSlider", {0, 30, 150, 20}, "Position");
        row("imgSliderBtn", {12, 0, 8, 20}, "");
    }
    void layout()
    {
        QFETCH(QRect, geometry);
        QFETCH(QString, tip);
        QCOMPARE(bar_->size(), QSize(193, 55));
        const QWidget *element = bar_->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(element);
        QCOMPARE(element->geometry(), geometry);
        QCOMPARE(element->toolTip(), tip);
    }

    void openVideoFits_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("put");
        QTest::newRow("landscape") << "0 0 320 240" << QStringList{"put movie window at 0 23 183 137"};
        QTest::newRow("portrait") << "0 0 240 320" << QStringList{"put movie window at 23 0 137 183"};
        QTest::newRow("square") << "0 0 90 90" << QStringList{"put movie window at 0 0 183 183"};
        // 136.5 wide rounds to 136, centred by that: 23.5 rounds to 24.
        QTest::newRow("half pixel") << "0 0 273 366" << QStringList{"put movie window at 24 0 136 183"};
        QTest::newRow("sound has no size") << "" << QStringList{};
    }
    void openVideoFits()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, put);
        device_.reply(QStringLiteral("where movie source"), source);
        bar_->openVideo(QStringLiteral("/album/Bilder/Mein Film.mpg"));
        QCOMPARE(sentMatching("put movie window"), put);
        const qint64 handle = zv::movieWindows::handleOf(box_);
        QCOMPARE(device_.sent.value(1),
                 QStringLiteral("open \"/album/Bilder/Mein Film.mpg\" alias movie parent %1 style child ").arg(handle));
        QCOMPARE(zv::movieWindows::find(handle), box_);
        QVERIFY(!box_->internalWinId()); // naming the box did not make it a native window
        QCOMPARE(device_.sent.mid(device_.sent.size() - 2), (QStringList{"seek movie to 0", "stop movie"}));
        QCOMPARE(bar_->movieLength(), 10000.0);
        QVERIFY(!timer()->isActive());
    }

    void sliderDrag_data()
    {
        QTest::addColumn<bool>("fromThumb");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("seek");
        for (bool fromThumb : {true, false}) {
            const char *how = fromThumb ? "drag" : "click";
            QTest::addRow("%s to the middle", how) << fromThumb << 75 << 71 << "seek movie to 5000";
            QTest::addRow("%s below the range", how) << fromThumb << 10 << 12 << "seek movie to 0";
            QTest::addRow("%s to the lowest", how) << fromThumb << 13 << 9 << "seek movie to 0";
            QTest::addRow("%s to the highest", how) << fromThumb << 137 << 133 << "seek movie to 10000";
            QTest::addRow("%s above the range", how) << fromThumb << 138 << 12 << "seek movie to 0";
        }
    }
    void sliderDrag()
    {
        QFETCH(bool, fromThumb);
        QFETCH(int, x);
        QFETCH(int, left);
        QFETCH(QString, seek);
        QCOMPARE(bar_->trackLength(), 124);
        if (fromThumb) {
            QTest::mousePress(thumb(), Qt::LeftButton, {}, QPoint(4, 10));
            QCOMPARE(thumb()->x(), 12);
            QTest::mouseMove(track(), QPoint(x, 10));
            QCOMPARE(thumb()->x(), left);
            QTest::mouseRelease(track(), Qt::LeftButton, {}, QPoint(x, 10));
        } else {
            QTest::mouseClick(track(), Qt::LeftButton, {}, QPoint(x, 10));
        }
        QCOMPARE(thumb()->x(), left);
        QCOMPARE(sentMatching("seek movie to"), QStringList{seek});
    }

    // A drag in the volume box, then a new playback: it sets volume 850 but keeps the picture.
    void volume_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("image");
        QTest::newRow("top edge") << 0 << QStringList{"setaudio movie volume to 1000"} << 6;
        QTest::newRow("middle") << 25 << QStringList{"setaudio movie volume to 500"} << 3;
        QTest::newRow("bottom edge") << 50 << QStringList{"setaudio movie volume to 0"} << 0;
        QTest::newRow("upper quarter") << 12 << QStringList{"setaudio movie volume to 760"} << 5;
        QTest::newRow("below the box") << 60 << QStringList{} << 4;
    }
    void volume()
    {
        QFETCH(int, y);
        QFETCH(QStringList, sent);
        QFETCH(int, image);
        QVERIFY(shows(child<QLabel>("picVol"), QStringLiteral("2Vol4.jpg")));
        QTest::mousePress(child("picVol"), Qt::LeftButton, {}, QPoint(10, 40));
        QVERIFY(sentMatching("setaudio").isEmpty()); // a click alone does nothing
        QTest::mouseMove(child("picVol"), QPoint(10, y));
        QTest::mouseRelease(child("picVol"), Qt::LeftButton, {}, QPoint(10, y));
        QCOMPARE(sentMatching("setaudio"), sent);
        QCOMPARE(bar_->volumeImageIndex(), image);
        QVERIFY(shows(child<QLabel>("picVol"), QStringLiteral("2Vol%1.jpg").arg(image)));
        click("imgPlay");
        QCOMPARE(sentMatching("setaudio"), sent << "setaudio movie volume to 850");
        QCOMPARE(sentMatching("set movie speed"), QStringList{"set movie speed 1000"});
        QVERIFY(shows(child<QLabel>("picVol"), QStringLiteral("2Vol%1.jpg").arg(image)));
    }

    // Playback: the timer moves the thumb, pause twice resumes, stop rewinds.
    void playPauseStop()
    {
        device_.reply(QStringLiteral("status movie position wait"), QStringLiteral("5000"));
        click("imgPlay");
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 500);
        QTRY_COMPARE(thumb()->x(), 71);
        device_.sent.clear();
        click("imgPause");
        QVERIFY(bar_->isPaused());
        click("imgPause");
        QVERIFY(!bar_->isPaused());
        QCOMPARE(device_.sent, (QStringList{"pause movie", "play movie"}));
        QVERIFY(timer()->isActive());
        click("imgPause");
        click("imgPlay"); // play resumes a paused movie as well
        QVERIFY(!bar_->isPaused());
        QCOMPARE(device_.sent.mid(2, 2), (QStringList{"pause movie", "play movie"}));
        click("imgStop");
        QVERIFY(!timer()->isActive());
        QCOMPARE(thumb()->x(), 0);
        QCOMPARE(device_.sent.mid(device_.sent.size() - 2), (QStringList{"seek movie to 0", "stop movie"}));
    }

    void fileButtonsAndFaces()
    {
        auto *play = child<QLabel>("imgPlay");
        QTest::mousePress(play, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(shows(play, QStringLiteral("Film abspielen 1.jpg")));
        QTest::mouseRelease(play, Qt::LeftButton, {}, QPoint(45, 5)); // released outside: no click
        QVERIFY(shows(play, QStringLiteral("Film abspielen 0.jpg")));
        click("imgClose");
        QCOMPARE(shell_.opened, QStringList{"/album/Bilder/Urlaub.mpg"});
        QCOMPARE(shell_.lastShow, zv::ShowState::Maximized);
        click("imgOpen");
        QCOMPARE(pictureWindow_, QStringList{"/album/Bilder/Urlaub.mpg"});
        QVERIFY(device_.sent.isEmpty());
    }

    // Pictures come from the folder given and nowhere else; a missing one stays missing.
    void skinFolder()
    {
        bar_->setSkinFolder(album_.path() + QStringLiteral("/Skins/Blau/"));
        QVERIFY(thumb()->pixmap().isNull());
        QCOMPARE(thumb()->size(), QSize(8, 20));
        QVERIFY(shows(child<QLabel>("imgStop"), QStringLiteral("Wiedergabe beenden 0.jpg")));
        QTest::mouseClick(track(), Qt::LeftButton, {}, QPoint(75, 10));
        QCOMPARE(sentMatching("seek movie to"), QStringList{"seek movie to 5000"});
        bar_->setSkinFolder(album_.path() + QStringLiteral("/Skins/Gibt es nicht/"));
        QVERIFY(track()->pixmap().isNull());
    }

    // Real movies in the preview box: the window stays one GL window without native children.
    // A name with a quote cannot be opened and leaves the box empty.
    void realMovieInPreviewBox_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("placed"); // empty: nothing opened, the box stays empty
        QTest::newRow("landscape") << "clip.mpg" << "0 23 183 137";
        QTest::newRow("quotes in the name") << "Film \"Sommer\".mpg" << "";
        QTest::newRow("quote that would open clip.mpg") << "clip.mpg\" alias \"movie" << "";
    }
    void realMovieInPreviewBox()
    {
        QFETCH(QString, file);
        QFETCH(QString, placed);
        zv::MpvMciDevice device;
        zv::MovieModule movie(device);
        auto *neighbour = new QLabel(QStringLiteral("Namen"), window_.get());
        neighbour->show();
        ctrlAV player(movie, shell_, zv::PlayerHost{box_, {}, {}}, window_.get(), 0.0);
        player.openVideo(album_.path() + u'/' + file);
        const zv::MciResult where = device.send(QStringLiteral("where movie window"));
        QCOMPARE(where.reply, placed);
        QCOMPARE(box_->findChild<zv::MpvVideoWidget *>() != nullptr, !placed.isEmpty());
        QCOMPARE(movie.Error != 0, placed.isEmpty());
        QCOMPARE(QGuiApplication::allWindows().size(), 1);
        QVERIFY(!neighbour->internalWinId());
        if (placed.isEmpty())
            return;
        QCOMPARE(QGuiApplication::allWindows().first()->surfaceType(), QSurface::OpenGLSurface);
        const QPoint at = box_->mapToGlobal(QPoint(0, 23));
        QTRY_VERIFY(distinctColours(QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 183, 137).toImage()) > 8);
        movie.closeMovie();
        QVERIFY(!box_->findChild<zv::MpvVideoWidget *>());
    }
};

QTEST_MAIN(TestCtrlAV)
#include "tst_ctrlAV.moc"
