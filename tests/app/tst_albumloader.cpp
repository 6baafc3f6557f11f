#include "app/AlbumLoader.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"
#include "support/CoreChecks.h"
#include "support/OtherUser.h"

#include <QDebug>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

#include <algorithm>
#include <numeric>

using namespace zv;
using test::writeAll;

namespace {

QStringList namesOf(const Album &album)
{
    QStringList names;
    for (const AlbumEntry &e : album.entries())
        names << e.name;
    return names;
}

bool sameEntries(const Album &a, const Album &b)
{
    return std::equal(a.entries().begin(), a.entries().end(), b.entries().begin(), b.entries().end(),
                      [](const AlbumEntry &x, const AlbumEntry &y) {
                          return x.name == y.name && x.kind == y.kind && x.sizeKB == y.sizeKB
                                 && x.attributes == y.attributes && x.info == y.info;
                      });
}

// Media bytes and a trailer whose Ort lies on disk as given (Windows-1252); Namen comes first.
QByteArray withOrt(int mediaBytes, const QByteArray &ort)
{
    QByteArray trailer(PictureInfo::TrailerSize, ' ');
    trailer.replace(0, 8, "FileInfo");
    trailer.replace(8 + 128, ort.size(), ort);
    trailer.replace(8 + 128 + 128, 10, "01.05.2001");
    return QByteArray(mediaBytes, 'm') + trailer;
}

} // namespace

class TestAlbumLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One folder with every kind of entry the loader meets, among enough files to keep many threads
    // busy. The loads run as another user, to whom one file is unreadable; each number of threads
    // must deliver what the serial loader finds, in the directory's order, on the calling thread.
    void loadsTheFolderAsItLies_data()
    {
        QTest::addColumn<int>("inFlight");
        QTest::newRow("two") << 2;
        QTest::newRow("many") << 48;
        QTest::newRow("chosen by the file system") << 0;
    }
    void loadsTheFolderAsItLies()
    {
        QFETCH(int, inFlight);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
        for (int i = 0; i < 300; ++i)
            QVERIFY(writeAll(dir.filePath(QStringLiteral("%1.%2").arg((i * 37) % 1009).arg(i % 3 ? "jpg" : "mpg")),
                             i % 2 ? withOrt(100 * i, QByteArray::number(i)) : QByteArray(100 * i, 'm')));
        const QList<QPair<const char *, QByteArray>> files{
            {"b.MPEG", QByteArray(512, 'm')},         {"e.JPG", QByteArray(1536, 'm')},
            {"g.bmp", QByteArray(2560, 'm')},         {"i.jpg.txt", "x"},
            {"euro.jpg", withOrt(1000, "\x80 K\xf6ln")}, {"blanks.jpg", withOrt(10, "   Rom")},
            {"bare.gif", withOrt(0, "Ulm")},          {"newline.avi", withOrt(5, "Bonn\r\n")},
            {"c1.jpeg", withOrt(5, "a\x81")},         {"geheim.jpg", withOrt(3000 - 914, "Rom")},
            {"Unterordner/c.jpg", "x"},               {".zvcopy-a1b2c3d4.part", "a killed import's copy"}};
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Unterordner")));
        for (const auto &[name, bytes] : files)
            QVERIFY(writeAll(dir.filePath(QString::fromUtf8(name)), bytes));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("geheim.jpg")), QFile::WriteOwner));
        const QByteArray latin1 = QFile::encodeName(dir.path()) + "/K\xe4se.jpg";
        QVERIFY(test::writeNative(latin1, "jpeg"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mpg"))).constData(), 0644), 0);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("pipe.mpg")), dir.filePath(QStringLiteral("link.mpg"))));
        const QString vanishing = dir.filePath(QStringLiteral("weg.jpg"));
        QList<int> done;
        const auto load = [&](int threads) {
            writeAll(vanishing, "x");
            done.clear();
            return loadAlbum(dir.path(), [&](int d, int) {
                if (d == 0)
                    QFile::remove(vanishing); // listed, not yet opened
                done << (QThread::currentThread() == thread() ? d : -1);
            }, threads);
        };
        const bool ok = test::runAsOtherUser([&] {
            const Album serial = load(1);
            const QList<int> serialDone = done;
            const Album parallel = load(inFlight);
            const QStringList listed = listMediaFiles(dir.path());
            QStringList byName = listed;
            byName.sort();
            QList<int> counted(listed.size() + 3); // the vanished file and the link to the pipe count too
            std::iota(counted.begin(), counted.end(), 0);
            QStringList seen;
            for (const auto &[name, bytes] : files)
                if (const AlbumEntry *e = serial.find(QString::fromUtf8(name)))
                    seen << QStringLiteral("%1 %2 %3 %4 %5")
                                .arg(e->name, KindNames(e->kind))
                                .arg(e->sizeKB)
                                .arg(e->info.ort, e->info.datum);
            const QStringList expected{"b.MPEG Video 0  ", "e.JPG Bild 2  ", "g.bmp Bild 2  ", "i.jpg.txt unbekannt 0  ",
                                       "euro.jpg Bild 2 € Köln 01.05.2001", "blanks.jpg Bild 1    Rom 01.05.2001",
                                       "bare.gif Bild 1 Ulm 01.05.2001", "newline.avi Video 1 Bonn\r\n 01.05.2001",
                                       "c1.jpeg Bild 1 a\u0081 01.05.2001", "geheim.jpg Bild 3  "};
            const AlbumEntry *kaese = serial.find(decodeFileName("K\xe4se.jpg"));
            const bool right = seen == expected && kaese && displayFileName(kaese->name) == QStringLiteral("Käse.jpg")
                               && nativePath(dir.path() + u'/' + kaese->name) == latin1 && kaese->kind == MediaKind::Bild
                               && loadEntry(dir.path(), kaese->name) && listed.size() == 300 + 10 + 1
                               && namesOf(parallel) == listed && listed != byName && done == counted
                               && serialDone == counted && sameEntries(serial, parallel);
            if (!right)
                qWarning() << seen << listed.size() << done.size() << (namesOf(parallel) == listed);
            return right;
        });
        ::unlink(latin1.constData()); // QTemporaryDir cannot name it
        QVERIFY(ok);
    }

    // More files than the listing hands out at once: the first ones are read and delivered
    // while the folder is still being listed, and the count comes later.
    void deliversWhileListing()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 2100; ++i)
            QVERIFY(writeAll(dir.filePath(QStringLiteral("%1.jpg").arg((i * 7919) % 10007)),
                             i % 2 ? withOrt(i, QByteArray::number(i)) : QByteArray(i, 'm')));
        const Album serial = loadAlbum(dir.path(), {}, 1);
        QCOMPARE(namesOf(serial), listMediaFiles(dir.path()));
        QCOMPARE(serial.find(QStringLiteral("7919.jpg"))->info.ort, QStringLiteral("1"));
        for (const int inFlight : {2, 48, 0}) {
            QList<QPair<int, int>> calls;
            const Album parallel = loadAlbum(dir.path(), [&](int done, int total) {
                calls.append({QThread::currentThread() == thread() ? done : -1, total});
            }, inFlight);
            QVERIFY2(sameEntries(serial, parallel), qPrintable(QString::number(inFlight)));
            QCOMPARE(calls.first(), qMakePair(0, 2100));
            QCOMPARE(calls.last(), qMakePair(2100, 2100));
            QVERIFY(std::is_sorted(calls.begin(), calls.end()));
        }
    }
};

QTEST_MAIN(TestAlbumLoader)
#include "tst_albumloader.moc"
