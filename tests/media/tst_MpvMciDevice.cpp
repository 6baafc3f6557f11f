#include "support/MediaClips.h"

#include "media/MciErrors.h"
#include "media/MpvMciDevice.h"
#include "media/MpvVideoWidget.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <climits>
#include <cstdlib>
#include <unistd.h>

using zv::MciResult;
using zv::MpvMciDevice;
namespace mci = zv::mci;

namespace {

// True while some descriptor of this process points at the file, also after it was deleted.
// Compared as bytes: the name need not be UTF-8.
bool fileIsOpen(const QString &path)
{
    const QByteArray native = zv::nativePath(path);
    const qsizetype slash = native.lastIndexOf('/');
    char folder[PATH_MAX];
    if (!::realpath(native.left(slash).constData(), folder))
        return false;
    const QByteArray target = QByteArray(folder) + native.mid(slash);
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char link[PATH_MAX];
        const ssize_t n = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), link, sizeof link);
        if (n > 0 && QByteArray(link, n).startsWith(target)) // also "... (deleted)"
            return true;
    }
    return false;
}

// "Käse.mpg" as an old Windows medium names it, in Latin-1.
const QString kLatin1Name = zv::decodeFileName("K\xe4se.mpg");

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
    // Sends a command that must succeed and tells the mode after it.
    QString modeAfter(MpvMciDevice &device, const char *command)
    {
        const int code = device.send(QString::fromLatin1(command)).code;
        [&] { QCOMPARE(code, 0); }();
        return mode(device);
    }
    QString openCommand(const QString &path)
    {
        return QStringLiteral("open \"%1\" alias movie parent %2 style child ").arg(path).arg(qint64(box_->winId()));
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
        folder_ = dir_.path() + QStringLiteral("/mit Leer zeichen/");
        QVERIFY(QDir().mkpath(folder_));
        QVERIFY(makeClip(folder_ + "clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2"}));
        QVERIFY(makeClip(folder_ + "gleich weg.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"}));
        QVERIFY(makeClip(folder_ + "upright.mov", {"-c:v", "mpeg4", "-c:a", "aac"}));
        QVERIFY(rotatedCopy(folder_ + "upright.mov", folder_ + "phone.mov", 90));
        QCOMPARE(::link(zv::nativePath(folder_ + "clip.mpg"), zv::nativePath(folder_ + kLatin1Name)), 0);
        QVERIFY(makeClip(folder_ + "sound.wav", {}, false));
        QFile clip(folder_ + "clip.mpg"), junk(folder_ + "junk.mpg"), cut(folder_ + "cut.mpg"), empty(folder_ + "empty.mpg");
        QVERIFY(clip.open(QIODevice::ReadOnly) && junk.open(QIODevice::WriteOnly) && cut.open(QIODevice::WriteOnly)
                && empty.open(QIODevice::WriteOnly));
        for (int i = 0; i < 200000; ++i)
            junk.putChar(char((i * 7919) % 251));
        cut.write(clip.read(2048));
        // As in the album: the preview box is a child inside the main window.
        window_ = std::make_unique<QWidget>();
        window_->resize(300, 260);
        box_ = new QWidget(window_.get());
        box_->setGeometry(20, 20, 183, 183);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanupTestCase() { ::unlink(zv::nativePath(folder_ + kLatin1Name).constData()); } // Qt cannot name it

    // Opened into the box, measured, played, closed; the first clip goes through every control.
    void containers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("source"); // empty for a sound
        QTest::newRow("clip.mpg") << "clip.mpg" << "0 0 320 240";
        QTest::newRow("phone.mov") << "phone.mov" << "0 0 240 320";
        QTest::newRow("name not UTF-8") << kLatin1Name << "0 0 320 240";
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
        QCOMPARE(modeAfter(device, "play movie"), QStringLiteral("playing"));
        QTRY_VERIFY_WITH_TIMEOUT(number(device, "status movie position") > 200, 5000);
        if (file == QLatin1String("clip.mpg"))
            controls(device);
        QCOMPARE(device.send(QStringLiteral("close all")).code, 0);
        QVERIFY(!fileIsOpen(path));
        QCOMPARE(device.send(QStringLiteral("status movie mode")).code, int(mci::InvalidDeviceName));
    }

    // Commands on the file (%1) given: the last one's code and reply; nothing stays open.
    void commands_data()
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
        row("empty file", BOX "play movie", mci::InvalidDeviceName, "", "empty.mpg");
        row("first packet only", BOX "close movie", 0, "", "cut.mpg");
    }
    void commands()
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
};

QTEST_MAIN(TestMpvMciDevice)
#include "tst_MpvMciDevice.moc"
