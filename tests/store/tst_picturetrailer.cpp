// The picture trailer: its codec and byte layout, saves after and over the media bytes, and the
// writer when the system says no: a full disk, the file-size limit, a vanished file, no
// permission, links. Each failure leaves the media bytes as they were and nothing behind; new
// files are never made through a link.
#include "platform/NewFile.h"
#include "store/PictureTrailer.h"
#include "store/Windows1252.h"
#include "support/CoreChecks.h"
#include "support/OtherUser.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace zv;
using test::mediaBytes;
using test::readAll;
using test::writeAll;

namespace {

TrailerError save(const QString &path, const QString &folder = {})
{
    PictureInfo info;
    info.namen = QStringLiteral("Käthe");
    info.datum = QStringLiteral("01.05.2003");
    info.bemerkungen = QString(500, QLatin1Char('b'));
    return WritePictureInfo(path, info, folder);
}

} // namespace

class TestPictureTrailer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codecMatchesIcuForEveryByte()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        const QString expected = QStringDecoder("windows-1252").decode(all);
        const QString ours = windows1252::decode(all.constData(), all.size());
        // ICU leaves the five unassigned bytes undefined; everything else must agree.
        for (int i = 0; i < 256; ++i)
            if (!QList<int>{0x81, 0x8D, 0x8F, 0x90, 0x9D}.contains(i))
                QCOMPARE(ours.at(i), expected.at(i));
        QCOMPARE(windows1252::encode(ours), all);
        QCOMPARE(windows1252::encode(QStringLiteral("€ä😀")), QByteArray("\x80\xE4?"));
    }

    // Each text in Windows-1252 at its offset, cut at its width and padded with blanks.
    void layoutIsByteExact()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.jpg"));
        QVERIFY(writeAll(path, "JPEG"));
        PictureInfo info;
        info.namen = QStringLiteral("Käthe ") + QString(200, QLatin1Char('n'));
        info.ort = QStringLiteral("   ");
        info.datum = QStringLiteral("01.02.20034");
        info.anlass = QStringLiteral(" Weihnachten für 5 € ");
        info.bemerkungen = QString(600, QChar(0xDF));
        QVERIFY(!WritePictureInfo(path, info));
        QCOMPARE(info.marker, QStringLiteral("FileInfo"));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), 4 + 914);
        const QByteArray t = bytes.mid(4);
        QCOMPARE(t.left(8), QByteArray("FileInfo"));
        QCOMPARE(t.mid(8, 128), ("K\xE4the " + QByteArray(200, 'n')).left(128));
        QCOMPARE(t.mid(136, 128), QByteArray(128, ' '));
        QCOMPARE(t.mid(264, 10), QByteArray("01.02.2003"));
        QCOMPARE(t.mid(274, 128), QByteArray(" Weihnachten f\xFCr 5 \x80").leftJustified(128, ' '));
        QCOMPARE(t.mid(402, 512), QByteArray(512, '\xDF'));
        QCOMPARE(trimmed(ReadPictureInfo(path).info).ort, QString()); // blanks only: nothing
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("trailerBefore");
        QTest::addColumn<int>("kept"); // leading bytes that stay; the trailer follows them
        PictureInfo old;
        old.ort = QStringLiteral("Berlin");
        const QByteArray trailer = trailer::encode(old);
        QTest::newRow("913 bytes append") << mediaBytes(913) << false << 913;
        QTest::newRow("second save overwrites") << mediaBytes(5000) + trailer << true << 5000;
        QTest::newRow("bare trailer overwritten") << trailer << true << 0;
        QTest::newRow("marker case matters")
            << mediaBytes(100) + QByteArray("fileinfo").leftJustified(914, 'x') << false << 1014;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, trailerBefore);
        QFETCH(int, kept);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        QVERIFY(writeAll(path, before));
        const PictureReadResult read = ReadPictureInfo(path);
        QVERIFY(!read.error);
        QCOMPARE(read.info != PictureInfo(), trailerBefore);
        PictureInfo info;
        info.ort = QStringLiteral("Straße am Fluß");
        info.bemerkungen = QStringLiteral("  führende Leerzeichen bleiben"); // the user's; trailing ones are padding
        QVERIFY(!WritePictureInfo(path, info));
        QCOMPARE(readAll(path), before.left(kept) + trailer::encode(info));
        const PictureReadResult back = ReadPictureInfo(path);
        QVERIFY(!back.error);
        QCOMPARE(trimmed(back.info), info);
    }

    void failedSaveLeavesFileAsItWas_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("withTrailer");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const int open = int(TrailerError::Kind::CannotOpen), write = int(TrailerError::Kind::CannotWrite);
        QTest::newRow("size limit, append") << "limit" << false << write << "Datei zu groß für dieses Dateisystem";
        QTest::newRow("size limit, overwrite") << "limit" << true << write << "Datei zu groß für dieses Dateisystem";
        QTest::newRow("full disk") << "full" << false << write << "Datenträger voll";
        QTest::newRow("vanished") << "vanished" << true << int(TrailerError::Kind::Missing)
                                  << "bild.jpg\" ist nicht mehr";
        QTest::newRow("read-only") << "readonly" << false << open << "keine Berechtigung";
        QTest::newRow("a folder") << "folder" << false << open << "keine gewöhnliche Datei";
    }
    void failedSaveLeavesFileAsItWas()
    {
        QFETCH(QString, fault);
        QFETCH(bool, withTrailer);
        QFETCH(int, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        const bool full = fault == QLatin1String("full");
        if (full && (::geteuid() != 0 || ::mount("zv-full", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0))
            QSKIP("mounting a small tmpfs needs root");
        const auto unmount = qScopeGuard([&] {
            if (full)
                ::umount2(mountPoint.constData(), MNT_DETACH);
        });
        const QString path = dir.filePath(QStringLiteral("bild.jpg"));
        // 4000 bytes fill one page: on the full disk the trailer needs a second.
        PictureInfo earlier;
        earlier.ort = QStringLiteral("alt");
        const QByteArray before = mediaBytes(4000) + (withTrailer ? trailer::encode(earlier) : QByteArray());
        QVERIFY(writeAll(path, before));
        QVERIFY(!ReadPictureInfo(path).error); // as the window loads it
        QByteArray after = before;
        const auto refused = [&] {
            const TrailerError error = save(path);
            return int(error.kind) == kind && error.message.contains(message)
                   && !error.message.contains(QStringLiteral("beschädigt"));
        };
        rlimit old{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        rlimit tight = old;
        if (fault == QLatin1String("limit")) // part of the trailer fits under the limit
            tight.rlim_cur = before.size() - (withTrailer ? 500 : -300);
        if (fault == QLatin1String("vanished") || fault == QLatin1String("folder")) {
            QVERIFY(QFile::remove(path));
            after.clear(); // not made anew
        }
        if (fault == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        QFile filler(dir.filePath(QStringLiteral("filler"))); // takes what the full disk has left
        QVERIFY(!full || filler.open(QIODevice::WriteOnly));
        while (full && filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) { }
        filler.close();
        if (fault == QLatin1String("readonly")) {
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        }
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
        // Root writes regardless of permissions.
        const bool ok = fault == QLatin1String("readonly") ? test::runAsOtherUser(refused) : refused();
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &old) == 0);
        QVERIFY(ok);
        QCOMPARE(readAll(path), after);
    }

    // DIR holds Bilder (echt.jpg, a fifo and the link) and, outside it, notizen.txt; Verweis is a
    // link to Bilder, which the user may make. The writer is told the folder writes stay in, or
    // not (then it is the one the link lies in).
    void links_data()
    {
        QTest::addColumn<QString>("target"); // what Bilder/link.jpg points to
        QTest::addColumn<QString>("folder"); // the folder named to the writer, and the link's way in
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("kind"); // of the write's error
        const int none = int(TrailerError::Kind::None), out = int(TrailerError::Kind::LeadsOut);
        QTest::newRow("file beside it") << "echt.jpg"
                                        << "Bilder" << true << none;
        QTest::newRow("file beside it, folder not named") << "echt.jpg"
                                                          << "" << true << none;
        QTest::newRow("absolute, into the folder") << "DIR/Bilder/echt.jpg"
                                                   << "Bilder" << true << none;
        QTest::newRow("through a linked folder") << "echt.jpg"
                                                 << "Verweis" << true << none;
        QTest::newRow("up and out") << "../notizen.txt"
                                    << "Bilder" << true << out;
        QTest::newRow("absolute, out") << "DIR/notizen.txt"
                                       << "Bilder" << true << out;
        QTest::newRow("out, folder not named") << "../notizen.txt"
                                               << "" << true << out;
        QTest::newRow("out, through a linked folder") << "../notizen.txt"
                                                      << "Verweis" << true << out;
        QTest::newRow("fifo") << "fifo"
                              << "Bilder" << false << int(TrailerError::Kind::CannotOpen);
        QTest::newRow("dangling") << "fehlt.jpg"
                                  << "Bilder" << false << int(TrailerError::Kind::Missing);
    }
    void links()
    {
        QFETCH(QString, target);
        QFETCH(QString, folder);
        QFETCH(bool, readable);
        QFETCH(int, kind);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Bilder")));
        QVERIFY(QFile::link(QStringLiteral("Bilder"), dir.filePath(QStringLiteral("Verweis"))));
        const QString echt = dir.filePath(QStringLiteral("Bilder/echt.jpg"));
        const QString notes = dir.filePath(QStringLiteral("notizen.txt"));
        const QByteArray before = mediaBytes(3000);
        QVERIFY(writeAll(echt, before));
        QVERIFY(writeAll(notes, "Termine"));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("Bilder/fifo"))).constData(), 0644) == 0);
        QVERIFY(QFile::link(target.replace(QStringLiteral("DIR"), dir.path()),
                            dir.filePath(QStringLiteral("Bilder/link.jpg"))));
        const QString way = folder.isEmpty() ? dir.filePath(QStringLiteral("Bilder")) : dir.filePath(folder);
        const QString link = way + QStringLiteral("/link.jpg");
        // A fifo would block an open for reading; neither call may hang. Reading is always allowed.
        QCOMPARE(bool(ReadPictureInfo(link).error), !readable);
        const TrailerError error = save(link, folder.isEmpty() ? QString() : way + QLatin1Char('/'));
        QCOMPARE(int(error.kind), kind);
        if (kind == int(TrailerError::Kind::LeadsOut))
            QVERIFY2(error.message.contains(QStringLiteral("link.jpg"))
                         && error.message.contains(QStringLiteral("außerhalb")),
                     qPrintable(error.message));
        QCOMPARE(writeNewFile(link, "neu"), EEXIST); // a new file is never made through a link
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(echt).size(), before.size() + (kind == int(TrailerError::Kind::None) ? 914 : 0));
        QCOMPARE(readAll(notes), QByteArray("Termine"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Bilder/fehlt.jpg"))));
    }
};

QTEST_GUILESS_MAIN(TestPictureTrailer)
#include "tst_picturetrailer.moc"
