#include "RecordingDevice.h"

#include "media/MovieModule.h"

#include <QTimer>
#include <QtTest>

#include <functional>
#include <limits>

using zv::MovieModule;

namespace {

struct CommandCase {
    const char *name;
    std::function<void(MovieModule &)> call;
    QStringList expected;
};

const QString Len = QStringLiteral("status movie length");
const QString Ms = QStringLiteral("set movie time format ms");
const QString PosWait = QStringLiteral("status movie position wait");

const std::vector<CommandCase> &commandCases()
{
    static const std::vector<CommandCase> cases = {
        {"stepFrames", [](MovieModule &m) { int v = -3; m.stepFrames(v); }, {"step movie by -3"}},
        {"restoreSizeDefault", [](MovieModule &m) { m.restoreSizeDefault(); }, {"put movie window"}},
        {"openMovie", [](MovieModule &m) { m.openMovie(); },
         {"close movie", "open \"/a b/c d.mpg\" alias movie"}},
        {"minimizeMovie", [](MovieModule &m) { m.minimizeMovie(); }, {"window movie state minimized"}},
        {"playMovie", [](MovieModule &m) { m.playMovie(); }, {"play movie"}},
        {"hideMovie", [](MovieModule &m) { m.hideMovie(); }, {"window movie state hide"}},
        {"showMovie", [](MovieModule &m) { m.showMovie(); }, {"window movie state show"}},
        {"restoreMovie", [](MovieModule &m) { m.restoreMovie(); }, {"window movie state restore"}},
        {"stopMovie", [](MovieModule &m) { m.stopMovie(); }, {"stop movie"}},
        {"extractCurrentMovieSize", [](MovieModule &m) { int w, h; m.extractCurrentMovieSize(w, h); },
         {"where movie destination max"}},
        {"extractDefaultMovieSize", [](MovieModule &m) { int w, h; m.extractDefaultMovieSize(w, h); },
         {"where movie source"}},
        {"getBitsPerPixel", [](MovieModule &m) { m.getBitsPerPixel(); }, {"status movie bitsperpel"}},
        {"getMovieInput", [](MovieModule &m) { m.getMovieInput(); }, {"status movie monitor input"}},
        {"getMovieOutput", [](MovieModule &m) { m.getMovieOutput(); }, {"status movie monitor output"}},
        {"getAudioStatus", [](MovieModule &m) { m.getAudioStatus(); }, {"status movie audio"}},
        {"sizeLocateMovie", [](MovieModule &m) { int l = 0, t = 23, w = 183, h = 137; m.sizeLocateMovie(l, t, w, h); },
         {"put movie window at 0 23 183 137"}},
        {"isMoviePlaying", [](MovieModule &m) { m.isMoviePlaying(); }, {"status movie mode"}},
        {"checkError", [](MovieModule &m) { m.checkError(); }, {}},
        {"getDeviceName", [](MovieModule &m) { m.getDeviceName(); }, {"info movie product"}},
        {"getDeviceVersion", [](MovieModule &m) { m.getDeviceVersion(); }, {"info movie version"}},
        {"getNominalFrameRate", [](MovieModule &m) { m.getNominalFrameRate(); },
         {"status movie nominal frame rate wait"}},
        {"getFramePerSecRate", [](MovieModule &m) { m.getFramePerSecRate(); }, {"status movie frame rate"}},
        {"getCurrentSize", [](MovieModule &m) { m.getCurrentSize(); }, {"where movie destination max"}},
        {"getDefaultSize", [](MovieModule &m) { m.getDefaultSize(); }, {"where movie source"}},
        {"getLengthInFrames", [](MovieModule &m) { m.getLengthInFrames(); },
         {"set movie time format frames", Len}},
        {"getLengthInMS", [](MovieModule &m) { m.getLengthInMS(); }, {Ms, Len}},
        {"playFullScreen", [](MovieModule &m) { m.playFullScreen(); }, {"play movie fullscreen"}},
        {"getLengthInSec", [](MovieModule &m) { m.getLengthInSec(); }, {Ms, Len}},
        {"setVideoOff", [](MovieModule &m) { m.setVideoOff(); }, {"set all video off"}},
        {"setVideoOn", [](MovieModule &m) { m.setVideoOn(); }, {"set all video on"}},
        {"pauseMovie", [](MovieModule &m) { m.pauseMovie(); }, {"pause movie"}},
        {"resumeMovie", [](MovieModule &m) { m.resumeMovie(); }, {"resume movie"}},
        {"getPositionInMS", [](MovieModule &m) { m.getPositionInMS(); }, {Ms, PosWait}},
        {"getRate", [](MovieModule &m) { m.getRate(); }, {"status movie speed"}},
        {"getPositionInFrames", [](MovieModule &m) { m.getPositionInFrames(); },
         {"set movie time format frames wait", "status movie position"}},
        {"getStatus", [](MovieModule &m) { m.getStatus(); }, {"status movie mode"}},
        {"closeMovie", [](MovieModule &m) { m.closeMovie(); }, {"close all"}},
        {"getFormatPosition", [](MovieModule &m) { m.getFormatPosition(); }, {Ms, PosWait}},
        {"getFormatLength", [](MovieModule &m) { m.getFormatLength(); }, {Ms, Len}},
        {"getVolume", [](MovieModule &m) { m.getVolume(); }, {"status movie volume"}},
        {"getVideoStatus", [](MovieModule &m) { m.getVideoStatus(); }, {"status movie video"}},
        {"getTimeFormat", [](MovieModule &m) { m.getTimeFormat(); }, {"status movie time format"}},
        {"getLeftVolume", [](MovieModule &m) { m.getLeftVolume(); }, {"status movie left volume"}},
        {"getPositionInSec", [](MovieModule &m) { m.getPositionInSec(); }, {Ms, PosWait}},
        {"getRightVolume", [](MovieModule &m) { m.getRightVolume(); }, {"status movie right volume"}},
        {"setAudioOff", [](MovieModule &m) { m.setAudioOff(); }, {"set movie audio all off"}},
        {"setAudioOn", [](MovieModule &m) { m.setAudioOn(); }, {"set movie audio all on"}},
        {"setLeftOff", [](MovieModule &m) { m.setLeftOff(); }, {"set movie audio left off"}},
        {"setRightOff", [](MovieModule &m) { m.setRightOff(); }, {"set movie audio right off"}},
        {"setLeftOn", [](MovieModule &m) { m.setLeftOn(); }, {"set movie audio left on"}},
        {"setRightOn", [](MovieModule &m) { m.setRightOn(); }, {"set movie audio right on"}},
        {"setDoorOpen", [](MovieModule &m) { m.setDoorOpen(); }, {"set cdaudio door open"}},
        {"setDoorClosed", [](MovieModule &m) { m.setDoorClosed(); }, {"set cdaudio door closed"}},
        {"setVolume", [](MovieModule &m) { int v = 850; m.setVolume(v); }, {"setaudio movie volume to 850"}},
        {"restartMovie", [](MovieModule &m) { m.restartMovie(); }, {"seek movie to start", "play movie"}},
        {"rewindByMS", [](MovieModule &m) { int v = 500; m.rewindByMS(v); },
         {Ms, Ms, PosWait, "play movie from 2500"}},
        {"rewindByFrames", [](MovieModule &m) { int v = 5; m.rewindByFrames(v); },
         {"set movie time format frames", "set movie time format frames wait", "status movie position",
          "play movie from 45"}},
        {"rewindBySeconds", [](MovieModule &m) { int v = 5; m.rewindBySeconds(v); },
         {Ms, Ms, PosWait, "play movie from -2000"}},
        {"forwardByFrames", [](MovieModule &m) { int v = 10; m.forwardByFrames(v); },
         {"set movie time format frames", "set movie time format frames wait", "status movie position",
          "play movie from 60"}},
        {"forwardByMS", [](MovieModule &m) { int v = 250; m.forwardByMS(v); },
         {Ms, Ms, PosWait, "play movie from 3250"}},
        {"forwardBySeconds", [](MovieModule &m) { int v = 2; m.forwardBySeconds(v); },
         {Ms, Ms, PosWait, "play movie from 5000"}},
        {"checkDeviceReady", [](MovieModule &m) { m.checkDeviceReady(); }, {"status movie ready"}},
        {"setSpeed", [](MovieModule &m) { int v = 1000; m.setSpeed(v); }, {"set movie speed 1000"}},
        {"setLeftVolume", [](MovieModule &m) { int v = 0; m.setLeftVolume(v); },
         {"setaudio movie left volume to 0"}},
        {"setRightVolume", [](MovieModule &m) { int v = 1000; m.setRightVolume(v); },
         {"setaudio movie right volume to 1000"}},
    };
    return cases;
}

} // namespace

class TestMovieModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandStrings_data()
    {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < commandCases().size(); ++i)
            QTest::newRow(commandCases()[i].name) << int(i);
    }
    void commandStrings()
    {
        QFETCH(int, index);
        RecordingDevice device;
        device.reply(PosWait, QStringLiteral("3000"));
        device.reply(QStringLiteral("status movie position"), QStringLiteral("50"));
        MovieModule movie(device);
        movie.Filename = QStringLiteral("/a b/c d.mpg");
        commandCases()[size_t(index)].call(movie);
        QCOMPARE(device.sent, commandCases()[size_t(index)].expected);
    }

    void openMovieWindowRepeats()
    {
        RecordingDevice device;
        MovieModule movie(device);
        movie.Filename = QStringLiteral("/home/u/Mein Album/Bilder/Urlaub 2003.mpg");
        int hWnd = 1234;
        QString style = QStringLiteral("child");
        movie.openMovieWindow(hWnd, style);
        movie.openMovieWindow(hWnd, style);
        const QString open = QStringLiteral(
            "open \"/home/u/Mein Album/Bilder/Urlaub 2003.mpg\" alias movie parent 1234 style child ");
        QCOMPARE(device.sent, (QStringList{"close movie", open, "close movie", open}));
        QCOMPARE(movie.Filename, QStringLiteral("/home/u/Mein Album/Bilder/Urlaub 2003.mpg"));
    }

    void replyNumbers_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("number");
        QTest::newRow("plain") << "850" << 850;
        QTest::newRow("leading blanks") << "   42" << 42;
        QTest::newRow("stops at letters") << "12abc" << 12;
        QTest::newRow("stops at second number") << "7 8" << 7;
        QTest::newRow("no number") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("half down to even") << "2.5" << 2;
        QTest::newRow("half up to even") << "3.5" << 4;
        QTest::newRow("negative half") << "-1.5" << -2;
        QTest::newRow("exponent") << "1e3" << 1000;
        QTest::newRow("dangling exponent") << "5e" << 5;
        QTest::newRow("beyond 32 bits clamps") << "99999999999" << std::numeric_limits<int>::max();
    }
    void replyNumbers()
    {
        QFETCH(QString, reply);
        QFETCH(int, number);
        RecordingDevice device;
        device.reply(QStringLiteral("status movie volume"), reply);
        MovieModule movie(device);
        QCOMPARE(movie.getVolume(), number);
    }

    void derivedNumbers()
    {
        RecordingDevice device;
        device.reply(QStringLiteral("status movie frame rate"), QStringLiteral("29970"));
        device.reply(QStringLiteral("status movie bitsperpel"), QStringLiteral(" 24.5"));
        device.reply(Len, QStringLiteral("65999"));
        device.reply(PosWait, QStringLiteral("1999"));
        MovieModule movie(device);
        QCOMPARE(movie.getFramePerSecRate(), 29);
        QCOMPARE(movie.getBitsPerPixel(), 24.5);
        QCOMPARE(movie.getLengthInSec(), 65);
        QCOMPARE(movie.getPositionInSec(), 1);
    }

    void formatTime_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "0" << "0:00";
        QTest::newRow("5 s") << "5000" << "0:05";
        QTest::newRow("65 s") << "65000" << "1:05";
        QTest::newRow("10 min") << "600000" << "10:00";
        QTest::newRow("hours, minutes unpadded") << "3725000" << "1:2:05";
        QTest::newRow("1 h") << "3600000" << "1:0:00";
        QTest::newRow("just below half") << "59499" << "0:59";
        QTest::newRow("half to even 60") << "59500" << "1:00";
        QTest::newRow("half to even 0") << "500" << "0:00";
        QTest::newRow("half to even 2") << "1500" << "0:02";
    }
    void formatTime()
    {
        QFETCH(QString, reply);
        QFETCH(QString, text);
        RecordingDevice device;
        device.reply(Len, reply);
        device.reply(PosWait, reply);
        MovieModule movie(device);
        QCOMPARE(movie.getFormatLength(), text);
        QCOMPARE(movie.getFormatPosition(), text);
    }

    void sizeExtraction_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("four numbers") << "0 0 320 240" << 320 << 240;
        QTest::newRow("offset rectangle") << "10 20 1920 1080" << 1920 << 1080;
        QTest::newRow("three numbers keep both") << "0 0 320" << -1 << -1;
        QTest::newRow("empty keeps both") << "" << -1 << -1;
        QTest::newRow("words give zero") << "a b c d" << 0 << 0;
    }
    void sizeExtraction()
    {
        QFETCH(QString, reply);
        QFETCH(int, width);
        QFETCH(int, height);
        RecordingDevice device;
        device.reply(QStringLiteral("where movie source"), reply);
        device.reply(QStringLiteral("where movie destination max"), reply);
        MovieModule movie(device);
        int w = -1, h = -1;
        movie.extractDefaultMovieSize(w, h);
        QCOMPARE(w, width);
        QCOMPARE(h, height);
        w = h = -1;
        movie.extractCurrentMovieSize(w, h);
        QCOMPARE(w, width);
        QCOMPARE(h, height);
    }

    void modeReplies_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<QString>("status");
        QTest::newRow("playing") << "playing" << true << "Playing";
        QTest::newRow("paused") << "paused" << false << "Paused";
        QTest::newRow("stopped") << "stopped" << false << "Stopped";
        QTest::newRow("not ready") << "not ready" << false << "Not Ready";
        QTest::newRow("upper case") << "PLAYING" << false << "Playing";
    }
    void modeReplies()
    {
        QFETCH(QString, reply);
        QFETCH(bool, playing);
        QFETCH(QString, status);
        RecordingDevice device;
        device.reply(QStringLiteral("status movie mode"), reply);
        MovieModule movie(device);
        QCOMPARE(movie.isMoviePlaying(), playing);
        QCOMPARE(movie.getStatus(), status);
    }

    void setPositionTo_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("after");
        QTest::addColumn<QStringList>("sent");
        const QString mode = QStringLiteral("status movie mode");
        QTest::newRow("playing plays on") << "playing" << 12 << true << 12000
                                          << QStringList{mode, "play movie from 12000"};
        QTest::newRow("paused only seeks") << "paused" << 12 << true << 12000
                                           << QStringList{mode, mode, "seek movie to 12000"};
        QTest::newRow("start") << "stopped" << 0 << true << 0
                               << QStringList{mode, mode, "seek movie to 0"};
        QTest::newRow("overflow") << "playing" << 2147484 << false << 2147484 << QStringList{};
        QTest::newRow("negative overflow") << "playing" << -2147484 << false << -2147484
                                           << QStringList{};
    }
    void setPositionTo()
    {
        QFETCH(QString, mode);
        QFETCH(int, second);
        QFETCH(bool, done);
        QFETCH(int, after);
        QFETCH(QStringList, sent);
        RecordingDevice device;
        device.reply(QStringLiteral("status movie mode"), mode, 0);
        device.reply(QStringLiteral("seek movie to %1").arg(after), QString(), 263);
        device.reply(QStringLiteral("play movie from %1").arg(after), QString(), 263);
        MovieModule movie(device);
        movie.Error = 7;
        QCOMPARE(movie.setPositionTo(second), done);
        QCOMPARE(second, after);
        QCOMPARE(device.sent, sent);
        QCOMPARE(movie.Error, done ? 0 : 7); // the seek's failure code is not kept
    }

    void jumpOverflow_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("amount");
        QTest::newRow("forward seconds") << 0 << std::numeric_limits<int>::max() / 1000 + 1;
        QTest::newRow("forward ms past max") << 1 << std::numeric_limits<int>::max();
        QTest::newRow("rewind ms past min") << 2 << std::numeric_limits<int>::max();
    }
    void jumpOverflow()
    {
        QFETCH(int, kind);
        QFETCH(int, amount);
        RecordingDevice device;
        device.reply(PosWait, kind == 2 ? QStringLiteral("-2") : QStringLiteral("3000"));
        MovieModule movie(device);
        const bool done = kind == 0   ? movie.forwardBySeconds(amount)
                          : kind == 1 ? movie.forwardByMS(amount)
                                      : movie.rewindByMS(amount);
        QVERIFY(!done);
        QVERIFY(!device.sent.join(u'|').contains(QStringLiteral("play movie from")));
    }

    void rightVolume_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("hasValue");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << "850" << true << 850;
        QTest::newRow("blanks around") << " 12 " << true << 12;
        QTest::newRow("fraction rounds to even") << "2.5" << true << 2;
        QTest::newRow("trailing letters") << "12abc" << false << 0;
        QTest::newRow("word") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("too large") << "3000000000" << false << 0;
    }
    void rightVolume()
    {
        QFETCH(QString, reply);
        QFETCH(bool, hasValue);
        QFETCH(int, value);
        RecordingDevice device;
        device.reply(QStringLiteral("status movie right volume"), reply);
        MovieModule movie(device);
        const auto volume = movie.getRightVolume();
        QCOMPARE(volume.has_value(), hasValue);
        if (hasValue)
            QCOMPARE(*volume, value);
    }

    void errorsAndReplies()
    {
        RecordingDevice device;
        device.reply(QStringLiteral("play movie"), QString(), 263);
        device.reply(QStringLiteral("status movie monitor input"), QString(200, u'x'));
        MovieModule movie(device);
        movie.playMovie();
        QCOMPARE(movie.Error, 263);
        QCOMPARE(movie.checkError(), QStringLiteral("text 263"));
        QCOMPARE(movie.getMovieInput().size(), 128);
        QCOMPARE(movie.Error, 0);
    }

    void timeOutRunsEvents()
    {
        RecordingDevice device;
        MovieModule movie(device);
        bool early = false, late = false;
        QTimer::singleShot(100, this, [&] { early = true; });
        QTimer::singleShot(2000, this, [&] { late = true; });
        movie.timeOut(0.3);
        QVERIFY(early);
        QVERIFY(!late);
    }
};

QTEST_MAIN(TestMovieModule)
#include "tst_MovieModule.moc"
