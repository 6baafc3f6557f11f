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
#include <QScreen>
#include <QSet>
#include <QWindow>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using zv::ctrlAV;

namespace {

class RecordingShell final : public zv::Shell {
public:
    bool openDocument(const QString &path, zv::ShowState show) override
    {
        opened << path;
        shows << show;
        return true;
    }
    bool startProgram(const QString &, const QString &, const QString &) override { return false; }
    QStringList opened;
    QList<zv::ShowState> shows;
};

struct Picture {
    const char *file;
    QSize size;
};

const Picture SkinPictures[] = {
    {"1Leiste.jpg", {150, 20}}, {"1Zeiger.jpg", {8, 20}}, {"2Vol0.jpg", {33, 50}}, {"2Vol1.jpg", {33, 50}},
    {"2Vol2.jpg", {33, 50}}, {"2Vol3.jpg", {33, 50}}, {"2Vol4.jpg", {33, 50}}, {"2Vol5.jpg", {33, 50}},
    {"2Vol6.jpg", {33, 50}}, {"maximieren 0.jpg", {30, 30}}, {"maximieren 1.jpg", {30, 30}},
    {"skalieren 0.jpg", {30, 30}}, {"skalieren 1.jpg", {30, 30}}, {"Film abspielen 0.jpg", {30, 30}},
    {"Film abspielen 1.jpg", {30, 30}}, {"Wiedergabe anhalten 0.jpg", {30, 30}},
    {"Wiedergabe anhalten 1.jpg", {30, 30}}, {"Wiedergabe beenden 0.jpg", {30, 30}},
    {"Wiedergabe beenden 1.jpg", {30, 30}},
};

// Each picture file gets its own plain colour, so a test can tell which one is shown.
QColor colourOf(const QString &file)
{
    int index = 0;
    for (const Picture &p : SkinPictures) {
        if (file == QString::fromUtf8(p.file))
            return QColor::fromHsv((index * 19) % 360, 255, 120 + (index % 4) * 40);
        ++index;
    }
    return Qt::black;
}

bool shows(const QLabel *label, const QString &file)
{
    if (label->pixmap().isNull())
        return false;
    const QColor seen = label->pixmap().toImage().pixelColor(2, 2);
    const QColor want = colourOf(file);
    return qAbs(seen.red() - want.red()) < 16 && qAbs(seen.green() - want.green()) < 16
           && qAbs(seen.blue() - want.blue()) < 16;
}

int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

bool writeSkin(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const Picture &p : SkinPictures) {
        QImage image(p.size, QImage::Format_RGB32);
        image.fill(colourOf(QString::fromUtf8(p.file)));
        if (!image.save(folder + QString::fromUtf8(p.file), "JPG", 100))
            return false;
    }
    return true;
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
    QStringList sentMatching(const QString &start) const { return device_.sent.filter(start); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeSkin(album_.path() + QStringLiteral("/Skins/Main/")));
        QVERIFY(writeSkin(album_.path() + QStringLiteral("/Skins/Blau/")));
        QVERIFY(QFile::remove(album_.path() + QStringLiteral("/Skins/Blau/1Zeiger.jpg")));
    }

    void init()
    {
        device_ = RecordingDevice();
        device_.reply(QStringLiteral("where movie source"), QStringLiteral("0 0 320 240"));
        device_.reply(QStringLiteral("status movie length"), QStringLiteral("10000"));
        device_.reply(QStringLiteral("status movie mode"), QStringLiteral("stopped"));
        movie_ = std::make_unique<zv::MovieModule>(device_);
        pictureWindow_.clear();
        window_ = std::make_unique<QWidget>();
        box_ = new QWidget(window_.get());
        box_->setGeometry(0, 0, 183, 183);
        zv::PlayerHost host{box_, [] { return QStringLiteral("/album/Bilder/Urlaub.mpg"); },
                            [this](const QString &path) { pictureWindow_ << path; }};
        bar_ = new ctrlAV(*movie_, shell_, host, window_.get());
        bar_->move(0, 183);
        bar_->setSkin(album_.path(), QStringLiteral("Main"));
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
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("tip");
        QTest::newRow("imgOpen") << "imgOpen" << QRect(0, 0, 30, 30) << "frei skalierbar [nur für Bilder]";
        QTest::newRow("imgClose") << "imgClose" << QRect(30, 0, 30, 30) << "Datei mit Standardprogramm öffnen";
        QTest::newRow("imgPlay") << "imgPlay" << QRect(60, 0, 30, 30) << "Film abspielen";
        QTest::newRow("imgStop") << "imgStop" << QRect(90, 0, 30, 30) << "Wiedergabe beenden";
        QTest::newRow("imgPause") << "imgPause" << QRect(120, 0, 30, 30) << "Wiedergabe anhalten";
        QTest::newRow("picVol") << "picVol" << QRect(150, 0, 33, 50) << "Lautstärke ändern";
        QTest::newRow("imgSlider") << "imgSlider" << QRect(0, 30, 150, 20) << "Position";
        QTest::newRow("imgSliderBtn") << "imgSliderBtn" << QRect(12, 0, 8, 20) << "";
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, tip);
        QCOMPARE(bar_->size(), QSize(193, 55));
        const QWidget *element = bar_->findChild<QWidget *>(name);
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
        QTest::newRow("sound has no size") << "" << QStringList{};
    }
    void openVideoFits()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, put);
        device_.reply(QStringLiteral("where movie source"), source);
        bar_->openVideo(QStringLiteral("/album/Bilder/Mein Film.mpg"));
        QCOMPARE(sentMatching(QStringLiteral("put movie window")), put);
        QCOMPARE(device_.sent.value(1), QStringLiteral("open \"/album/Bilder/Mein Film.mpg\" alias movie parent %1 style child ")
                                            .arg(zv::movieWindows::handleOf(box_)));
        QCOMPARE(zv::movieWindows::find(zv::movieWindows::handleOf(box_)), box_);
        QVERIFY(!box_->internalWinId()); // naming the box did not make it a native window
        QCOMPARE(device_.sent.mid(device_.sent.size() - 2), (QStringList{"seek movie to 0", "stop movie"}));
        QCOMPARE(bar_->movieLength(), 10000.0);
        QVERIFY(!child<QTimer>("tmr1")->isActive());
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
        const QPoint at(x, 10);
        if (fromThumb) {
            QTest::mousePress(thumb(), Qt::LeftButton, {}, QPoint(4, 10));
            QCOMPARE(thumb()->x(), 12);
            QTest::mouseMove(track(), at);
            QCOMPARE(thumb()->x(), left);
            QTest::mouseRelease(track(), Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(track(), Qt::LeftButton, {}, at);
        }
        QCOMPARE(thumb()->x(), left);
        QCOMPARE(sentMatching(QStringLiteral("seek movie to")), QStringList{seek});
    }

    void timerMovesThumb()
    {
        device_.reply(QStringLiteral("status movie position wait"), QStringLiteral("5000"));
        QTest::mouseClick(child("imgPlay"), Qt::LeftButton);
        QVERIFY(child<QTimer>("tmr1")->isActive());
        QCOMPARE(child<QTimer>("tmr1")->interval(), 500);
        QTRY_COMPARE(thumb()->x(), 71);
        QTest::mouseClick(child("imgStop"), Qt::LeftButton);
        QVERIFY(!child<QTimer>("tmr1")->isActive());
        QCOMPARE(thumb()->x(), 0);
        QCOMPARE(device_.sent.mid(device_.sent.size() - 2), (QStringList{"seek movie to 0", "stop movie"}));
    }

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
        QLabel *box = child<QLabel>("picVol");
        QVERIFY(shows(box, QStringLiteral("2Vol4.jpg")));
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 40));
        QVERIFY(sentMatching(QStringLiteral("setaudio")).isEmpty()); // a click alone does nothing
        QTest::mouseMove(box, QPoint(10, y));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, y));
        QCOMPARE(sentMatching(QStringLiteral("setaudio")), sent);
        QCOMPARE(bar_->volumeImageIndex(), image);
        QVERIFY(shows(box, QStringLiteral("2Vol%1.jpg").arg(image)));
    }

    void newPlaybackSetsVolume()
    {
        QLabel *box = child<QLabel>("picVol");
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 40));
        QTest::mouseMove(box, QPoint(10, 0));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 0));
        QTest::mouseClick(child("imgPlay"), Qt::LeftButton);
        QCOMPARE(sentMatching(QStringLiteral("setaudio")),
                 (QStringList{"setaudio movie volume to 1000", "setaudio movie volume to 850"}));
        QCOMPARE(sentMatching(QStringLiteral("set movie speed")), QStringList{"set movie speed 1000"});
        QVERIFY(shows(box, QStringLiteral("2Vol6.jpg")));
    }

    void pauseTwiceResumes()
    {
        QTest::mouseClick(child("imgPlay"), Qt::LeftButton);
        device_.sent.clear();
        QTest::mouseClick(child("imgPause"), Qt::LeftButton);
        QVERIFY(bar_->isPaused());
        QTest::mouseClick(child("imgPause"), Qt::LeftButton);
        QVERIFY(!bar_->isPaused());
        QCOMPARE(device_.sent, (QStringList{"pause movie", "play movie"}));
        QVERIFY(child<QTimer>("tmr1")->isActive());

        QTest::mouseClick(child("imgPause"), Qt::LeftButton);
        QTest::mouseClick(child("imgPlay"), Qt::LeftButton);
        QVERIFY(!bar_->isPaused());
        QCOMPARE(device_.sent.mid(2, 2), (QStringList{"pause movie", "play movie"}));
    }

    void fileButtons()
    {
        QTest::mouseClick(child("imgClose"), Qt::LeftButton);
        QCOMPARE(shell_.opened.value(0), QStringLiteral("/album/Bilder/Urlaub.mpg"));
        QCOMPARE(shell_.shows.value(0), zv::ShowState::Maximized);
        QTest::mouseClick(child("imgOpen"), Qt::LeftButton);
        QCOMPARE(pictureWindow_, QStringList{"/album/Bilder/Urlaub.mpg"});
        QVERIFY(device_.sent.isEmpty());
        shell_ = RecordingShell();
    }

    void pressedFaces()
    {
        auto *play = child<QLabel>("imgPlay");
        QVERIFY(shows(play, QStringLiteral("Film abspielen 0.jpg")));
        QTest::mousePress(play, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(shows(play, QStringLiteral("Film abspielen 1.jpg")));
        QTest::mouseRelease(play, Qt::LeftButton, {}, QPoint(45, 5)); // released outside: no click
        QVERIFY(shows(play, QStringLiteral("Film abspielen 0.jpg")));
        QVERIFY(device_.sent.isEmpty());
    }

    void realMovieInPreviewBox()
    {
        QTemporaryDir clips;
        const QString path = clips.path() + QStringLiteral("/Film.mpg");
        QVERIFY(makeClip(path, {"-c:v", "mpeg1video", "-c:a", "mp2"}));
        zv::MpvMciDevice device;
        zv::MovieModule movie(device);
        window_ = std::make_unique<QWidget>();
        box_ = new QWidget(window_.get());
        box_->setGeometry(0, 0, 183, 183);
        auto *neighbour = new QLabel(QStringLiteral("Namen"), window_.get());
        neighbour->setGeometry(190, 0, 100, 20);
        auto *bar = new ctrlAV(movie, shell_, zv::PlayerHost{box_, {}, {}}, window_.get());
        bar->move(0, 183);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));

        bar->openVideo(path);
        QCOMPARE(movie.Error, 0);
        QCOMPARE(movie.getStatus(), QStringLiteral("Stopped"));
        QCOMPARE(device.send(QStringLiteral("where movie window")).reply, QStringLiteral("0 23 183 137"));
        QVERIFY(box_->findChild<zv::MpvVideoWidget *>());
        // The window composes with GL and has no native child windows that could not.
        const QWindowList windows = QGuiApplication::allWindows();
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows.first()->surfaceType(), QSurface::OpenGLSurface);
        const QPoint at = box_->mapToGlobal(QPoint(0, 23));
        QTRY_VERIFY(colourCount(QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 183, 137).toImage()) > 8);
        QVERIFY(!neighbour->internalWinId());

        movie.closeMovie();
        QVERIFY(!box_->findChild<zv::MpvVideoWidget *>());
        window_.reset();
    }

    void skinFallbackAndMissingPicture()
    {
        bar_->setSkin(album_.path(), QStringLiteral("Gibt es nicht"));
        QVERIFY(shows(track(), QStringLiteral("1Leiste.jpg")));
        QVERIFY(shows(thumb(), QStringLiteral("1Zeiger.jpg")));
        bar_->setSkin(album_.path(), QStringLiteral("Blau"));
        QVERIFY(thumb()->pixmap().isNull());
        QCOMPARE(thumb()->size(), QSize(8, 20));
        QVERIFY(shows(child<QLabel>("imgStop"), QStringLiteral("Wiedergabe beenden 0.jpg")));
        QTest::mouseClick(track(), Qt::LeftButton, {}, QPoint(75, 10));
        QCOMPARE(sentMatching(QStringLiteral("seek movie to")), QStringList{"seek movie to 5000"});
    }
};

QTEST_MAIN(TestCtrlAV)
#include "tst_ctrlAV.moc"
