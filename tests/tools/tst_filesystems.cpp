// The companion on the file systems albums travel on, through their real drivers: FAT
// (fusefat), exFAT (exfat-fuse) and NTFS (ntfs-3g), each on a fresh image. Skipped, with the
// reason, where the machine has no FUSE, no driver or no root.
#include "support/CoreChecks.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using zv::test::readAll;
using zv::test::writeAll;

namespace {

struct Result {
    int exitCode = -1;
    QString err;
};

// The system tools live in sbin, which a user's PATH may lack.
QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
}

Result run(const QString &program, const QStringList &args, QString *out = nullptr)
{
    QProcess p;
    p.start(program.contains(QLatin1Char('/')) ? program : tool(program), args);
    p.waitForFinished(60000);
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

Result albuminfo(const QStringList &args)
{
    return run(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args);
}

QStringList names(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A mounted image, unmounted (and its loop device let go) at the end of the scope.
class Mounted {
public:
    Mounted(const QString &fileSystem, const QString &image, const QString &at)
        : m_at(at)
    {
        if (fileSystem == QLatin1String("vfat")) {
            m_ok = run(QStringLiteral("fusefat"), {"-o", "rw+", image, at}).exitCode == 0;
        } else if (fileSystem == QLatin1String("exfat")) {
            // exfat-fuse run by root wants a block device.
            if (run(QStringLiteral("losetup"), {"-f", "--show", image}, &m_loop).exitCode != 0)
                return;
            m_ok = run(QStringLiteral("mount.exfat-fuse"), {m_loop, at}).exitCode == 0;
        } else {
            m_ok = run(QStringLiteral("ntfs-3g"), {image, at}).exitCode == 0;
        }
    }
    ~Mounted()
    {
        if (m_ok)
            run(QStringLiteral("fusermount"), {"-u", m_at});
        if (!m_loop.isEmpty())
            run(QStringLiteral("losetup"), {"-d", m_loop});
    }
    bool ok() const { return m_ok; }

private:
    QString m_at;
    QString m_loop;
    bool m_ok = false;
};

} // namespace

class TestFileSystems : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void companionVerbs_data()
    {
        QTest::addColumn<QString>("fileSystem");
        QTest::addColumn<QStringList>("tools"); // what the machine needs for it
        QTest::newRow("FAT") << "vfat" << QStringList{"mkfs.vfat", "fusefat"};
        QTest::newRow("exFAT") << "exfat" << QStringList{"mkfs.exfat", "mount.exfat-fuse", "losetup"};
        QTest::newRow("NTFS") << "ntfs" << QStringList{"mkfs.ntfs", "ntfs-3g"};
    }
    void companionVerbs()
    {
        QFETCH(QString, fileSystem);
        QFETCH(QStringList, tools);
        tools << QStringLiteral("fusermount");
        if (::geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/dev/fuse")))
            QSKIP("mounting images needs root and /dev/fuse");
        for (const QString &needed : tools)
            if (tool(needed).isEmpty())
                QSKIP(qPrintable(needed + QStringLiteral(" is not installed")));
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("disk.img"));
        const QString at = dir.filePath(QStringLiteral("mnt"));
        QVERIFY(QDir().mkpath(at));
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(64 << 20));
        file.close();
        const QStringList format =
            fileSystem == QLatin1String("ntfs") ? QStringList{"-F", "-Q", image} : QStringList{image};
        QCOMPARE(run(QStringLiteral("mkfs.") + fileSystem, format).exitCode, 0);
        const Mounted mounted(fileSystem, image, at);
        if (!mounted.ok())
            QSKIP(qPrintable(QStringLiteral("the %1 image could not be mounted here").arg(fileSystem)));

        const QString album = at + QStringLiteral("/Album");
        const QString media = album + QStringLiteral("/Bilder");
        const QString out = at + QStringLiteral("/Abzug");
        QVERIFY(QDir().mkpath(media) && QDir().mkpath(out));
        const QByteArray one = zv::test::mediaBytes(50000), two = zv::test::mediaBytes(3000);
        QVERIFY(writeAll(dir.filePath(QStringLiteral("x1.jpg")), one));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("x2.jpg")), two));

        // Numbered import: copies without a mode the file system keeps, placed without replacing.
        Result r = albuminfo({"import", album, dir.filePath("x1.jpg"), dir.filePath("x2.jpg"), "--number", "1"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(names(media), (QStringList{"000001.jpg", "000002.jpg"}));
        r = albuminfo({"set", media + "/000001.jpg", "--ort", "Rom"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(readAll(media + "/000001.jpg").left(one.size()), one);
        // A rename without the no-replace flag (and, on FAT, without links), and one refused.
        r = albuminfo({"rename", album, "000001.jpg", "rom.jpg"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(albuminfo({"rename", album, "000002.jpg", "rom.jpg"}).exitCode, 1);
        QCOMPARE(names(media), (QStringList{"000002.jpg", "rom.jpg"}));
        // Export twice into the same folder: the second replaces after its yes.
        for (int round = 0; round < 2; ++round) {
            r = albuminfo({"export", album, out, "rom.jpg", "--overwrite", "all"});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        }
        QCOMPARE(names(out), QStringList{"rom.jpg"});
        QCOMPARE(readAll(out + "/rom.jpg"), readAll(media + "/rom.jpg"));
        r = albuminfo({"delete", album, "000002.jpg"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(names(media), QStringList{"rom.jpg"});
        QString listed;
        QCOMPARE(
            run(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), {"list", album}, &listed).exitCode,
            0);
        QVERIFY2(listed.startsWith(QStringLiteral("rom.jpg\t2\t")) && listed.contains(QStringLiteral("\tRom\t")),
                 qPrintable(listed));
    }
};

QTEST_GUILESS_MAIN(TestFileSystems)
#include "tst_filesystems.moc"
