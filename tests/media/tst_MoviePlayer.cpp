// MovieModule over a recording device, and the player bar ctrlAV driving it.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"

#include "media/MciDevice.h"
#include "media/MciErrors.h"
#include "media/MovieModule.h"
#include "media/MovieWindows.h"
#include "media/ctrlAV.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

#include <functional>

using zv::MovieModule;

namespace {

// Records every command and answers from a script keyed by the command string, else with answerAll.
struct RecordingDevice final : zv::MciDevice {
    zv::MciResult send(const QString &command) override
    {
        sent << command;
        return script.value(command, zv::MciResult{0, answerAll});
    }
    QString errorText(int code) const override { return QStringLiteral("text %1").arg(code); }
    void reply(const QString &command, const QString &text, int code = 0) { script.insert(command, {code, text}); }

    QStringList sent;
    QHash<QString, zv::MciResult> script;
    QString answerAll;
};

using Call = std::function<void(MovieModule &, RecordingDevice &)>;

// The bar under the 183-pixel preview box, a 10-second landscape movie opened.
struct Bar {
    Bar()
    {
        device.reply(QStringLiteral("where movie source"), QStringLiteral("0 0 320 240"));
        device.reply(QStringLiteral("status movie length"), QStringLiteral("10000"));
        device.reply(QStringLiteral("status movie mode"), QStringLiteral("stopped"));
        box->setGeometry(0, 0, 183, 183);
        const auto current = [] { return QStringLiteral("/album/Bilder/Urlaub.mpg"); };
        bar = new zv::ctrlAV(movie, shell, zv::PlayerHost{box, current, {}}, &window, 0.0);
        bar->move(0, 183);
        bar->setSkinFolder(album.path() + QStringLiteral("/Skins/Main/"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bar->openVideo(current());
        device.sent.clear();
    }
    template <typename T = QLabel> T *child(const char *name) { return bar->findChild<T *>(name); }
    QLabel *thumb() { return child("imgSliderBtn"); }
    QLabel *track() { return child("imgSlider"); }
    QTimer *timer() { return child<QTimer>("tmr1"); }
    QStringList sent(const char *start) const { return device.sent.filter(QString::fromLatin1(start)); }
    void click(const char *name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    // Whether the element shows that picture of the skin.
    bool shows(const char *name, const QString &file)
    {
        const QPixmap shown = child(name)->pixmap();
        return !shown.isNull() && shown.toImage() == QImage(album.path() + "/Skins/Main/" + file);
    }

    zv::test::AlbumFolder album;
    RecordingDevice device;
    MovieModule movie{device};
    zv::test::RecordingShell shell;
    QWidget window;
    QWidget *box = new QWidget(&window);
    zv::ctrlAV *bar = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(Call)

class TestMoviePlayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One row per way a command goes wrong; the position is 3000 ms or 50 frames, seeks fail.
    void commands_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("error");
#define CALL(name, body, sent, error) \
    QTest::newRow(name) << Call([](MovieModule &m, [[maybe_unused]] RecordingDevice &d) { body; }) << QStringLiteral(sent) << int(error)
#define JUMP(f, v, sent) CALL(#f " " #v, int a = v; QCOMPARE(m.f(a), QByteArray(sent).contains("play")), sent, 0)
#define MS "set movie time format ms|"
#define POS MS "status movie position wait"
#define FPOS "set movie time format frames|set movie time format frames wait|status movie position"
        CALL("restartMovie", m.restartMovie(), "seek movie to start|play movie", 0);
        JUMP(rewindByMS, 500, MS POS "|play movie from 2500");
        JUMP(rewindBySeconds, 5, MS POS "|play movie from -2000");
        JUMP(forwardBySeconds, 2, MS POS "|play movie from 5000");
        JUMP(rewindByFrames, 5, FPOS "|play movie from 45");
        JUMP(forwardByFrames, 10, FPOS "|play movie from 60");
        JUMP(forwardBySeconds, 2147484, MS POS); // leaves 32 bits: nothing is played
        JUMP(rewindBySeconds, 2147484, MS POS);
        JUMP(forwardByMS, 2147483647, MS POS);
        // Seconds become ms; playing plays from there, otherwise it seeks. The seek's failure is not kept.
        CALL("setPositionTo, paused", int s = 12; QVERIFY(m.setPositionTo(s)); QCOMPARE(s, 12000),
             "status movie mode|status movie mode|seek movie to 12000", 0);
        CALL("setPositionTo, playing", d.reply("status movie mode", "playing"); int s = 12; m.setPositionTo(s),
             "status movie mode|play movie from 12000", 0);
        CALL("setPositionTo, overflow", int s = 2147484; QVERIFY(!m.setPositionTo(s)); QCOMPARE(s, 2147484), "", 7);
        CALL("setPositionTo, negative overflow", int s = -2147484; QVERIFY(!m.setPositionTo(s)), "", 7);
        CALL("failure", d.reply("play movie", {}, 263); m.playMovie();
             QCOMPARE(m.checkError(), QStringLiteral("text 263")), "play movie", 263);
        // A quote cannot be inside a quoted name: the open is not sent at all.
        CALL("quote in the name", m.Filename = "/a/clip.mpg\" alias \"movie"; m.openMovie(), "close movie",
             zv::mci::InvalidFile);
    }
    void commands()
    {
        QFETCH(Call, call);
        QFETCH(QString, sent);
        QFETCH(int, error);
        RecordingDevice device;
        device.reply(QStringLiteral("status movie position wait"), QStringLiteral("3000"));
        device.reply(QStringLiteral("status movie position"), QStringLiteral("50"));
        device.reply(QStringLiteral("status movie mode"), QStringLiteral("paused"));
        device.reply(QStringLiteral("seek movie to 12000"), {}, 263);
        device.reply(QStringLiteral("play movie from 12000"), {}, 263);
        MovieModule movie(device);
        movie.Error = 7;
        call(movie, device);
        QCOMPARE(device.sent, sent.split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(movie.Error, error);
    }

    // While timeOut waits, timers run, but input from the window system is held until the wait
    // is over: a click must not start a second operation inside the waiting one.
    void timeOutHoldsInputBack()
    {
        RecordingDevice device;
        MovieModule movie(device);
        QPushButton target;
        int pressesWhileBusy = 0;
        connect(&target, &QPushButton::pressed, [&] { pressesWhileBusy += movie.isBusy() ? 1 : 0; });
        QSignalSpy presses(&target, &QPushButton::pressed);
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        bool busyInTimer = false;
        QTimer::singleShot(0, [&] {
            busyInTimer = movie.isBusy();
            const QPointF at(10, 10);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                    target.windowHandle(), at, target.mapToGlobal(at),
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
        });
        movie.timeOut(0.2);
        QVERIFY(busyInTimer);
        QVERIFY(!movie.isBusy());
        QTRY_COMPARE(presses.size(), 1);
        QCOMPARE(pressesWhileBusy, 0);
        QVERIFY(device.sent.isEmpty());
    }

    void openVideoFits_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("put");
        QTest::newRow("landscape") << "0 0 320 240" << QStringList{"put movie window at 0 23 183 137"};
        // 136.5 wide rounds to 136, centred by that: 23.5 rounds to 24.
        QTest::newRow("half pixel") << "0 0 273 366" << QStringList{"put movie window at 24 0 136 183"};
        QTest::newRow("sound has no size") << "" << QStringList{};
    }
    void openVideoFits()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, put);
        Bar b;
        b.device.reply(QStringLiteral("where movie source"), source);
        b.bar->openVideo(QStringLiteral("/album/Bilder/Mein Film.mpg"));
        QCOMPARE(b.sent("put movie window"), put);
        const qint64 handle = zv::movieWindows::handleOf(b.box);
        QCOMPARE(b.device.sent.mid(0, 2),
                 (QStringList{"close movie", QStringLiteral("open \"/album/Bilder/Mein Film.mpg\" alias movie parent "
                                                            "%1 style child ").arg(handle)}));
        QCOMPARE(zv::movieWindows::find(handle), b.box);
        QVERIFY(!b.box->internalWinId()); // naming the box did not make it a native window
        QCOMPARE(b.device.sent.mid(b.device.sent.size() - 2), (QStringList{"seek movie to 0", "stop movie"}));
        QCOMPARE(b.bar->movieLength(), 10000.0);
        QVERIFY(!b.timer()->isActive());
    }

