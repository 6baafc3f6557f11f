#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileMoves.h"
#include "platform/FileNames.h"
#include "platform/FileReads.h"
#include "platform/FolderReader.h"
#include "platform/PathStatus.h"
#include "platform/Places.h"
#include "platform/ProbeTuning.h"
#include "platform/RegularFile.h"
#include "platform/Shell.h"
#include "platform/Translations.h"
#include "support/CoreChecks.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>

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
        const auto row = [](const char *name, const char *fs, const char *device, const char *mount, bool removable,
                            int type) {
            QTest::newRow(name) << QString(fs) << QString(device) << QString(mount) << removable << type;
        };
        row("cd", "iso9660", "/dev/sr0", "/media/cdrom", true, 4);
        row("tmpfs", "tmpfs", "tmpfs", "/tmp", false, 5);
        row("nfs4", "nfs4", "server:/share", "/net", false, 3);
        row("sshfs", "fuse.sshfs", "me@host:", "/home/me/remote", false, 3);
        row("usb stick by device", "vfat", "/dev/sdb1", "/mnt/stick", true, 1);
        row("usb stick under /media", "exfat", "/dev/sdc1", "/media/anna/STICK", false, 1);
        row("run/media", "ext4", "/dev/sdd1", "/run/media/anna/disk", false, 1);
        row("system disk", "ext4", "/dev/vda", "/", false, 2);
        row("unknown", "", "", "/x", false, 0);
    }
    void volumeClassification()
    {
        QFETCH(QString, fs);
        QFETCH(QString, device);
        QFETCH(QString, mount);
        QFETCH(bool, removable);
        QTEST(int(classifyVolume({fs, device, mount, removable})), "type");
    }

    // gvfs names its mounts' folders by scheme and escaped keys; users read device names.
    void gvfsNames_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("shown"); // name|kind|type, empty when not offered
        const auto row = [](const char *name, const char *folder, const char *shown) {
            QTest::newRow(name) << QString(folder) << QString::fromUtf8(shown);
        };
        row("phone, serial left out", "mtp:host=SAMSUNG_SM-G991B_R5CR20XYZAB", "Telefon: SAMSUNG SM-G991B|3|1");
        row("vendor said twice", "mtp:host=SAMSUNG_SAMSUNG_Android_R58M12ABCDE", "Telefon: SAMSUNG Android|3|1");
        row("escaped space, short model kept", "mtp:host=Google%20Pixel_7_2A111FDH200XYZ",
            "Telefon: Google Pixel 7|3|1");
        row("older gvfs: usb address", "mtp:host=%5Busb%3A002%2C006%5D", "Telefon: USB 002,006|3|1");
        row("camera, company suffix", "gphoto2:host=Canon_Inc._Canon_EOS_600D", "Kamera: Canon EOS 600D|4|1");
        row("camera model with digits", "gphoto2:host=Nikon_DSC_D3200", "Kamera: Nikon DSC D3200|4|1");
        row("share", "smb-share:server=nas,share=fotos", "fotos auf nas|5|3");
        row("share, escaped comma, keys in any order",
            "smb-share:domain=HEIM,server=nas,share=Urlaub%202019%2C%20Rom,user=eva", "Urlaub 2019, Rom auf nas|5|3");
        row("share, umlaut", "smb-share:server=nas,share=B%C3%BCcher", "Bücher auf nas|5|3");
        row("sftp", "sftp:host=example.org,user=eva", "example.org (sftp)|5|3");
        row("share without server", "smb-share:share=fotos", "");
        row("trash", "trash:", "");
        row("no scheme", "fotos", "");
    }
    void gvfsNames()
    {
        QFETCH(QString, folder);
        const std::optional<Place> place = gvfsPlace(folder);
        QTEST(place ? QStringLiteral("%1|%2|%3").arg(place->name).arg(int(place->kind)).arg(int(place->type))
                    : QString(),
              "shown");
    }

    // A home, the desktop's media roots and a gvfs folder laid out in a temporary folder ($R).
    void placesFound_data()
    {
        QTest::addColumn<QByteArray>("mounts");
        QTest::addColumn<QString>("pictures");
        QTest::addColumn<bool>("gvfs");
        QTest::addColumn<QStringList>("found"); // name|kind|type|path
        const QByteArray desktop = "/dev/sda2 $R/home ext4 rw 0 0\n"
                                   "/dev/sdb1 $R/media/eva/URLAUB\\0402019 vfat rw,nosuid 0 0\n"
                                   "/dev/sr0 $R/run/media/eva/FOTO_CD iso9660 ro 0 0\n"
                                   "/dev/sdc1 $R/media/eva/URLAUB\\0402019/tief ext4 rw 0 0\n"
                                   "/dev/sdb1 $R/media/eva/URLAUB\\0402019 vfat rw,nosuid 0 0\n"
                                   "//nas/fotos $R/media/eva/nas cifs rw 0 0\n"
                                   "/dev/sdd1 $R/media/tom/STICK vfat rw 0 0\n"
                                   "kaputt\n";
        const QStringList home{"Persönlicher Ordner|0|2|$R/home/eva"};
        QTest::newRow("desktop mounts and gvfs")
            << desktop << "$R/home/eva/Bilder" << true
            << home
                   + QStringList{"Bilder|1|2|$R/home/eva/Bilder",
                                 "URLAUB 2019|2|1|$R/media/eva/URLAUB 2019",
                                 "FOTO_CD|2|4|$R/run/media/eva/FOTO_CD",
                                 "nas|2|3|$R/media/eva/nas",
                                 "Telefon: SAMSUNG SM-G991B|3|1|$R/gvfs/mtp:host=SAMSUNG_SM-G991B_R5CR20XYZAB",
                                 "Kamera: Canon EOS 600D|4|1|$R/gvfs/gphoto2:host=Canon_Inc._Canon_EOS_600D",
                                 "fotos auf nas|5|3|$R/gvfs/smb-share:server=nas,share=fotos"};
        QTest::newRow("pictures are the home folder, no gvfs") << QByteArray() << "$R/home/eva/" << false << home;
        QTest::newRow("pictures folder missing") << QByteArray() << "$R/home/eva/Fotos" << false << home;
    }
    void placesFound()
    {
        QFETCH(QByteArray, mounts);
        QFETCH(QString, pictures);
        QFETCH(bool, gvfs);
        QTemporaryDir dir;
        const QString r = dir.path();
        QDir root(r);
        for (const char *folder :
             {"home/eva/Bilder", "media/eva/URLAUB 2019", "run/media/eva/FOTO_CD", "media/eva/nas", "media/tom/STICK"})
            QVERIFY(root.mkpath(QLatin1String(folder)));
        if (gvfs)
            for (const char *mount : {"smb-share:server=nas,share=fotos", "gphoto2:host=Canon_Inc._Canon_EOS_600D",
                                      "mtp:host=SAMSUNG_SM-G991B_R5CR20XYZAB", ".versteckt", "trash:"})
                QVERIFY(root.mkpath(QStringLiteral("gvfs/") + QLatin1String(mount)));
        const PlaceRoots roots{
            r + "/home/eva", pictures.replace("$R", r), {r + "/media/eva", r + "/run/media/eva"}, r + "/gvfs"};
        QStringList found;
        for (const Place &p : findPlaces(roots, mounts.replace("$R", QFile::encodeName(r))))
            found << QStringLiteral("%1|%2|%3|%4")
                         .arg(p.name)
                         .arg(int(p.kind))
                         .arg(int(p.type))
                         .arg(QString(p.path).replace(r, "$R"));
        QTEST(found, "found");
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
        QTest::addColumn<int>("answer"); // to Escape, the negative button
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
        // As a file manager gets it in text/uri-list, and back.
        const QString path = QStringLiteral("/tmp/ein Ordner/") + name;
        QCOMPARE(localFilePath(QUrl::fromEncoded(localFileUrl(path).toEncoded())), std::optional<QString>(path));
    }
    // One folder holding each kind of name the album meets, with what every way of looking at
    // a name must answer for it.
    void namesByKind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listedAsFile");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<int>("followed");
        QTest::addColumn<int>("itself");
        const int file = int(PathStatus::Kind::File), folder = int(PathStatus::Kind::Folder);
        const int other = int(PathStatus::Kind::Other), missing = int(PathStatus::Kind::Missing);
        QTest::newRow("file") << "a.jpg" << true << false << file << file;
        QTest::newRow("hidden file") << ".b.jpg" << true << false << file << file;
        QTest::newRow("folder") << "Urlaub" << false << true << folder << folder;
        QTest::newRow("link to a file") << "link.jpg" << true << false << file << other;
        QTest::newRow("link to a folder") << "linkdir" << false << true << folder << other;
        QTest::newRow("dangling link") << "dangling.jpg" << false << false << missing << other;
        QTest::newRow("pipe") << "pipe.jpg" << false << false << other << other;
        QTest::newRow("not UTF-8") << QString(decodeFileName("K\xe4se.jpg")) << true << false << file << file;
    }
    void namesByKind()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QVERIFY(test::writeNative(nativePath(root + "a.jpg"), "12345"));
        QVERIFY(test::writeNative(nativePath(root + ".b.jpg"), "12345"));
        QVERIFY(test::writeNative(nativePath(root + decodeFileName("K\xe4se.jpg")), "12345"));
        QVERIFY(QDir(root).mkdir("Urlaub"));
        QVERIFY(QFile::link(root + "a.jpg", root + "link.jpg"));
        QVERIFY(QFile::link(root + "Urlaub", root + "linkdir"));
        QVERIFY(QFile::link(root + "gone.jpg", root + "dangling.jpg"));
        QCOMPARE(::mkfifo(nativePath(root + "pipe.jpg").constData(), 0600), 0);

        QFETCH(bool, listedAsFile);
        QFETCH(bool, folder);
        FolderReader reader(root);
        QVERIFY(reader.isOpen());
        QStringList names;
        bool seen = false;
        while (const FolderEntry *entry = reader.next()) {
            names << entry->decodedName();
            if (entry->decodedName() != name)
                continue;
            seen = true;
            QCOMPARE(entry->isFile(), listedAsFile);
            QCOMPARE(entry->isFolder(), folder);
            QCOMPARE(entry->size(), listedAsFile ? 5 : 0);
            QVERIFY(entry->mayBeFile() || !listedAsFile);
            QCOMPARE(entry->isHidden(), name.startsWith(QLatin1Char('.')));
        }
        QVERIFY2(seen, qPrintable(names.join(", ")));
        QCOMPARE(reader.error(), 0);
        QVERIFY(!names.contains(".") && !names.contains(".."));
        QCOMPARE(names.size(), 8);
        QTEST(int(pathStatus(root + name).kind), "followed");
        QTEST(int(nameStatus(root + name).kind), "itself");
    }

    void folderReaderSaysWhyItCannotRead()
    {
        QTemporaryDir dir;
        FolderReader reader(dir.path() + "/nicht da");
        QVERIFY(!reader.isOpen());
        QCOMPARE(reader.error(), ENOENT);
        QCOMPARE(reader.next(), nullptr);
    }

    // A rename never replaces: not a file, not a link, not one that appeared after the check; also
    // on file systems without the no-replace flag (exFAT, FAT, shares through FUSE), with hard
    // links and without.
    void renameNeverReplaces_data()
    {
        QTest::addColumn<int>("system"); // 0: with the flag, 1: hard links only, 2: neither
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("error");
        const char *systems[] = {"", "links only, ", "no links, "};
        for (int system = 0; system < 3; ++system) {
            const auto row = [&](const char *name, const char *target, int error) {
                QTest::addRow("%s%s", systems[system], name) << system << QString(target) << error;
            };
            row("free name", "neu.jpg", 0);
            row("taken by a file", "b.jpg", EEXIST);
            if (system == 0) {
                row("taken by a dangling link", "dangling.jpg", EEXIST);
                row("only the case differs", "A.JPG", 0);
            }
        }
    }
    void renameNeverReplaces()
    {
        struct Without : RenameCalls {
            bool links = true;
            int renameNoReplace(int, const char *, int, const char *) override { return errno = EINVAL, -1; }
            int link(int fromDir, const char *from, int toDir, const char *to) override
            {
                return links ? RenameCalls::link(fromDir, from, toDir, to) : (errno = EPERM, -1);
            }
        } without;
        QFETCH(int, system);
        QFETCH(QString, target);
        QFETCH(int, error);
        without.links = system == 1;
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QVERIFY(test::writeNative(nativePath(root + "a.jpg"), "source"));
        QVERIFY(test::writeNative(nativePath(root + "b.jpg"), "other"));
        QVERIFY(QFile::link(root + "gone.jpg", root + "dangling.jpg"));
        QCOMPARE(system ? renameNoReplace(root + "a.jpg", root + target, without)
                        : renameNoReplace(root + "a.jpg", root + target),
                 error);
        QStringList files{"b.jpg", error ? "a.jpg" : target};
        files.sort();
        QCOMPARE(QDir(root).entryList(QDir::Files), files); // nothing left over
        if (error == 0)
            QCOMPARE(test::readAll(root + target), QByteArray("source"));
        QCOMPARE(test::readAll(root + "b.jpg"), QByteArray("other"));
        QCOMPARE(QFileInfo(root + "dangling.jpg").symLinkTarget(), root + "gone.jpg");
        QCOMPARE(removeFile(root + "b.jpg"), 0);
        QCOMPARE(removeFile(root + "b.jpg"), ENOENT);
    }

    void smallFilesAreReadWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("read");
        QTest::newRow("within the limit") << "a.jpg" << qint64(6) << true;
        QTest::newRow("over the limit") << "a.jpg" << qint64(5) << false;
        QTest::newRow("pipe, which would block") << "pipe" << qint64(100) << false;
        QTest::newRow("folder") << "." << qint64(100) << false;
        QTest::newRow("missing") << "x.jpg" << qint64(100) << false;
    }
    void smallFilesAreReadWhole()
    {
        QFETCH(QString, name);
        QFETCH(qint64, limit);
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QVERIFY(test::writeNative(nativePath(root + "a.jpg"), "sechs!"));
        QCOMPARE(::mkfifo(nativePath(root + "pipe").constData(), 0600), 0);
        const std::optional<QByteArray> bytes = readSmallFile(root + name, limit);
        QTEST(bytes.has_value(), "read");
        if (bytes)
            QCOMPARE(*bytes, QByteArray("sechs!"));
    }
    // A write the drive refuses outright changed nothing, so nothing is said to be damaged.
    void refusedWriteNeedsNoRollback_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("append") << false;
        QTest::newRow("overwrite") << true;
    }
    void refusedWriteNeedsNoRollback()
    {
        QFETCH(bool, overwrite);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.jpg");
        QVERIFY(test::writeNative(nativePath(path), "0123456789"));
        const RegularFile file = openRegularFile(path, false); // every write is refused
        QVERIFY(file.handle.isOpen());
        const EndWriteOutcome outcome =
            writeNearEnd(file.handle.get(), "abcd", overwrite ? 6 : 10, 10, "6789", overwrite);
        QVERIFY(outcome.error != 0);
        QVERIFY(outcome.restored);
        QCOMPARE(test::readAll(path), QByteArray("0123456789"));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
