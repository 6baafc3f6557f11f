#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/ProbeTuning.h"
#include "platform/Shell.h"
#include "platform/Translations.h"
#include "support/CoreChecks.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace zv;

class TestPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void volumeClassification_data()
    {
        QTest::addColumn<QString>("fs");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("mount");
        QTest::addColumn<bool>("removable");
        QTest::addColumn<int>("type");
        QTest::newRow("cd") << "iso9660" << "/dev/sr0" << "/media/cdrom" << true << 4;
        QTest::newRow("tmpfs") << "tmpfs" << "tmpfs" << "/tmp" << false << 5;
        QTest::newRow("nfs4") << "nfs4" << "server:/share" << "/net" << false << 3;
        QTest::newRow("sshfs") << "fuse.sshfs" << "me@host:" << "/home/me/remote" << false << 3;
        QTest::newRow("usb stick by device") << "vfat" << "/dev/sdb1" << "/mnt/stick" << true << 1;
        QTest::newRow("usb stick under /media") << "exfat" << "/dev/sdc1" << "/media/anna/STICK" << false << 1;
        QTest::newRow("run/media") << "ext4" << "/dev/sdd1" << "/run/media/anna/disk" << false << 1;
        QTest::newRow("system disk") << "ext4" << "/dev/vda" << "/" << false << 2;
        QTest::newRow("unknown") << "" << "" << "/x" << false << 0;
    }
    void volumeClassification()
    {
        QFETCH(QString, fs);
        QFETCH(QString, device);
        QFETCH(QString, mount);
        QFETCH(bool, removable);
        QTEST(int(classifyVolume({fs, device, mount, removable})), "type");
    }

    void driveOfRealPaths()
    {
        const auto drives = makeSystemDrives();
        QTemporaryDir dir;
        const DriveInfo here = drives->driveOf(dir.path());
        QVERIFY(here.ready && here.totalBytes > 0 && here.freeBytes <= here.totalBytes);
        // A path that does not exist yet belongs to the drive of its nearest existing folder.
        QCOMPARE(drives->driveOf(dir.filePath(QStringLiteral("neu/noch/nicht"))).root, here.root);
        const QList<DriveInfo> all = drives->list();
        QVERIFY(std::any_of(all.begin(), all.end(), [&](const DriveInfo &d) { return d.root == here.root; }));
    }

    void messageBoxIsGermanAndExact_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions"); // sorted
        QTest::addColumn<int>("answer");           // to Escape, the negative button
        QTest::newRow("yes/no") << int(MessageButtons::YesNo) << QStringList{"&Ja", "&Nein"} << int(MessageAnswer::No);
        QTest::newRow("ok/cancel") << int(MessageButtons::OkCancel) << QStringList{"Abbrechen", "OK"}
                                   << int(MessageAnswer::Cancel);
    }
    void messageBoxIsGermanAndExact()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        QVERIFY2(installGermanTranslations(*QCoreApplication::instance()), "qtbase_de not installed");
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() << box->text();
            for (QAbstractButton *b : box->buttons())
                seen << b->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        const MessageAnswer got = makeQtDialogs()->message(QStringLiteral(" Speichern"), QStringLiteral("Wirklich?"),
                                                           MessageIcon::Question, static_cast<MessageButtons>(buttons));
        std::sort(seen.begin() + 2, seen.end());
        QCOMPARE(seen, QStringList({" Speichern", "Wirklich?"}) + captions);
        QTEST(int(got), "answer");
    }

    void documentHandlerOutcome_data()
    {
        QTest::addColumn<QByteArray>("handler"); // what the stand-in xdg-open does
        QTest::addColumn<bool>("opened");
        QTest::newRow("handler found") << QByteArray("exit 0") << true;
        QTest::newRow("no handler") << QByteArray("echo 'no method available' >&2; exit 3") << false;
        QTest::newRow("viewer stays open") << QByteArray("sleep 3") << true;
    }
    void documentHandlerOutcome()
    {
        QFETCH(QByteArray, handler);
        QFETCH(bool, opened);
        QTemporaryDir bin;
        const QString script = bin.filePath(QStringLiteral("xdg-open"));
        QVERIFY(test::writeAll(script, "#!/bin/sh\n" + handler + "\n"));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const bool result = makeDesktopShell()->openDocument(QFINDTESTDATA("tst_platform.cpp"), ShowState::Normal);
        qputenv("PATH", path);
        QCOMPARE(result, opened);
    }

    void remoteFileSystems_data()
    {
        QTest::addColumn<quint32>("type"); // statfs's f_type
        QTest::addColumn<bool>("remote");
        QTest::newRow("nfs") << quint32(0x6969) << true;
        QTest::newRow("smb") << quint32(0x517b) << true;
        QTest::newRow("smb2") << quint32(0xfe534d42) << true;
        QTest::newRow("cifs") << quint32(0xff534d42) << true;
        QTest::newRow("fuse") << quint32(0x65735546) << true;
        QTest::newRow("9p") << quint32(0x01021997) << true;
        QTest::newRow("ceph") << quint32(0x00c36400) << true;
        QTest::newRow("afs") << quint32(0x5346414f) << true;
        QTest::newRow("coda") << quint32(0x73757245) << true;
        QTest::newRow("ext4") << quint32(0xef53) << false;
        QTest::newRow("xfs") << quint32(0x58465342) << false;
        QTest::newRow("btrfs") << quint32(0x9123683e) << false;
        QTest::newRow("tmpfs") << quint32(0x01021994) << false;
        QTest::newRow("overlay") << quint32(0x794c7630) << false;
        QTest::newRow("vfat") << quint32(0x4d44) << false;
    }
    void remoteFileSystems()
    {
        QFETCH(quint32, type);
        QTEST(isRemoteFileSystem(type), "remote");
    }

    void probeSpread_data()
    {
        QTest::addColumn<bool>("remote");
        QTest::addColumn<int>("cores");
        QTest::addColumn<quint64>("openFiles");
        QTest::addColumn<int>("asked"); // 0: the default
        QTest::addColumn<int>("inFlight");
        QTest::addColumn<int>("atFirst");
        QTest::addColumn<int>("batch");
        QTest::addColumn<int>("window");
        const quint64 none = NoOpenFileLimit;
        QTest::newRow("network") << true << 2 << quint64(1024) << 0 << 64 << 64 << 1 << 1024;
        QTest::newRow("network, asked") << true << 2 << quint64(1024) << 8 << 8 << 8 << 1 << 1024;
        QTest::newRow("local, two cores") << false << 2 << quint64(1024) << 0 << 32 << 2 << 16 << 2048;
        QTest::newRow("local, one core") << false << 1 << quint64(1024) << 0 << 32 << 1 << 16 << 2048;
        QTest::newRow("unknown cores") << false << 0 << quint64(1024) << 0 << 32 << 1 << 16 << 2048;
        QTest::newRow("many cores") << false << 96 << quint64(1024) << 0 << 32 << 32 << 16 << 2048;
        QTest::newRow("serial") << false << 2 << quint64(1024) << 1 << 1 << 1 << 1 << 1024;
        QTest::newRow("asked four") << false << 2 << quint64(1024) << 4 << 4 << 4 << 16 << 1024;
        QTest::newRow("few open files") << false << 2 << quint64(256) << 0 << 32 << 2 << 4 << 1024;
        QTest::newRow("hardly any open files") << false << 2 << quint64(20) << 0 << 32 << 2 << 1 << 1024;
        QTest::newRow("no limit") << false << 2 << none << 0 << 32 << 2 << 16 << 2048;
        QTest::newRow("no limit, 512 threads") << false << 2 << none << 512 << 512 << 512 << 8 << 16384;
    }
    void probeSpread()
    {
        QFETCH(bool, remote);
        QFETCH(int, cores);
        QFETCH(quint64, openFiles);
        QFETCH(int, asked);
        const ProbeSpread spread = probeSpreadFor({remote, cores, openFiles}, asked);
        QTEST(spread.inFlight, "inFlight");
        QTEST(spread.atFirst, "atFirst");
        QTEST(spread.batch, "batch");
        QTEST(int(probeWindowFor(spread)), "window");
    }

    void fileNamesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("utf-8") << QByteArray("K\xc3\xa4se.jpg") << QStringLiteral("Käse.jpg");
        QTest::newRow("latin-1") << QByteArray("K\xe4se.jpg") << QStringLiteral("Käse.jpg");
        QTest::newRow("cut sequence") << QByteArray("a\xc3") << QStringLiteral("aÃ");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xafx") << QStringLiteral("À¯x");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80") << QStringLiteral("í²\u0080");
        QTest::newRow("emoji") << QByteArray("\xf0\x9f\x98\x80.jpg") << QStringLiteral("😀.jpg");
    }
    void fileNamesRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString name = decodeFileName(bytes);
        QCOMPARE(nativePath(name), bytes);
        QCOMPARE(displayFileName(name), shown);
        QCOMPARE(hasUndecodableBytes(name), QString::fromUtf8(bytes).toUtf8() != bytes);
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
