// The trailer writer when the system says no: a full disk, the file-size limit, a vanished file,
// no permission, links. Each time the media bytes stay and nothing is left behind.
#include "platform/NewFile.h"
#include "store/PictureTrailer.h"
#include "support/CoreChecks.h"
#include "support/OtherUser.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace zv;
using test::readAll;
using test::writeAll;

namespace {

TrailerError save(const QString &path)
{
    PictureInfo info;
    info.namen = QStringLiteral("Käthe");
    info.datum = QStringLiteral("01.05.2003");
    info.bemerkungen = QString(500, QLatin1Char('b'));
    return WritePictureInfo(path, info);
}

// The file as it was before the save: media bytes, with a trailer when asked.
QByteArray startingBytes(int mediaSize, bool withTrailer)
{
    PictureInfo old;
    old.ort = QStringLiteral("alt");
    return test::mediaBytes(mediaSize) + (withTrailer ? trailer::encode(old) : QByteArray());
}

} // namespace

class TestTrailerFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
        QTest::newRow("vanished") << "vanished" << true << int(TrailerError::Kind::Missing) << "bild.jpg\" ist nicht mehr";
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
        const QByteArray before = startingBytes(4000, withTrailer);
        QVERIFY(writeAll(path, before));
        QVERIFY(!ReadPictureInfo(path).error); // as the window loads it
        QByteArray after = before;
        const auto refused = [&] {
            const TrailerError error = save(path);
            return int(error.kind) == kind && error.message.contains(message)
                   && !error.message.contains(QStringLiteral("beschädigt"));
        };
        if (fault == QLatin1String("limit")) {
            // Part of the trailer fits under the limit, so the write fails halfway.
            rlimit old{};
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
            rlimit tight = old;
            tight.rlim_cur = before.size() - (withTrailer ? 500 : -300);
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
            const bool ok = refused();
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &old) == 0);
            QVERIFY(ok);
        } else if (fault == QLatin1String("vanished")) {
            QVERIFY(QFile::remove(path));
            QCOMPARE(ReadPictureInfo(path).error.kind, TrailerError::Kind::Missing);
            QVERIFY(refused());
            after.clear(); // not made anew
        } else if (full) {
            QFile filler(dir.filePath(QStringLiteral("filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
            }
            filler.close();
            QVERIFY(refused());
        } else if (fault == QLatin1String("readonly")) {
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
            QVERIFY(test::runAsOtherUser(refused)); // root writes regardless of permissions
        } else {
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
            QVERIFY(refused());
            after.clear();
        }
        QCOMPARE(readAll(path), after);
    }

    void links_data()
    {
        QTest::addColumn<QString>("target"); // what the album entry links to
        QTest::addColumn<bool>("written");
        QTest::newRow("regular file") << "echt.jpg" << true;
        QTest::newRow("fifo") << "fifo" << false;
        QTest::newRow("dangling") << "fehlt.jpg" << false;
    }
    void links()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QByteArray before = startingBytes(3000, false);
        QVERIFY(writeAll(dir.filePath(QStringLiteral("echt.jpg")), before));
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0644) == 0);
        const QString link = dir.filePath(QStringLiteral("link.jpg"));
        QVERIFY(QFile::link(target, link));
        // A fifo would block an open for reading; neither call may hang.
        QCOMPARE(bool(ReadPictureInfo(link).error), !written);
        QCOMPARE(bool(save(link)), !written);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readAll(dir.filePath(QStringLiteral("echt.jpg"))).size(), before.size() + (written ? 914 : 0));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("fehlt.jpg"))));
    }

    void newFilesAreExclusive()
    {
        QTemporaryDir dir;
        const QString victim = dir.filePath(QStringLiteral("victim"));
        QVERIFY(writeAll(victim, "keep"));
        const QString link = dir.filePath(QStringLiteral("Logo.bmp"));
        QVERIFY(QFile::link(victim, link));
        QCOMPARE(writeNewFile(link, "new"), EEXIST);
        QCOMPARE(readAll(victim), QByteArray("keep"));
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nirgends")), link)); // dangling
        QCOMPARE(writeNewFile(link, "new"), EEXIST);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("nirgends"))));
        NewFile temporary = createTemporaryFile(dir.path(), QStringLiteral("kopie"));
        QCOMPARE(temporary.error, 0);
        QVERIFY(temporary.handle.isOpen());
        QVERIFY(temporary.path.startsWith(dir.path() + QStringLiteral("/.kopie-")));
    }
};

QTEST_GUILESS_MAIN(TestTrailerFaults)
#include "tst_trailerfaults.moc"