    // Pressed, moved and let go: the thumb's place and the seek, or the volume and its picture.
    void dragsOnTheBar_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("place");
        QTest::addColumn<QStringList>("sent");
        for (const char *element : {"imgSliderBtn", "imgSlider"}) {
            const auto row = [&](const char *name, int x, int left, const char *seek) {
                const QPoint to(x, 10);
                QTest::addRow("%s %s", element, name) << QString::fromLatin1(element)
                    << (QByteArray(element).endsWith("Btn") ? QPoint(4, 10) : to) << to << left << QStringList{seek};
            };
            row("to the middle", 75, 71, "seek movie to 5000");
            row("below the range", 10, 12, "seek movie to 0");
            row("to the lowest", 13, 9, "seek movie to 0");
            row("to the highest", 137, 133, "seek movie to 10000");
            row("above the range", 138, 12, "seek movie to 0");
        }
        const auto volume = [](const char *name, int y, int image, QStringList sent) {
            QTest::newRow(name) << "picVol" << QPoint(10, 40) << QPoint(10, y) << image << sent;
        };
        volume("volume: top edge", 0, 6, {"setaudio movie volume to 1000"});
        volume("volume: middle", 25, 3, {"setaudio movie volume to 500"});
        volume("volume: bottom edge", 50, 0, {"setaudio movie volume to 0"});
        volume("volume: upper quarter", 12, 5, {"setaudio movie volume to 760"});
        volume("volume: below the box", 60, 4, {});
    }
    void dragsOnTheBar()
    {
        QFETCH(QString, element);
        QFETCH(QPoint, press);
        QFETCH(QPoint, to);
        QFETCH(int, place);
        QFETCH(QStringList, sent);
        Bar b;
        const bool volume = element == QLatin1String("picVol");
        QWidget *moved = volume ? b.child("picVol") : b.track();
        QTest::mousePress(b.child(qPrintable(element)), Qt::LeftButton, {}, press);
        QTest::mouseMove(moved, to);
        QTest::mouseRelease(moved, Qt::LeftButton, {}, to);
        QCOMPARE(b.sent(volume ? "setaudio" : "seek movie to"), sent);
        QCOMPARE(volume ? b.bar->volumeImageIndex() : b.thumb()->x(), place);
        if (volume)
            QVERIFY(b.shows("picVol", QStringLiteral("2Vol%1.jpg").arg(place)));
    }

