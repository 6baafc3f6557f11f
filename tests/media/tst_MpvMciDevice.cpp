#include "Clips.h"

#include "media/MciErrors.h"
#include "media/MpvMciDevice.h"
#include "media/MpvVideoWidget.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using zv::MciResult;
using zv::MpvMciDevice;

namespace {

// True while some descriptor of this process points at the file.
bool fileIsOpen(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == target)
            return true;
    }
    return false;
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

class TestMpvMciDevice : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<QWidget> window_;
    QWidget *box_ = nullptr;

    MciResult send(MpvMciDevice &device, const QString &command)
    {
        return device.send(command);
    }
    int number(MpvMciDevice &device, const QString &command)
    {
        const MciResult result = device.send(command);
        [&] { QCOMPARE(result.code, 0); }();
        return result.reply.toInt();
    }
    QString openCommand(const QString &path)
    {
        return QStringLiteral("open \"%1\" alias movie parent %2 style child ")
            .arg(path)
            .arg(qint64(box_->winId()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        const QString d = dir_.path() + QStringLiteral("/mit Leer zeichen/");
        QVERIFY(QDir().mkpath(d));
        QVERIFY(makeClip(d + "clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}));
        QVERIFY(makeClip(d + "clip.mpeg", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "mpeg"}));
        QVERIFY(makeClip(d + "clip.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
        QVERIFY(makeClip(d + "clip.mov", {"-c:v", "mpeg4", "-c:a", "aac"}));
        QVERIFY(makeClip(d + "sound.wav", {}, false));
        QVERIFY(makeClip(d + "sound.mp3", {"-c:a", "libmp3lame"}, false));
        QFile damaged(d + "damaged.mpg");
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        QByteArray junk;
        for (int i = 0; i < 200000; ++i)
            junk.append(char((i * 7919) % 251));
        damaged.write(junk);
        damaged.close();

        // As in the album: the preview box is a child inside the main window.
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 260);
        box_ = new QWidget(window_.get());
        box_->setGeometry(20, 20, 183, 183);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void video_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *name : {"clip.mpg", "clip.mpeg", "clip.avi", "clip.mov"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void video()
    {
        QFETCH(QString, file);
        const QString path = dir_.path() + QStringLiteral("/mit Leer zeichen/") + file;
        MpvMciDevice device;
        QCOMPARE(send(device, openCommand(path)).code, 0);
        QVERIFY(fileIsOpen(path));
        QCOMPARE(send(device, "where movie source").reply, QStringLiteral("0 0 320 240"));
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("stopped"));
        QCOMPARE(send(device, "put movie window at 0 23 183 137").code, 0);
        QCOMPARE(send(device, "where movie window").reply, QStringLiteral("0 23 183 137"));

        QCOMPARE(send(device, "set movie time format frames wait").code, 0);
        QVERIFY(qAbs(number(device, "status movie length") - 50) <= 2);
        QCOMPARE(send(device, "status movie time format").reply, QStringLiteral("frames"));
        QCOMPARE(send(device, "set movie time format ms").code, 0);
        QVERIFY(qAbs(number(device, "status movie length") - 2000) <= 80);
        QCOMPARE(number(device, "status movie nominal frame rate wait"), 25000);

        QCOMPARE(send(device, "play movie").code, 0);
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("playing"));
        QTRY_VERIFY_WITH_TIMEOUT(number(device, "status movie position wait") > 200, 5000);
        QVERIFY(device.videoWidget()->hasRenderContext());
        QTRY_VERIFY(device.videoWidget()->framesShown() > 1);
        QVERIFY(distinctColours(device.videoWidget()->grabFramebuffer()) > 8);
        // What the display shows, not just what was drawn off screen.
        const QPoint onScreen = box_->mapToGlobal(QPoint(0, 23));
        QTRY_VERIFY(distinctColours(QGuiApplication::primaryScreen()
                                        ->grabWindow(0, onScreen.x(), onScreen.y(), 183, 137)
                                        .toImage()) > 8);

        QCOMPARE(send(device, "pause movie").code, 0);
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("paused"));
        const int paused = number(device, "status movie position");
        QTest::qWait(300);
        QCOMPARE(number(device, "status movie position"), paused);

        QCOMPARE(send(device, "seek movie to 500").code, 0);
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("paused"));
        QVERIFY(qAbs(number(device, "status movie position") - 500) <= 40);

        QCOMPARE(send(device, "resume movie").code, 0);
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("playing"));
        QCOMPARE(send(device, "play movie from 1000").code, 0);
        QVERIFY(number(device, "status movie position") >= 960);
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("playing"));

        QCOMPARE(send(device, "stop movie").code, 0);
        QCOMPARE(send(device, "status movie mode").reply, QStringLiteral("stopped"));
        QCOMPARE(send(device, "seek movie to start").code, 0);
        QVERIFY(number(device, "status movie position") <= 40);

        QCOMPARE(send(device, "close movie").code, 0);
        QVERIFY(!fileIsOpen(path));
        QCOMPARE(send(device, "status movie mode").code, int(zv::mci::InvalidDeviceName));
    }

    void sound_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("wav") << "sound.wav";
        QTest::newRow("mp3") << "sound.mp3";
    }
    void sound()
    {
        QFETCH(QString, file);
        const QString path = dir_.path() + QStringLiteral("/mit Leer zeichen/") + file;
        MpvMciDevice device;
        QCOMPARE(send(device, QStringLiteral("open \"%1\" alias movie").arg(path)).code, 0);
        QVERIFY(fileIsOpen(path));
        QVERIFY(qAbs(number(device, "status movie length") - 2000) <= 80);
        QCOMPARE(send(device, "where movie source").code, int(zv::mci::UnsupportedFunction));
        QCOMPARE(send(device, "close movie").code, 0);
        QCOMPARE(send(device, openCommand(path)).code, 0);
        QVERIFY(device.videoWidget()->isHidden()); // a sound leaves the box as it was
        QCOMPARE(send(device, "setaudio movie volume to 850").code, 0);
        QCOMPARE(number(device, "status movie volume"), 850);
        QCOMPARE(send(device, "play movie").code, 0);
        QTRY_VERIFY_WITH_TIMEOUT(number(device, "status movie position") > 200, 5000);
        QCOMPARE(send(device, "close all").code, 0);
        QVERIFY(!fileIsOpen(path));
    }

    void errors_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::newRow("unknown command") << "jump movie" << int(zv::mci::UnrecognizedCommand);
        QTest::newRow("cd door") << "set cdaudio door open" << int(zv::mci::DeviceNotInstalled);
        QTest::newRow("unknown device") << "play kino" << int(zv::mci::InvalidDeviceName);
        QTest::newRow("not open") << "play movie" << int(zv::mci::InvalidDeviceName);
        QTest::newRow("missing file") << "open \"/nicht/da.mpg\" alias movie" << int(zv::mci::FileNotFound);
        QTest::newRow("unclosed quote") << "open \"/a.mpg alias movie" << int(zv::mci::NoClosingQuote);
        QTest::newRow("empty") << "" << int(zv::mci::MissingCommandString);
        QTest::newRow("close all when nothing open") << "close all wait" << 0;
    }
    void errors()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        MpvMciDevice device;
        const MciResult result = device.send(command);
        QCOMPARE(result.code, code);
        QVERIFY(result.reply.isEmpty());
        QVERIFY(!device.errorText(code).isEmpty());
    }

    void commandErrorsOnOpenMovie_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::newRow("seek before start") << "seek movie to -2000" << int(zv::mci::OutOfRange);
        QTest::newRow("play past end") << "play movie from 999999" << int(zv::mci::OutOfRange);
        QTest::newRow("bad number") << "setaudio movie volume to laut" << int(zv::mci::BadInteger);
        QTest::newRow("volume too high") << "setaudio movie volume to 1001" << int(zv::mci::OutOfRange);
        QTest::newRow("unknown status") << "status movie colour" << int(zv::mci::UnrecognizedKeyword);
        QTest::newRow("second open") << "open \"%1\" alias movie" << int(zv::mci::DuplicateAlias);
        QTest::newRow("unknown parent window") << "close movie|open \"%1\" alias movie parent 77 style child "
                                               << int(zv::mci::CreateWindow);
    }
    void commandErrorsOnOpenMovie()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        const QString path = dir_.path() + QStringLiteral("/mit Leer zeichen/sound.wav");
        MpvMciDevice device;
        QCOMPARE(device.send(QStringLiteral("open \"%1\" alias movie").arg(path)).code, 0);
        MciResult result;
        for (const QString &part : command.split(u'|'))
            result = device.send(part.contains(u'%') ? part.arg(path) : part);
        QCOMPARE(result.code, code);
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("keep"); // bytes of clip.mpg to keep, -1 for junk
        QTest::addColumn<bool>("opens");
        QTest::newRow("junk") << "damaged.mpg" << -1 << false;
        QTest::newRow("empty") << "empty.mpg" << 0 << false;
        // A valid start and nothing else is a stream of no length: it opens, plays nothing.
        QTest::newRow("first packet only") << "cut.mpg" << 2048 << true;
    }
    void brokenFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, keep);
        QFETCH(bool, opens);
        const QString folder = dir_.path() + QStringLiteral("/mit Leer zeichen/");
        const QString path = folder + file;
        if (keep >= 0) {
            QFile clip(folder + QStringLiteral("clip.mpg"));
            QVERIFY(clip.open(QIODevice::ReadOnly));
            QFile cut(path);
            QVERIFY(cut.open(QIODevice::WriteOnly));
            cut.write(clip.read(keep));
        }
        MpvMciDevice device;
        const MciResult result = device.send(openCommand(path));
        if (opens) {
            QCOMPARE(result.code, 0);
            QCOMPARE(device.send("play movie").code, 0);
            QTRY_COMPARE(device.send("status movie mode").reply, QStringLiteral("stopped"));
            QCOMPARE(device.send("close movie").code, 0);
        } else {
            QVERIFY(result.code != 0);
            QVERIFY(!device.errorText(result.code).isEmpty());
            QCOMPARE(device.send("play movie").code, int(zv::mci::InvalidDeviceName));
        }
        QVERIFY(!fileIsOpen(path));
    }

    void fileDeletedWhileOpen()
    {
        const QString folder = dir_.path() + QStringLiteral("/mit Leer zeichen/");
        const QString path = folder + QStringLiteral("gleich weg.avi");
        QVERIFY(QFile::copy(folder + QStringLiteral("clip.avi"), path));
        MpvMciDevice device;
        QCOMPARE(device.send(openCommand(path)).code, 0);
        QVERIFY(QFile::remove(path));
        QCOMPARE(device.send("play movie").code, 0);
        QTRY_VERIFY_WITH_TIMEOUT(number(device, "status movie position") > 200, 5000);
        QCOMPARE(device.send("seek movie to 100").code, 0);
        QCOMPARE(device.send("close movie").code, 0);
        QCOMPARE(device.send("status movie mode").code, int(zv::mci::InvalidDeviceName));
    }

    void fullScreen()
    {
        const QString path = dir_.path() + QStringLiteral("/mit Leer zeichen/clip.mov");
        MpvMciDevice device;
        QCOMPARE(device.send(openCommand(path)).code, 0);
        QCOMPARE(device.send("put movie window at 0 23 183 137").code, 0);
        QCOMPARE(device.send("play movie fullscreen").code, 0);
        QWidget *screen = device.videoWidget();
        QVERIFY(screen->isWindow());
        QTRY_VERIFY(device.videoWidget()->framesShown() > 1);
        QCOMPARE(screen->size(), QGuiApplication::primaryScreen()->size());
        QTest::keyClick(screen, Qt::Key_Escape);
        QTRY_VERIFY(!device.videoWidget()->isWindow());
        QCOMPARE(device.videoWidget()->parentWidget(), box_);
        QCOMPARE(device.send("where movie window").reply, QStringLiteral("0 23 183 137"));
        QCOMPARE(device.send("status movie mode").reply, QStringLiteral("playing"));
        QTRY_VERIFY(device.videoWidget()->framesShown() > 1);

        // Full screen playback gives the picture back to the window at the end of the movie.
        QCOMPARE(device.send("play movie from 1700 fullscreen").code, 0);
        QVERIFY(device.videoWidget()->isWindow());
        QTRY_VERIFY_WITH_TIMEOUT(!device.videoWidget()->isWindow(), 5000);
        QCOMPARE(device.send("status movie mode").reply, QStringLiteral("stopped"));
        QCOMPARE(device.send("close movie").code, 0);
    }

    void settingsAnswerBack()
    {
        const QString path = dir_.path() + QStringLiteral("/mit Leer zeichen/clip.avi");
        MpvMciDevice device;
        QCOMPARE(device.send(openCommand(path)).code, 0);
        QCOMPARE(device.send("set movie speed 1500").code, 0);
        QCOMPARE(number(device, "status movie speed"), 1500);
        QCOMPARE(device.send("setaudio movie left volume to 300").code, 0);
        QCOMPARE(number(device, "status movie left volume"), 300);
        QCOMPARE(device.send("set movie audio all off").code, 0);
        QCOMPARE(device.send("status movie audio").reply, QStringLiteral("off"));
        QCOMPARE(device.send("set all video off").code, 0);
        QCOMPARE(device.send("status movie video").reply, QStringLiteral("off"));
        QCOMPARE(device.send("window movie state hide").code, 0);
        QVERIFY(!device.videoWidget()->isVisible());
        QCOMPARE(device.send("window movie state show").code, 0);
        QVERIFY(device.videoWidget()->isVisible());
        QCOMPARE(device.send("step movie by 5").code, 0);
        QCOMPARE(device.send("status movie mode").reply, QStringLiteral("paused"));
        QVERIFY(qAbs(number(device, "status movie position") - 200) <= 5);
        QCOMPARE(device.send("info movie product").reply, QStringLiteral("mpv"));
        QVERIFY(!device.send("info movie version").reply.isEmpty());
        QCOMPARE(device.send("close all").code, 0);
    }
};

QTEST_MAIN(TestMpvMciDevice)
#include "tst_MpvMciDevice.moc"
