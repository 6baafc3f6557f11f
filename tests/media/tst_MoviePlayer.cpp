// The media engine behind the command strings on real clips, MovieModule over a recording
// device, and the player bar ctrlAV driving it.
#include "support/AlbumFolder.h"
#include "support/CoreChecks.h"
#include "support/Fakes.h"
#include "support/MediaClips.h"

#include "media/ctrlAV.h"
#include "media/MciDevice.h"
#include "media/MciErrors.h"
#include "media/MovieModule.h"
#include "media/MovieWindows.h"
#include "media/MpvMciDevice.h"
#include "media/MpvVideoWidget.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"

#include <QLabel>
#include <qpa/qwindowsysteminterface.h>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <unistd.h>

using namespace zv;

namespace {

// True while some descriptor of this process points at the file, also after it was deleted.
// Names that are not UTF-8 read back as lossily from the links as they are decoded here.
bool fileIsOpen(const QString &path)
{
    const QString target = QFile::decodeName(nativePath(path));
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget().startsWith(target)) // also "... (deleted)"
            return true;
    return false;
}

// "Käse.mpg" as an old Windows medium names it, in Latin-1.
const QString kLatin1Name = decodeFileName("K\xe4se.mpg");

// Records every command and answers from a script keyed by the command string, else with answerAll.
struct RecordingDevice final : MciDevice {
    MciResult send(const QString &command) override
    {
        sent << command;
        return script.value(command, MciResult{0, answerAll});
    }
    QString errorText(int code) const override { return QStringLiteral("text %1").arg(code); }
    void reply(const QString &command, const QString &text, int code = 0) { script.insert(command, {code, text}); }

    QStringList sent;
    QHash<QString, MciResult> script;
    QString answerAll;
};

using Call = std::function<void(MovieModule &, RecordingDevice &)>;
using Answer = std::function<QString(MovieModule &)>;