    // Playback: the timer moves the thumb, pause twice resumes, stop rewinds.
    void playPauseStop()
    {
        Bar b;
        b.device.reply(QStringLiteral("status movie position wait"), QStringLiteral("5000"));
        b.click("imgPlay");
        QCOMPARE(b.device.sent, (QStringList{"play movie", "setaudio movie volume to 850", "set movie speed 1000"}));
        QVERIFY(b.timer()->isActive());
        QTRY_COMPARE(b.thumb()->x(), 71);
        b.device.sent.clear();
        b.click("imgPause");
        QVERIFY(b.bar->isPaused());
        b.click("imgPause");
        QVERIFY(!b.bar->isPaused());
        QCOMPARE(b.device.sent, (QStringList{"pause movie", "play movie"}));
        QVERIFY(b.timer()->isActive());
        b.click("imgPause");
        b.click("imgPlay"); // play resumes a paused movie as well
        QVERIFY(!b.bar->isPaused());
        QCOMPARE(b.device.sent.mid(2, 2), (QStringList{"pause movie", "play movie"}));
        b.click("imgStop");
        QVERIFY(!b.timer()->isActive());
        QCOMPARE(b.thumb()->x(), 0);
        QCOMPARE(b.device.sent.mid(b.device.sent.size() - 2), (QStringList{"seek movie to 0", "stop movie"}));
    }
};

QTEST_MAIN(TestMoviePlayer)
#include "tst_MoviePlayer.moc"
