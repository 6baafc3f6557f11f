#include "Clips.h"

#include "media/MciErrors.h"
#include "media/MpvMciDevice.h"
#include "media/MpvVideoWidget.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using zv::MciResult;
using zv::MpvMciDevice;
namespace mci = zv::mci;

namespace {

// True while some descriptor of this process points at the file, also after it was deleted.
bool fileIsOpen(const QString &path)
{
    const QFileInfo info(path);
    const QString target = QFileInfo(info.absolutePath()).canonicalFilePath() + u'/' + info.fileName();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString link = QFile::symLinkTarget(fds.filePath(fd));
        if (link == target || link == target + QStringLiteral(" (deleted)"))
            return true;
    }
    return false;
}
} // namespace

class TestMpvMciDevice : public QObject {
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
    QString openCommand(const QString &path)
    {
        return QStringLiteral("open \"%1\" alias movie parent %2 style child ").arg(path).arg(qint64(box_->winId()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        folder_ = dir_.path() + QStringLiteral("/mit Leer zeichen/");
        QVERIFY(QDir().mkpath(folder_));
        QVERIFY(makeClip(folder_ + "clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}));
        QVERIFY(makeClip(folder_ + "clip.mpeg", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpeg"}));
        QVERIFY(makeClip(folder_ + "clip.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
        QVERIFY(makeClip(folder_ + "clip.mov", {"-c:v", "mpeg4", "-c:a", "aac"}));
        QVERIFY(makeClip(folder_ + "sound.wav", {}, false));
        QVERIFY(rotatedCopy(folder_ + "clip.mov", folder_ + "phone.mov", 90));
        QVERIFY(QFile::copy(folder_ + "clip.avi", folder_ + "gleich weg.avi"));
        // As in the album: the preview box is a child inside the main window.
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 260);
        box_ = new QWidget(window_.get());
        box_->setGeometry(20, 20, 183, 183);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    // Each container is opened, measured, played a little and closed. The size is the one shown:
    // a phone video filmed on its side is upright.
    void containers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("source"); // empty for a sound
        for (const char *name : {"clip.mpg", "clip.mpeg", "clip.avi", "clip.mov"})
            QTest::newRow(name) << QString::fromLatin1(name) << "0 0 320 240";
        QTest::newRow("phone.mov") << "phone.mov" << "0 0 240 320";
        QTest::newRow("deleted while open") << "gleich weg.avi" << "0 0 320 240";
        QTest::newRow("sound.wav") << "sound.wav" << "";
    }
    void containers()
    {
        QFETCH(QString, file);
        QFETCH(QString, source);
        const QString path = folder_ + file;
        const bool video = !source.isEmpty();
        MpvMciDevice device;
        QCOMPARE(device.send(openCommand(path)).code, 0);
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
        QCOMPARE(device.send(QStringLiteral("play movie")).code, 0);
        QTRY_VERIFY_WITH_TIMEOUT(number(device, "status movie position") > 200, 5000);
        QCOMPARE(device.send(QStringLiteral("seek movie to 100")).code, 0);
        QCOMPARE(device.send(QStringLiteral("close movie")).code, 0);
        QVERIFY(!fileIsOpen(path));
        QCOMPARE(device.send(QStringLiteral("status movie mode")).code, int(mci::InvalidDeviceName));
    }

    void playback()
    {
        const QString path = folder_ + QStringLiteral("clip.mpg");
        MpvMciDevice device;
        QCOMPARE(device.send(openCommand(path)).code, 0);
        QCOMPARE(device.send("put movie window at 0 23 183 137").code, 0);
        QCOMPARE(device.send("where movie window").reply, QStringLiteral("0 23 183 137"));
        QCOMPARE(device.send("play movie").code, 0);
        QCOMPARE(mode(device), QStringLiteral("playing"));
        QTRY_VERIFY(device.videoWidget()->framesShown() > 1);
        // What the display shows, not just what was drawn off screen.
        const QPoint at = box_->mapToGlobal(QPoint(0, 23));
        QTRY_VERIFY(distinctColours(
                        QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 183, 137).toImage()) > 8);

        QCOMPARE(device.send("pause movie").code, 0);
        QCOMPARE(mode(device), QStringLiteral("paused"));
        const int paused = number(device, "status movie position");
        QTest::qWait(200);
        QCOMPARE(number(device, "status movie position"), paused);
        QCOMPARE(device.send("seek movie to 500").code, 0);
        QCOMPARE(mode(device), QStringLiteral("paused"));
        QVERIFY(qAbs(number(device, "status movie position") - 500) <= 40);
        QCOMPARE(device.send("resume movie").code, 0);
        QCOMPARE(mode(device), QStringLiteral("playing"));
        QCOMPARE(device.send("play movie from 1000").code, 0);
        QVERIFY(number(device, "status movie position") >= 960);
        QCOMPARE(mode(device), QStringLiteral("playing"));
        QCOMPARE(device.send("stop movie").code, 0);
        QCOMPARE(mode(device), QStringLiteral("stopped"));
        QCOMPARE(device.send("seek movie to start").code, 0);
        QVERIFY(number(device, "status movie position") <= 40);
        // Full screen: Escape gives the picture back to the box and playback goes on.
        QCOMPARE(device.send("play movie fullscreen").code, 0);
        QVERIFY(device.videoWidget()->isWindow());
        QCOMPARE(device.videoWidget()->size(), QGuiApplication::primaryScreen()->size());
        QTest::keyClick(device.videoWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!device.videoWidget()->isWindow());
        QCOMPARE(device.videoWidget()->parentWidget(), box_);
        QCOMPARE(device.send("where movie window").reply, QStringLiteral("0 23 183 137"));
        QCOMPARE(mode(device), QStringLiteral("playing"));
        // At the end of the movie it gives the picture back by itself.
        QCOMPARE(device.send("play movie from 1700 fullscreen").code, 0);
        QVERIFY(device.videoWidget()->isWindow());
        QTRY_VERIFY_WITH_TIMEOUT(!device.videoWidget()->isWindow(), 5000);
        QCOMPARE(mode(device), QStringLiteral("stopped"));
        QCOMPARE(device.send("close all").code, 0);
        QVERIFY(!fileIsOpen(path));
    }

    // Commands separated by '|' after opening the file (%1) given, if any: the last one's code and reply.
    void commands_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reply");
        const auto row = [](const char *name, const char *file, const char *commands, int code, const char *reply = "") {
            QTest::newRow(name) << QString::fromLatin1(file) << QString::fromUtf8(commands) << code << QString::fromLatin1(reply);
        };
        row("unknown command", "", "jump movie", mci::UnrecognizedCommand);
        row("cd door", "", "set cdaudio door open", mci::DeviceNotInstalled);
        row("unknown device", "", "play kino", mci::InvalidDeviceName);
        row("not open", "", "play movie", mci::InvalidDeviceName);
        row("missing file", "", "open \"/nicht/da.mpg\" alias movie", mci::FileNotFound);
        row("unclosed quote", "", "open \"/a.mpg alias movie", mci::NoClosingQuote);
        row("empty", "", "", mci::MissingCommandString);
        row("close all, none open", "", "close all wait", 0);
        row("seek before start", "sound.wav", "seek movie to -2000", mci::OutOfRange);
        row("play past end", "sound.wav", "play movie from 999999", mci::OutOfRange);
        row("bad number", "sound.wav", "setaudio movie volume to laut", mci::BadInteger);
        row("volume too high", "sound.wav", "setaudio movie volume to 1001", mci::OutOfRange);
        row("unknown status", "sound.wav", "status movie colour", mci::UnrecognizedKeyword);
        row("second open", "sound.wav", "open \"%1\" alias movie", mci::DuplicateAlias);
        row("unknown parent window", "sound.wav", "close movie|open \"%1\" alias movie parent 77 style child ",
            mci::CreateWindow);
        row("speed", "clip.avi", "set movie speed 1500|status movie speed", 0, "1500");
        row("volume", "clip.avi", "setaudio movie volume to 850|status movie volume", 0, "850");
        row("audio off", "clip.avi", "set movie audio all off|status movie audio", 0, "off");
        row("video off", "clip.avi", "set all video off|status movie video", 0, "off");
        row("step pauses", "clip.avi", "step movie by 5|status movie mode", 0, "paused");
        row("step position", "clip.avi", "step movie by 5|status movie position", 0, "200");
        row("frame rate", "clip.avi", "status movie nominal frame rate wait", 0, "25000");
    }
    void commands()
    {
        QFETCH(QString, file);
        QFETCH(QString, commands);
        QFETCH(int, code);
        QFETCH(QString, reply);
        const QString path = folder_ + file;
        MpvMciDevice device;
        if (!file.isEmpty())
            QCOMPARE(device.send(QStringLiteral("open \"%1\" alias movie").arg(path)).code, 0);
        MciResult result;
        for (const QString &command : commands.split(u'|'))
            result = device.send(command.contains(u'%') ? command.arg(path) : command);
        QCOMPARE(result.code, code);
        QCOMPARE(result.reply, reply);
        QVERIFY(!device.errorText(code).isEmpty());
    }

    void brokenFiles_data()
    {
        QTest::addColumn<int>("keep"); // bytes of clip.mpg to keep, -1 for junk
        QTest::addColumn<bool>("opens");
        QTest::newRow("junk") << -1 << false;
        QTest::newRow("empty") << 0 << false;
        // A valid start and nothing else is a stream of no length: it opens, plays nothing.
        QTest::newRow("first packet only") << 2048 << true;
    }
    void brokenFiles()
    {
        QFETCH(int, keep);
        QFETCH(bool, opens);
        const QString path = folder_ + QStringLiteral("broken %1.mpg").arg(keep);
        QFile clip(folder_ + QStringLiteral("clip.mpg")), broken(path);
        QVERIFY(clip.open(QIODevice::ReadOnly) && broken.open(QIODevice::WriteOnly));
        for (int i = 0; keep < 0 && i < 200000; ++i)
            broken.putChar(char((i * 7919) % 251));
        broken.write(clip.read(qMax(keep, 0)));
        broken.close();
        MpvMciDevice device;
        const MciResult result = device.send(openCommand(path));
        QCOMPARE(result.code == 0, opens);
        if (opens) {
            QCOMPARE(device.send("play movie").code, 0);
            QTRY_COMPARE(mode(device), QStringLiteral("stopped"));
            QCOMPARE(device.send("close movie").code, 0);
        } else {
            QVERIFY(!device.errorText(result.code).isEmpty());
            QCOMPARE(device.send("play movie").code, int(mci::InvalidDeviceName));
        }
        QVERIFY(!fileIsOpen(path));
    }
};

QTEST_MAIN(TestMpvMciDevice)
#include "tst_MpvMciDevice.moc"