// The bar under the 183-pixel preview box, a 10-second landscape movie opened.
struct Bar {
    Bar()
    {
        device.reply(QStringLiteral("where movie source"), QStringLiteral("0 0 320 240"));
        device.reply(QStringLiteral("status movie length"), QStringLiteral("10000"));
        device.reply(QStringLiteral("status movie mode"), QStringLiteral("stopped"));
        box->setGeometry(0, 0, 183, 183);
        const auto current = [] { return QStringLiteral("/album/Bilder/Urlaub.mpg"); };
        bar = new ctrlAV(movie, shell, PlayerHost{box, current, {}}, &window, 0.0);
        bar->move(0, 183);
        bar->setSkinFolder(album.path() + QStringLiteral("/Skins/Main/"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bar->openVideo(current());
        device.sent.clear();
    }
    template <typename T = QLabel>
    T *child(const char *name)
    {
        return bar->findChild<T *>(name);
    }
    QLabel *thumb() { return child("imgSliderBtn"); }
    QLabel *track() { return child("imgSlider"); }
    QTimer *timer() { return child<QTimer>("tmr1"); }
    QStringList sent(const char *start) const { return device.sent.filter(QString::fromLatin1(start)); }
    void click(const char *name) { QTest::mouseClick(child(name), Qt::LeftButton); }

    test::AlbumFolder album;
    RecordingDevice device;
    MovieModule movie{device};
    test::RecordingShell shell;
    QWidget window;
    QWidget *box = new QWidget(&window);
    ctrlAV *bar = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(Answer)

class TestMoviePlayer : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString folder_; // a folder with blanks in its name
    std::unique_ptr<QWidget> window_;
    QWidget *box_ = nullptr;

    int number(MpvMciDevice &device, const QString &command)
    {
        const MciResult result = device.send(command);
        [&] { QCOMPARE(result.code, 0); }();
        return result.reply.toInt();
    }
    QString mode(MpvMciDevice &device) { return device.send(QStringLiteral("status movie mode")).reply; }
    // Sends a command that must succeed and tells the mode after it.
    QString modeAfter(MpvMciDevice &device, const char *command)
    {
        const int code = device.send(QString::fromLatin1(command)).code;
        [&] { QCOMPARE(code, 0); }();
        return mode(device);
    }

    void controls(MpvMciDevice &device)
    {
        QCOMPARE(device.send("put movie window at 0 23 183 137").code, 0);
        QCOMPARE(device.send("where movie window").reply, QStringLiteral("0 23 183 137"));
        QTRY_VERIFY(device.videoWidget()->framesShown() > 1);
        QCOMPARE(modeAfter(device, "pause movie"), QStringLiteral("paused"));
        const int paused = number(device, "status movie position");
        QTest::qWait(200);
        QCOMPARE(number(device, "status movie position"), paused);
        QCOMPARE(modeAfter(device, "seek movie to 500"), QStringLiteral("paused"));
        QVERIFY(qAbs(number(device, "status movie position") - 500) <= 40);
        QCOMPARE(modeAfter(device, "resume movie"), QStringLiteral("playing"));
        QCOMPARE(modeAfter(device, "play movie from 1000"), QStringLiteral("playing"));
        QVERIFY(number(device, "status movie position") >= 960);
        QCOMPARE(modeAfter(device, "stop movie"), QStringLiteral("stopped"));
        QCOMPARE(modeAfter(device, "seek movie to start"), QStringLiteral("stopped"));
        QVERIFY(number(device, "status movie position") <= 40);
    }

private Q_SLOTS:
    void initTestCase()
    {
        folder_ = QFileInfo(dir_.path()).canonicalFilePath() + QStringLiteral("/mit Leer zeichen/");
        QVERIFY(QDir().mkpath(folder_));
        QVERIFY(makeClip(folder_ + "clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}));
        QVERIFY(makeClip(folder_ + "gleich weg.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
        QVERIFY(makeClip(folder_ + "upright.mov", {"-c:v", "mpeg4", "-c:a", "aac"}));
        QVERIFY(rotatedCopy(folder_ + "upright.mov", folder_ + "phone.mov", 90));
        QCOMPARE(::link(nativePath(folder_ + "clip.mpg"), nativePath(folder_ + kLatin1Name)), 0);
        QVERIFY(makeClip(folder_ + "sound.wav", {}, false));
        QVERIFY(test::writeAll(folder_ + "junk.mpg", test::mediaBytes(200000)));
        QVERIFY(test::writeAll(folder_ + "cut.mpg", test::readAll(folder_ + "clip.mpg").left(2048)));
        // Album files carry the trailer after the container's end; junk stays junk in any container.
        for (const auto &[name, codecs] : todaysClips() + otherClips()) {
            QVERIFY2(makeClip(folder_ + name, codecs), qPrintable(name));
            PictureInfo info;
            info.ort = QStringLiteral("Köln");
            QVERIFY(!WritePictureInfo(folder_ + name, info));
            QVERIFY(QFile::copy(folder_ + "junk.mpg", folder_ + "junk." + QFileInfo(name).suffix()));
        }
        // As in the album: the preview box is a child inside the main window.
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 260);
        box_ = new QWidget(window_.get());
        box_->setGeometry(20, 20, 183, 183);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanupTestCase() { ::unlink(nativePath(folder_ + kLatin1Name).constData()); } // Qt cannot name it

    // Opened into the box, measured, played, closed; the first clip goes through every control.
    void containers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("source"); // empty for a sound
        QTest::newRow("clip.mpg") << "clip.mpg" << QString("0 0 320 240");
        QTest::newRow("phone.mov") << "phone.mov" << QString("0 0 240 320");
        QTest::newRow("name not UTF-8") << kLatin1Name << "0 0 320 240";
        QTest::newRow("deleted while open") << "gleich weg.avi" << QString("0 0 320 240");
        QTest::newRow("sound.wav") << "sound.wav" << QString();
        for (const auto &clip : todaysClips() + otherClips())
            QTest::newRow(qPrintable(clip.first + QStringLiteral(" with a trailer"))) << clip.first << "0 0 320 240";
    }
    void containers()
    {
        QFETCH(QString, file);
        QFETCH(QString, source);
        const QString path = folder_ + file;
        const bool video = !source.isEmpty();
        MpvMciDevice device;
        const QString open = QStringLiteral("open \"%1\" alias movie parent %2 style child ");
        QCOMPARE(device.send(open.arg(path).arg(qint64(box_->winId()))).code, 0);
        QVERIFY(fileIsOpen(path));
        if (file.startsWith(QStringLiteral("gleich")))
            QVERIFY(QFile::remove(path)); // what is open keeps playing
        QCOMPARE(mode(device), QStringLiteral("stopped"));
        const MciResult where = device.send(QStringLiteral("where movie source"));
        QCOMPARE(where.code, video ? 0 : int(mci::UnsupportedFunction));
        QCOMPARE(where.reply, source);
        QCOMPARE(device.videoWidget()->isHidden(), !video); // a sound leaves the box as it was
        QCOMPARE(device.send(QStringLiteral("set movie time format frames wait")).code, 0);
        if (video)
            QVERIFY(qAbs(number(device, "status movie length") - 50) <= 2);
        QCOMPARE(device.send(QStringLiteral("set movie time format ms")).code, 0);
        QVERIFY(qAbs(number(device, "status movie length") - 2000) <= 80);
        QCOMPARE(modeAfter(device, "play movie"), QStringLiteral("playing"));
        QTRY_VERIFY_WITH_TIMEOUT(number(device, "status movie position") > 200, 5000);
        if (file == QLatin1String("clip.mpg"))
            controls(device);
        QCOMPARE(device.send(QStringLiteral("close all")).code, 0);
        QVERIFY(!fileIsOpen(path));
        QCOMPARE(device.send(QStringLiteral("status movie mode")).code, int(mci::InvalidDeviceName));
    }

    // Commands on the file (%1) given: the last one's code and reply; nothing stays open.
    void engineCommands_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reply");
        const auto row = [](const char *name, const char *commands, int code, const char *reply = "",
                            const char *file = "clip.mpg") {
            QTest::newRow(name) << QString::fromLatin1(file) << QString::fromUtf8(commands) << code
                                << QString::fromLatin1(reply);
        };
#define OPEN "open \"%1\" alias movie|"
        row("unknown command", "jump movie", mci::UnrecognizedCommand);
        row("cd door", "set cdaudio door open", mci::DeviceNotInstalled);
        row("not open", "play movie", mci::InvalidDeviceName);
        row("missing file", "open \"/nicht/da.mpg\" alias movie", mci::FileNotFound);
        row("unclosed quote", "open \"/a.mpg alias movie", mci::NoClosingQuote);
        row("seek before start", OPEN "seek movie to -2000", mci::OutOfRange);
        row("play past end", OPEN "play movie from 999999", mci::OutOfRange);
        row("bad number", OPEN "setaudio movie volume to laut", mci::BadInteger);
        row("volume too high", OPEN "setaudio movie volume to 1001", mci::OutOfRange);
        row("unknown status", OPEN "status movie colour", mci::UnrecognizedKeyword);
        row("second open", OPEN "open \"%1\" alias movie", mci::DuplicateAlias);
        row("unknown parent window", OPEN "close movie|open \"%1\" alias movie parent 77 style child ",
            mci::CreateWindow);
        row("speed", OPEN "set movie speed 1500|status movie speed", 0, "1500");
        row("step position", OPEN "step movie by 5|status movie position", 0, "200");
        row("frame rate", OPEN "status movie nominal frame rate wait", 0, "25000");
        // Broken files do not open into the box; a valid start and nothing else opens.
#define BOX "open \"%1\" alias movie parent %box style child |"
        row("junk", BOX "play movie", mci::InvalidDeviceName, "", "junk.mpg");
        row("first packet only", BOX "close movie", 0, "", "cut.mpg");
        for (const auto &clip : todaysClips() + otherClips()) {
            const QByteArray junk = "junk." + QFileInfo(clip.first).suffix().toLatin1();
            row(junk.constData(), BOX "play movie", mci::InvalidDeviceName, "", junk.constData());
        }
    }
    void engineCommands()
    {
        QFETCH(QString, file);
        QFETCH(QString, commands);
        QFETCH(int, code);
        QFETCH(QString, reply);
        const QString path = folder_ + file;
        MpvMciDevice device;
        MciResult result;
        for (QString command : commands.split(u'|'))
            result = device.send(command.replace("%1", path).replace("%box", QString::number(box_->winId())));
        QCOMPARE(result.code, code);
        QCOMPARE(result.reply, reply);
        QVERIFY(!device.errorText(code).isEmpty());
        QCOMPARE(device.send(QStringLiteral("close all")).code, 0);
        QVERIFY(!fileIsOpen(path));
    }

    // One row per way a command goes wrong; the position is 3000 ms or 50 frames, seeks fail.
    void moduleCommands_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<int>("error");
#define CALL(name, body, sent, error)                                                                                  \
    QTest::newRow(name) << Call([](MovieModule &m, [[maybe_unused]] RecordingDevice &d) { body; })                     \
                        << QStringLiteral(sent) << int(error)
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
        CALL("setPositionTo, paused", int s = 12; QVERIFY(m.setPositionTo(s));
             QCOMPARE(s, 12000), "status movie mode|status movie mode|seek movie to 12000", 0);
        CALL("setPositionTo, playing", d.reply("status movie mode", "playing"); int s = 12;
             m.setPositionTo(s), "status movie mode|play movie from 12000", 0);
        CALL("setPositionTo, overflow", int s = 2147484; QVERIFY(!m.setPositionTo(s)); QCOMPARE(s, 2147484), "", 7);
        CALL("setPositionTo, negative overflow", int s = -2147484; QVERIFY(!m.setPositionTo(s)), "", 7);
        CALL("failure", d.reply("play movie", {}, 263); m.playMovie();
             QCOMPARE(m.checkError(), QStringLiteral("text 263")), "play movie", 263);
        // A quote cannot be inside a quoted name: the open is not sent at all.
        CALL("quote in the name", m.Filename = "/a/clip.mpg\" alias \"movie";
             m.openMovie(), "close movie", mci::InvalidFile);
        // The operations no window calls yet, one row each: what each sends, in order; each
        // command's code is kept.
#define IDLE(f, sent) CALL(#f, m.f(), sent, QByteArray(sent).isEmpty() ? 7 : 0)
#define IDLE1(f, v, sent) CALL(#f, int a = v; m.f(a), sent, 0)
        IDLE1(stepFrames, -3, "step movie by -3");
        IDLE(restoreSizeDefault, "put movie window");
        IDLE(openMovie, "close movie|open \"/a b/c d.mpg\" alias movie");
        IDLE(minimizeMovie, "window movie state minimized");
        IDLE(hideMovie, "window movie state hide");
        IDLE(showMovie, "window movie state show");
        IDLE(restoreMovie, "window movie state restore");
        CALL("extractCurrentMovieSize", int w = 0; int h = 0;
             m.extractCurrentMovieSize(w, h), "where movie destination max", 0);
        IDLE(getBitsPerPixel, "status movie bitsperpel");
        IDLE(getMovieInput, "status movie monitor input");
        IDLE(getMovieOutput, "status movie monitor output");
        IDLE(getAudioStatus, "status movie audio");
        IDLE(checkError, "");
        IDLE(getDeviceName, "info movie product");
        IDLE(getDeviceVersion, "info movie version");
        IDLE(getNominalFrameRate, "status movie nominal frame rate wait");
        IDLE(getFramePerSecRate, "status movie frame rate");
        IDLE(getCurrentSize, "where movie destination max");
        IDLE(getDefaultSize, "where movie source");
        IDLE(getLengthInFrames, "set movie time format frames|status movie length");
        IDLE(playFullScreen, "play movie fullscreen");
        IDLE(getLengthInSec, "set movie time format ms|status movie length");
        IDLE(setVideoOff, "set all video off");
        IDLE(setVideoOn, "set all video on");
        IDLE(resumeMovie, "resume movie");
        IDLE(getRate, "status movie speed");
        IDLE(getPositionInFrames, "set movie time format frames wait|status movie position");
        IDLE(getStatus, "status movie mode");
        IDLE(getFormatPosition, "set movie time format ms|status movie position wait");
        IDLE(getFormatLength, "set movie time format ms|status movie length");
        IDLE(getVolume, "status movie volume");
        IDLE(getVideoStatus, "status movie video");
        IDLE(getTimeFormat, "status movie time format");
        IDLE(getLeftVolume, "status movie left volume");
        IDLE(getPositionInSec, "set movie time format ms|status movie position wait");
        IDLE(getRightVolume, "status movie right volume");
        IDLE(setAudioOff, "set movie audio all off");
        IDLE(setAudioOn, "set movie audio all on");
        IDLE(setLeftOff, "set movie audio left off");
        IDLE(setRightOff, "set movie audio right off");
        IDLE(setLeftOn, "set movie audio left on");
        IDLE(setRightOn, "set movie audio right on");
        IDLE(setDoorOpen, "set cdaudio door open");
        IDLE(setDoorClosed, "set cdaudio door closed");
        IDLE(checkDeviceReady, "status movie ready");
        IDLE1(setLeftVolume, 300, "setaudio movie left volume to 300");
        IDLE1(setRightVolume, 700, "setaudio movie right volume to 700");
    }
    void moduleCommands()
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
        movie.Filename = QStringLiteral("/a b/c d.mpg");
        movie.Error = 7;
        call(movie, device);
        QCOMPARE(device.sent, sent.split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(movie.Error, error);
    }

    // Every command answers with the reply; the row's getter shows what it makes of it.
    void moduleAnswers_data()
    {
        QTest::addColumn<Answer>("get");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("answer");
        const auto row = [](const char *name, Answer get, const char *reply, const char *answer) {
            QTest::addRow("%s \"%s\"", name, reply) << get << QString::fromLatin1(reply) << QString::fromLatin1(answer);
        };
#define ANSWER(f, reply, answer)                                                                                       \
    row(                                                                                                               \
        #f, [](MovieModule &m) { return QVariant(m.f()).toString(); }, reply, answer)
        // Milliseconds, rounded to whole seconds half to even; minutes never padded, seconds always.
        ANSWER(getFormatLength, "0", "0:00");
        ANSWER(getFormatLength, "59000", "0:59");
        ANSWER(getFormatLength, "59499", "0:59");
        ANSWER(getFormatLength, "59500", "1:00");
        ANSWER(getFormatLength, "2500", "0:02");
        ANSWER(getFormatLength, "600000", "10:00");
        ANSWER(getFormatLength, "3600000", "1:0:00");
        ANSWER(getFormatPosition, "3725000", "1:2:05");
        // The device counts frames per 1000 seconds.
        ANSWER(getNominalFrameRate, "25000", "25000");
        ANSWER(getFramePerSecRate, "29970", "29");
        ANSWER(getFramePerSecRate, "25000", "25");
        ANSWER(getStatus, "not ready", "Not Ready");
        ANSWER(getStatus, "PAUSED", "Paused");
        ANSWER(getStatus, "playing", "Playing");
        ANSWER(isMoviePlaying, "playing", "true");
        ANSWER(isMoviePlaying, "paused", "false");
        ANSWER(isMoviePlaying, "PLAYING", "false");
        ANSWER(getAudioStatus, "On", "On");
        ANSWER(getVideoStatus, "off", "off");
    }
    void moduleAnswers()
    {
        QFETCH(Answer, get);
        QFETCH(QString, reply);
        RecordingDevice device;
        device.answerAll = reply;
        MovieModule movie(device);
        QTEST(get(movie), "answer");
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
        const qint64 handle = movieWindows::handleOf(b.box);
        QCOMPARE(b.device.sent.mid(0, 2),
                 (QStringList{"close movie", QStringLiteral("open \"/album/Bilder/Mein Film.mpg\" alias movie parent "
                                                            "%1 style child ")
                                                 .arg(handle)}));
        QCOMPARE(movieWindows::find(handle), b.box);
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
                QTest::addRow("%s %s", element, name)
                    << QString::fromLatin1(element) << (QByteArray(element).endsWith("Btn") ? QPoint(4, 10) : to) << to
                    << left << QStringList{seek};
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
        const QString picture = b.album.path() + QStringLiteral("/Skins/Main/2Vol%1.jpg").arg(place);
        QVERIFY(!volume || b.child("picVol")->pixmap().toImage() == QImage(picture));
    }

    // The track picture of a skin whose Main was copied without it, in its place a link: one
    // that stays in the skin is followed, one that leads out of it is a missing picture.
    void skinPicturesStayInTheSkin_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("shown");
        QTest::newRow("inside") << "1Zeiger.jpg" << true;
        QTest::newRow("up and out") << "../../Bilder/aussen.jpg" << false;
        QTest::newRow("absolute, out") << "AUSSEN" << false;
    }
    void skinPicturesStayInTheSkin()
    {
        QFETCH(QString, target);
        QFETCH(bool, shown);
        Bar b;
        test::AlbumFolder skinned(QStringLiteral("1Leiste.jpg"));
        skinned.picture(QStringLiteral("aussen.jpg"), {40, 8});
        const QString skin = skinned.path() + QStringLiteral("/Skins/Main/");
        QVERIFY(QFile::link(target.replace(QStringLiteral("AUSSEN"), skinned.media(QStringLiteral("aussen.jpg"))),
                            skin + QStringLiteral("1Leiste.jpg")));
        b.bar->setSkinFolder(skin);
        QCOMPARE(b.track()->pixmap().isNull(), !shown);
        QVERIFY(!b.thumb()->pixmap().isNull());
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
