#include "RecordingDevice.h"

#include "media/MciErrors.h"
#include "media/MovieModule.h"

#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

#include <functional>

using zv::MovieModule;

namespace {

struct CommandCase {
    const char *name;
    void (*call)(MovieModule &);
    const char *sent; // the expected commands, separated by '|'
};

#define OP(f, sent) {#f, [](MovieModule &m) { m.f(); }, sent}
#define OP1(f, v, sent) {#f, [](MovieModule &m) { int a = v; m.f(a); }, sent}
#define MS "set movie time format ms|"
#define FRAMES "set movie time format frames|"
#define LEN "status movie length"
#define POS "status movie position wait"
#define FPOS "set movie time format frames wait|status movie position"

// Only commands with something to get wrong beyond a fixed word: quoting, numbers, the time
// format before a query, and the jumps' arithmetic. Before each row the position in ms answers
// 3000 and the position in frames 50.
const CommandCase Commands[] = {
    OP(closeMovie, "close all"), OP(checkError, ""), OP(restartMovie, "seek movie to start|play movie"),
    OP(openMovie, "close movie|open \"/a b/c d.mpg\" alias movie"),
    OP(getNominalFrameRate, "status movie nominal frame rate wait"),
    OP(getLengthInFrames, FRAMES LEN), OP(getLengthInMS, MS LEN), OP(getLengthInSec, MS LEN),
    OP(getPositionInMS, MS POS), OP(getPositionInSec, MS POS), OP(getPositionInFrames, FPOS),
    OP1(stepFrames, -3, "step movie by -3"), OP1(setVolume, 850, "setaudio movie volume to 850"),
    OP1(rewindByMS, 500, MS MS POS "|play movie from 2500"),
    OP1(rewindBySeconds, 5, MS MS POS "|play movie from -2000"),
    OP1(forwardBySeconds, 2, MS MS POS "|play movie from 5000"),
    OP1(rewindByFrames, 5, FRAMES FPOS "|play movie from 45"),
    OP1(forwardByFrames, 10, FRAMES FPOS "|play movie from 60"),
    // A jump whose amount or target leaves 32 bits plays nothing.
    OP1(forwardBySeconds, 2147484, MS MS POS), OP1(rewindBySeconds, 2147484, MS MS POS),
    OP1(forwardByMS, 2147483647, MS MS POS),
    {"openMovieWindow", [](MovieModule &m) { int hWnd = 1234; QString style = "child"; m.openMovieWindow(hWnd, style); },
     "close movie|open \"/a b/c d.mpg\" alias movie parent 1234 style child "},
    {"sizeLocateMovie", [](MovieModule &m) { int l = 0, t = 23, w = 183, h = 137; m.sizeLocateMovie(l, t, w, h); },
     "put movie window at 0 23 183 137"},
    // A quote cannot be inside a quoted name: the open is not sent at all.
    {"openMovie, quote in the name", [](MovieModule &m) { m.Filename = "/a/clip.mpg\" alias \"movie"; m.openMovie(); },
     "close movie"},
    {"openMovieWindow, quote in the name",
     [](MovieModule &m) { m.Filename = "/a/\"b\".mpg"; int hWnd = 1; QString style = "child"; m.openMovieWindow(hWnd, style); },
     "close movie"},
};

class PressRecorder final : public QWidget {
public:
    explicit PressRecorder(const MovieModule &movie) : movie_(movie) {}
    int presses = 0;
    int pressesWhileBusy = 0;

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        ++presses;
        pressesWhileBusy += movie_.isBusy() ? 1 : 0;
    }

private:
    const MovieModule &movie_;
};

using Getter = std::function<QString(MovieModule &)>;

template <typename T> QString show(const T &value) { return QVariant::fromValue(value).toString(); }
QString show(QSize size) { return QStringLiteral("%1x%2").arg(size.width()).arg(size.height()); }
QString show(std::optional<std::int32_t> value) { return value ? QString::number(*value) : QStringLiteral("-"); }

} // namespace

Q_DECLARE_METATYPE(Getter)

class TestMovieModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandStrings_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(Commands)); ++i)
            QTest::newRow(Commands[i].name) << i;
    }
    void commandStrings()
    {
        QFETCH(int, index);
        RecordingDevice device;
        device.reply(POS, QStringLiteral("3000"));
        device.reply(QStringLiteral("status movie position"), QStringLiteral("50"));
        MovieModule movie(device);
        movie.Filename = QStringLiteral("/a b/c d.mpg");
        Commands[index].call(movie);
        QCOMPARE(device.sent, QString::fromUtf8(Commands[index].sent).split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(movie.Error, movie.Filename.contains(u'"') ? int(zv::mci::InvalidFile) : 0);
    }

    // Every command answers with the reply; the row's getter shows what it makes of it.
    void replies_data()
    {
        QTest::addColumn<Getter>("get");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, Getter get, const char *reply, const char *expected) {
            QTest::addRow("%s \"%s\"", name, reply) << get << QString::fromUtf8(reply) << QString::fromUtf8(expected);
        };
#define ROW(f, reply, expected) row(#f, [](MovieModule &m) { return show(m.f()); }, reply, expected)
#define SIZE(f, reply, expected) \
    row(#f, [](MovieModule &m) { int w = -1, h = -1; m.f(w, h); return show(QSize(w, h)); }, reply, expected)
        // Leading blanks, the first number only, half to even; the right volume takes only a whole number.
        const char *const numbers[][3] = {
            {"850", "850", "850"}, {"   42 ", "42", "42"}, {"12abc", "12", "-"}, {"7 8", "7", "-"},
            {"abc", "0", "-"}, {"", "0", "-"}, {"2.5", "2", "2"}, {"3.5", "4", "4"}, {"-1.5", "-2", "-2"},
            {"1e3", "1000", "1000"}, {"5e", "5", "-"}, {"99999999999", "2147483647", "-"}};
        for (const auto &n : numbers) {
            ROW(getVolume, n[0], n[1]);
            ROW(getRightVolume, n[0], n[2]);
        }
        const char *const times[][2] = {{"0", "0:00"}, {"65000", "1:05"}, {"600000", "10:00"},
                                        {"3600000", "1:0:00"}, {"3725000", "1:2:05"}, {"59499", "0:59"},
                                        {"59500", "1:00"}, {"500", "0:00"}};
        for (const auto &t : times)
            ROW(getFormatLength, t[0], t[1]);
        ROW(getFormatPosition, "3725000", "1:2:05");
        const char *const modes[][3] = {{"playing", "true", "Playing"}, {"paused", "false", "Paused"},
                                        {"stopped", "false", "Stopped"}, {"not ready", "false", "Not Ready"},
                                        {"PLAYING", "false", "Playing"}};
        for (const auto &m : modes) {
            ROW(isMoviePlaying, m[0], m[1]);
            ROW(getStatus, m[0], m[2]);
        }
        // The size is the third and fourth number; fewer numbers leave both untouched.
        const char *const sizes[][2] = {{"0 0 320 240", "320x240"}, {"10 20 1920 1080", "1920x1080"},
                                        {"0 0 320", "-1x-1"}, {"", "-1x-1"}, {"a b c d", "0x0"}};
        for (const auto &s : sizes)
            SIZE(extractDefaultMovieSize, s[0], s[1]);
        SIZE(extractCurrentMovieSize, "10 20 1920 1080", "1920x1080");
        ROW(getFramePerSecRate, "29970", "29");
        ROW(getBitsPerPixel, " 24.5", "24.5");
        ROW(getLengthInSec, "65999", "65");
        ROW(getPositionInSec, "1999", "1");
    }
    void replies()
    {
        QFETCH(Getter, get);
        QFETCH(QString, reply);
        QFETCH(QString, expected);
        RecordingDevice device;
        device.answerAll = reply;
        MovieModule movie(device);
        QCOMPARE(get(movie), expected);
    }

    // The seconds become ms; playing plays from there, otherwise it seeks. Failing seeks leave Error alone.
    void setPositionTo_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("sent");
        QTest::newRow("playing plays on") << "playing" << 12 << "status movie mode|play movie from 12000";
        QTest::newRow("paused seeks") << "paused" << 12 << "status movie mode|status movie mode|seek movie to 12000";
        QTest::newRow("start") << "stopped" << 0 << "status movie mode|status movie mode|seek movie to 0";
        QTest::newRow("overflow") << "playing" << 2147484 << "";
        QTest::newRow("negative overflow") << "playing" << -2147484 << "";
    }
    void setPositionTo()
    {
        QFETCH(QString, mode);
        QFETCH(int, second);
        QFETCH(QString, sent);
        const bool done = !sent.isEmpty();
        const int after = done ? second * 1000 : second;
        RecordingDevice device;
        device.reply(QStringLiteral("status movie mode"), mode);
        device.reply(QStringLiteral("seek movie to %1").arg(after), QString(), 263);
        device.reply(QStringLiteral("play movie from %1").arg(after), QString(), 263);
        MovieModule movie(device);
        movie.Error = 7;
        QCOMPARE(movie.setPositionTo(second), done);
        QCOMPARE(second, after);
        QCOMPARE(device.sent, sent.split(u'|', Qt::SkipEmptyParts));
        QCOMPARE(movie.Error, done ? 0 : 7);
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

    // While timeOut waits, timers run, but input from the window system is held until the wait
    // is over: a click must not start a second operation inside the waiting one.
    void timeOutHoldsInputBack()
    {
        RecordingDevice device;
        MovieModule movie(device);
        PressRecorder target(movie);
        target.resize(50, 50);
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        bool busyInTimer = false;
        QTimer::singleShot(0, [&] {
            busyInTimer = movie.isBusy();
            const QPointF at(10, 10);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                    target.windowHandle(), at, target.mapToGlobal(at), type == QEvent::MouseButtonPress
                    ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
        });
        movie.timeOut(0.2);
        QVERIFY(busyInTimer);
        QVERIFY(!movie.isBusy());
        QTRY_COMPARE(target.presses, 1);
        QCOMPARE(target.pressesWhileBusy, 0);
        QVERIFY(device.sent.isEmpty());
    }
};

QTEST_MAIN(TestMovieModule)
#include "tst_MovieModule.moc"
