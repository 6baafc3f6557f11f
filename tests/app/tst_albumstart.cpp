// Loading an album: the folder read in parallel, the list as a working store, and the start-up;
// and the warning before a typed date is stored as no date.
#include "app/AlbumWindowPort.h"
#include "app/frmStart.h"
#include "latencyfs/LatencyMount.h"
#include "model/AlbumListModel.h"
#include "model/AlbumLoader.h"
#include "model/DateForm.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "support/CoreChecks.h"
#include "support/Fakes.h"
#include "support/OtherUser.h"

#include <QAbstractItemModelTester>
#include <QDataStream>
#include <QDir>
#include <QFont>
#include <QImageReader>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <numeric>

using namespace zv;
using test::writeAll;

namespace {

QStringList namesOf(const AlbumListModel &model)
{
    QStringList list;
    for (int r = 0; r < model.rowCount(); ++r)
        list << model.text(r, AlbumListModel::Dateiname);
    return list;
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

bool sameEntries(const Album &a, const Album &b)
{
    return std::equal(a.entries().begin(), a.entries().end(), b.entries().begin(), b.entries().end(),
                      [](const AlbumEntry &x, const AlbumEntry &y) {
                          return x.name == y.name && x.kind == y.kind && x.sizeKB == y.sizeKB
                                 && x.attributes == y.attributes && x.info == y.info;
                      });
}

// One entry per name; each text tells its column and its file apart, videos are read-only.
Album albumOf(const QStringList &files)
{
    Album album;
    for (const QString &name : files) {
        const bool video = name.endsWith(QLatin1String(".mpg"));
        AlbumEntry e;
        e.name = name;
        e.kind = video ? MediaKind::Video : MediaKind::Bild;
        e.sizeKB = name.size();
        e.info = {{}, u'N' + name, u'O' + name, QStringLiteral("01.01.2000"), u'A' + name, {}};
        e.attributes = video ? ReadOnlyAttribute : 0;
        album.append(e);
    }
    return album;
}

class RecordingWindow : public AlbumWindowPort {
public:
    QStringList calls;
    void setSaveLocked(bool locked) override { calls << QStringLiteral("locked=%1").arg(locked); }
    void FillList(const std::function<void(int, int)> &progress) override
    {
        progress(2, 2);
        calls << QStringLiteral("fill");
    }
    void showMainWindow() override { calls << QStringLiteral("show"); }
};

} // namespace

class TestAlbumStart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One folder with every kind of entry the loader meets, among enough files to keep many threads
    // busy. The loads run as another user, to whom one file is unreadable; many threads must
    // deliver what the serial loader finds, in the directory's order, on the calling thread.
    void loadsTheFolderAsItLies()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
        for (int i = 0; i < 300; ++i)
            QVERIFY(writeAll(dir.filePath(QStringLiteral("%1.%2").arg((i * 37) % 1009).arg(i % 3 ? "jpg" : "mpg")),
                             i % 2 ? withOrt(100 * i, QByteArray::number(i)) : QByteArray(100 * i, 'm')));
        const QList<QPair<const char *, QByteArray>> files{{"b.MPEG", QByteArray(512, 'm')},
                                                           {"e.JPG", QByteArray(1536, 'm')},
                                                           {"g.bmp", QByteArray(2560, 'm')},
                                                           {"i.jpg.txt", "x"},
                                                           {"euro.jpg", withOrt(1000, "\x80 K\xf6ln")},
                                                           {"blanks.jpg", withOrt(10, "   Rom")},
                                                           {"bare.gif", withOrt(0, "Ulm")},
                                                           {"newline.avi", withOrt(5, "Bonn\r\n")},
                                                           {"c1.jpeg", withOrt(5, "a\x81")},
                                                           {"geheim.jpg", withOrt(3000 - 914, "Rom")},
                                                           {"Unterordner/c.jpg", "x"},
                                                           {".zvcopy-a1b2c3d4.part", "a killed import's copy"}};
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
            return loadAlbum(
                dir.path(),
                [&](int d, int) {
                    if (d == 0)
                        QFile::remove(vanishing); // listed, not yet opened
                    done << (QThread::currentThread() == thread() ? d : -1);
                },
                threads);
        };
        // What the loads found, gathered as the other user and checked here.
        const std::optional<QByteArray> report = test::probeAsOtherUser([&] {
            const Album serial = load(1);
            const QList<int> serialDone = done;
            const Album parallel = load(48);
            QStringList seen, inParallel;
            for (const auto &[name, bytes] : files)
                if (const AlbumEntry *e = serial.find(QString::fromUtf8(name)))
                    seen << QStringLiteral("%1 %2 %3 %4 %5")
                                .arg(e->name, KindNames(e->kind))
                                .arg(e->sizeKB)
                                .arg(e->info.ort, e->info.datum);
            // The Latin-1 name leads back to its bytes and loads again.
            if (const AlbumEntry *kaese = serial.find(decodeFileName("K\xe4se.jpg")))
                seen << QStringLiteral("%1 %2 %3 %4")
                            .arg(displayFileName(kaese->name), KindNames(kaese->kind))
                            .arg(int(nativePath(dir.path() + u'/' + kaese->name) == latin1))
                            .arg(int(loadEntry(dir.path(), kaese->name).has_value()));
            for (const AlbumEntry &e : parallel.entries())
                inParallel << e.name;
            QByteArray out;
            QDataStream stream(&out, QIODevice::WriteOnly);
            stream << seen << listMediaFiles(dir.path()) << inParallel << serialDone << done
                   << sameEntries(serial, parallel);
            return out;
        });
        ::unlink(latin1.constData()); // QTemporaryDir cannot name it
        QVERIFY2(report, "the loads as another user did not finish");
        struct {
            QStringList seen, listed, parallel;
            QList<int> serialDone, parallelDone;
            bool sameEntries = false;
        } f;
        QDataStream stream(*report);
        stream >> f.seen >> f.listed >> f.parallel >> f.serialDone >> f.parallelDone >> f.sameEntries;

        const QStringList expected{"b.MPEG Video 0  ",
                                   "e.JPG Bild 2  ",
                                   "g.bmp Bild 2  ",
                                   "i.jpg.txt unbekannt 0  ",
                                   "euro.jpg Bild 2 € Köln 01.05.2001",
                                   "blanks.jpg Bild 1    Rom 01.05.2001",
                                   "bare.gif Bild 1 Ulm 01.05.2001",
                                   "newline.avi Video 1 Bonn\r\n 01.05.2001",
                                   "c1.jpeg Bild 1 a\u0081 01.05.2001",
                                   "geheim.jpg Bild 3  ",
                                   "Käse.jpg Bild 1 1"};
        QCOMPARE(f.seen, expected);
        QCOMPARE(f.listed.size(), 300 + 10 + 1);
        QCOMPARE(f.parallel, f.listed); // in the folder's own order
        QStringList byName = f.listed;
        byName.sort();
        QVERIFY2(f.listed != byName, "the folder's order is sorted; the order checks prove nothing");
        QList<int> counted(f.listed.size() + 3); // the vanished file and the link to the pipe count too
        std::iota(counted.begin(), counted.end(), 0);
        QCOMPARE(f.serialDone, counted);
        QCOMPARE(f.parallelDone, counted);
        QVERIFY2(f.sameEntries, "serial and parallel loads differ");
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
        const QStringList listed = listMediaFiles(dir.path());
        QVERIFY(std::equal(listed.begin(), listed.end(), serial.entries().begin(), serial.entries().end(),
                           [](const QString &name, const AlbumEntry &e) { return name == e.name; }));
        QCOMPARE(serial.find(QStringLiteral("7919.jpg"))->info.ort, QStringLiteral("1"));
        for (const int inFlight : {2, 48, 0}) {
            QList<QPair<int, int>> calls;
            const Album parallel = loadAlbum(
                dir.path(),
                [&](int done, int total) {
                    calls.append({QThread::currentThread() == thread() ? done : -1, total});
                },
                inFlight);
            QVERIFY2(sameEntries(serial, parallel), qPrintable(QString::number(inFlight)));
            QCOMPARE(calls.first(), qMakePair(0, 2100));
            QCOMPARE(calls.last(), qMakePair(2100, 2100));
            QVERIFY(std::is_sorted(calls.begin(), calls.end()));
        }
    }

    // A share that answers in any order, each request waiting up to 1 ms: the threads' answers
    // still reach the album in listing order.
    void answersOutOfOrder()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 600; ++i)
            QVERIFY(writeAll(dir.filePath(QStringLiteral("%1.jpg").arg((i * 7919) % 10007)),
                             i % 2 ? withOrt(i, QByteArray::number(i)) : QByteArray(i, 'm')));
        const LatencyMount share(dir.path(), 500, true);
        if (!share.mounted())
            QSKIP(qPrintable(share.why()));
        const Album local = loadAlbum(dir.path(), {}, 1);
        for (const int inFlight : {64, 0})
            QVERIFY2(sameEntries(local, loadAlbum(share.path(), {}, inFlight)), qPrintable(QString::number(inFlight)));
    }

    // Filled twice (a refill replaces), edited, renamed only when the handler agrees, sorted
    // stably; then rows go in runs, one call each, or one layout change for many runs. The
    // selected row follows its row throughout.
    // The kind is what the program can show: the engine plays every video container here, the
    // picture loader decodes every picture format; the rest, sounds and documents too, is unknown.
    void kinds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const char *video : {"b.MPEG", "a.avi", "m.mov", "p.mp4", "p.M4V", "c.mkv", "w.webm", "h.3gp", "k.mts",
                                  "k.m2ts", "w.wmv", "f.flv", "o.ogv"})
            QTest::newRow(video) << video << "Video";
        for (const char *picture : {"a.jpg", "s.png", "w.webp", "t.tif", "t.TIFF"})
            QTest::newRow(picture) << picture << "Bild";
#ifdef ZV_HEIF_PICTURES
        const char *heif = "Bild";
#else
        const char *heif = "unbekannt"; // built without libheif
#endif
#ifdef ZV_AVIF_PICTURES
        const char *avif = "Bild";
#else
        const char *avif = "unbekannt";
#endif
        QTest::newRow("i.HEIC") << "i.HEIC" << heif;
        QTest::newRow("i.heif") << "i.heif" << heif;
        QTest::newRow("a.avif") << "a.avif" << avif;
        for (const char *other : {"s.mp3", "s.wav", "d.pdf", "v.svg", "r.cr2", "mp4", "ohne", "i.jpg.txt"})
            QTest::newRow(other) << other << "unbekannt";
    }
    void kinds()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath(name), "x"));
        const Album album = loadAlbum(dir.path());
        QCOMPARE(int(album.size()), 1);
        QCOMPARE(KindNames(album.entries().front().kind), kind);
    }

    void listModel_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("calls"); // rowsRemoved; -1: one layout change instead
        QTest::newRow("runs at both ends") << QList<int>{0, 3, 4, 199} << 3;
        QList<int> many;
        for (int r = 1; r < 200; r += 2)
            many << r;
        many.insert(many.size() - 1, 198);
        QTest::newRow("a hundred runs") << many << -1;
    }
    void listModel()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, calls);
        AlbumListModel model;
        QAbstractItemModelTester tester(&model);
        QStringList expected;
        for (int i = 0; i < 200; ++i)
            expected << QStringLiteral("f%1.%2").arg(i).arg(i == 3 ? "mpg" : "jpg");
        Album album = albumOf(expected);
        model.follow(album);
        model.fill(album);
        model.fill(album);
        QCOMPARE(model.rowCount(), 200);
        const QStringList cells{"f3.mpg", "6", "01.01.2000", "Of3.mpg", "Nf3.mpg", "Af3.mpg", "Video", "X"};
        for (int c = 0; c < AlbumListModel::ColumnCount; ++c)
            QCOMPARE(model.data(model.index(3, c), Qt::DisplayRole).toString(), cells[c]);
        QCOMPARE(model.text(1, AlbumListModel::Schreibschutz), QString());
        QCOMPARE(model.data(model.index(3, 0), AlbumListModel::RowKeyRole).toString(), QStringLiteral("D4"));
        PictureInfo info;
        info.namen = QStringLiteral("Oma");
        info.anlass = QStringLiteral("Geburtstag");
        model.setRowInfo(3, info);
        QCOMPARE(model.text(3, AlbumListModel::Namen), QStringLiteral("Oma"));
        QCOMPARE(model.text(3, AlbumListModel::Anlass), QStringLiteral("Geburtstag"));
        QStringList asked;
        bool agree = false;
        model.setRenameHandler([&](int row, const QString &name) {
            asked << QString::number(row) + name;
            return agree && album.rename(*album.indexOf(model.row(row).name), name);
        });
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
        QCOMPARE(model.text(0, 0), QStringLiteral("f0.jpg"));
        agree = true;
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
        QCOMPARE(asked, (QStringList{"0x.jpg", "0x.jpg"}));
        QCOMPARE(model.rowOf(QStringLiteral("x.jpg")), 0);
        QCOMPARE(model.rowOf(QStringLiteral("X.JPG")), -1); // names are exact
        expected[0] = QStringLiteral("x.jpg");
        QItemSelectionModel selection(&model);
        selection.select(model.index(10, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); // "f10.jpg"
        const auto longerFirst = [](const QString &x, const QString &y) { return x.size() > y.size(); };
        model.sortRows([&](const ListRow &x, const ListRow &y) { return longerFirst(x.name, y.name); });
        std::stable_sort(expected.begin(), expected.end(), longerFirst);
        QCOMPARE(namesOf(model), expected);
        QCOMPARE(expected.indexOf(QStringLiteral("f10.jpg")), 100);
        QCOMPARE(selection.selectedRows().value(0).row(), 100);
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            expected.removeAt(*it);
        // What a view reads while the runs are announced must already be the rows that remain.
        QStringList seenAfterLastCall;
        const auto look = [&] { seenAfterLastCall = namesOf(model); };
        connect(&model, &QAbstractItemModel::rowsRemoved, this, look);
        connect(&model, &QAbstractItemModel::layoutChanged, this, look);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy relaid(&model, &QAbstractItemModel::layoutChanged);
        model.removeRowList(std::vector<int>(rows.begin(), rows.end()));
        QCOMPARE(removed.size(), std::max(calls, 0));
        QCOMPARE(relaid.size(), calls < 0 ? 1 : 0);
        QCOMPARE(selection.selectedRows().size(), 1);
        QCOMPARE(namesOf(model)[selection.selectedRows()[0].row()], QStringLiteral("f10.jpg"));
        QCOMPARE(namesOf(model), expected);
        QCOMPARE(seenAfterLastCall, expected);
        QCOMPARE(model.text(0, AlbumListModel::Namen), QLatin1Char('N') + expected[0]);
    }

    // Every change of the album reaches the rows of exactly that name, and only those, also
    // among names that differ only in case and while a search hides rows.
    void listFollowsTheAlbum()
    {
        Album album = albumOf({"A.jpg", "a.jpg", "b.mpg", "c.jpg"});
        AlbumListModel model;
        QAbstractItemModelTester tester(&model);
        model.follow(album);
        model.fill(album);
        PictureInfo info;
        info.ort = QStringLiteral("Sylt");
        album.replaceInfo(*album.indexOf(QStringLiteral("a.jpg")), info);
        QCOMPARE(model.text(model.rowOf(QStringLiteral("a.jpg")), AlbumListModel::Ort), QStringLiteral("Sylt"));
        QCOMPARE(model.text(model.rowOf(QStringLiteral("A.jpg")), AlbumListModel::Ort), QStringLiteral("OA.jpg"));

        AlbumEntry fresh = album.at(*album.indexOf(QStringLiteral("c.jpg")));
        fresh.sizeKB = 77;
        album.replaceFile(*album.indexOf(QStringLiteral("c.jpg")), fresh);
        QCOMPARE(model.text(model.rowOf(QStringLiteral("c.jpg")), AlbumListModel::Groesse), QStringLiteral("77"));

        QVERIFY(!album.rename(*album.indexOf(QStringLiteral("A.jpg")), QStringLiteral("a.jpg")));
        QVERIFY(album.rename(*album.indexOf(QStringLiteral("A.jpg")), QStringLiteral("Z.jpg")));
        QCOMPARE(namesOf(model), (QStringList{"Z.jpg", "a.jpg", "b.mpg", "c.jpg"}));
        QVERIFY(album.containsAnyCase(QStringLiteral("z.JPG")) && album.containsAnyCase(QStringLiteral("A.JPG")));

        model.removeRowsIf([](const ListRow &row) { return row.name == QLatin1String("c.jpg"); }); // a search
        album.removeNamed({QStringLiteral("a.jpg"), QStringLiteral("c.jpg")});
        QCOMPARE(namesOf(model), (QStringList{"Z.jpg", "b.mpg"}));
        QVERIFY(!album.containsAnyCase(QStringLiteral("A.jpg")));

        AlbumEntry added;
        added.name = QStringLiteral("neu.jpg");
        added.attributes = ReadOnlyAttribute;
        album.append(added);
        QCOMPARE(album.entryCount(), 5); // removals never lower the count that numbers new rows
        QCOMPARE(namesOf(model).last(), QStringLiteral("neu.jpg"));
        QCOMPARE(AlbumListModel::rowKey(model.row(2)), QStringLiteral("D5"));
        QCOMPARE(model.text(2, AlbumListModel::Schreibschutz), QString()); // the mark waits for a full filling

        // The shown file's row is set apart while marked, and the mark follows a rename.
        QFont slanted;
        slanted.setItalic(true);
        model.setDecorations({}, slanted); // the window's font; the model decides which row wears it
        model.setMarkedName(QStringLiteral("b.mpg"));
        QVERIFY(model.data(model.index(1, 0), Qt::FontRole).value<QFont>().italic());
        QVERIFY(!model.data(model.index(0, 0), Qt::FontRole).isValid());
        album.rename(*album.indexOf(QStringLiteral("b.mpg")), QStringLiteral("v.mpg"));
        QCOMPARE(model.markedName(), QStringLiteral("v.mpg"));
        album.removeNamed({QStringLiteral("v.mpg")});
        QVERIFY(model.markedName().isEmpty());
    }

    // A typed text and the stored form the warning names; no warning where that is empty. Only
    // the day or the month may be "xx", and the day must be one its month has.
    void dateFormWarning_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const auto fine = [](const char *name, const char *typed) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString();
        };
        const auto warned = [](const char *name, const char *typed, const char *stored) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(stored);
        };
        fine("empty box", "");
        fine("year", "2003");
        fine("month without zero", "5.2003");
        fine("month", "05.2003");
        fine("day without zero", "1.05.2003");
        fine("whole date", "01.05.2003");
        fine("unknown day and month typed", "xx.xx.2003");
        fine("unknown day typed", "xx.05.2003");
        fine("unknown month, day 31", "31.xx.2003");
        fine("leap day", "29.02.2004");
        fine("leap day every 400 years", "29.02.2000");
        fine("last of December", "31.12.1999");
        warned("eight characters", "1.1.2003", "xx.xx.xxxx");
        warned("day and month without zeros", "12.5.2003", "012.5.2003");
        warned("three characters", "200", "xx.xx.xxxx");
        warned("a blank only", " ", "xx.xx.xxxx");
        warned("trailing blank", "2003 ", "xx.xx.xxxx");
        warned("letters", "abcd", "xx.xx.abcd");
        warned("unknown date typed", "xx.xx.xxxx", "xx.xx.xxxx");
        warned("unknown year", "xx.05.xxxx", "xx.05.xxxx");
        warned("capital XX", "XX.05.2003", "XX.05.2003");
        warned("six digits", "052003", "xx.0052003");
        warned("dashes", "01-05-2003", "01-05-2003");
        warned("full-width digits", "０１.05.2003", "０１.05.2003");
        warned("day 32", "32.01.2003", "32.01.2003");
        warned("day 00", "00.01.2003", "00.01.2003");
        warned("month 13", "01.13.2003", "01.13.2003");
        warned("month 00", "01.00.2003", "01.00.2003");
        warned("31 April", "31.04.2003", "31.04.2003");
        warned("29 February, no leap year", "29.02.2003", "29.02.2003");
        warned("29 February 1900", "29.02.1900", "29.02.1900");
    }
    void dateFormWarning()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const std::optional<QString> warning = zv::dateFormWarning(typed);
        const std::optional<QString> question = dateFormQuestion(typed);
        QCOMPARE(warning.has_value(), !stored.isEmpty());
        QCOMPARE(question.has_value(), !stored.isEmpty());
        if (stored.isEmpty())
            return;
        QVERIFY2(warning->startsWith(
                     QStringLiteral("Das eingegebene Datum „%1“ wird als „%2“ gespeichert").arg(typed, stored)),
                 qPrintable(*warning));
        QVERIFY(warning->contains(stored == QLatin1String("xx.xx.xxxx") ? QStringLiteral("unbekanntes Datum")
                                                                        : QStringLiteral("kein gültiges Datum")));
        QVERIFY(warning->contains(QStringLiteral("TT.MM.JJJJ, MM.JJJJ oder JJJJ")));
        QCOMPARE(*question, *warning + QStringLiteral("\nTrotzdem speichern?"));
    }

    // The drive decides the save lock; then the album loads, or a message ends the program.
    void startup_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("bilderIsAFile");
        QTest::addColumn<int>("drive");
        QTest::addColumn<bool>("readOnlyMount");
        QTest::addColumn<bool>("locked");
        QTest::newRow("album with files") << QStringList{"a.jpg", "b.mov", "c.doc"} << false << 2 << false << false;
        QTest::newRow("empty album gets the logo") << QStringList{} << false << 1 << false << false;
        QTest::newRow("a file where Bilder belongs") << QStringList{} << true << 2 << false << false;
        QTest::newRow("unknown drive") << QStringList{} << false << 0 << false << true;
        QTest::newRow("network") << QStringList{} << false << 3 << false << false;
        QTest::newRow("cd-rom") << QStringList{} << false << 4 << false << true;
        QTest::newRow("ram disk") << QStringList{} << false << 5 << false << true;
        QTest::newRow("fixed but mounted read-only") << QStringList{} << false << 2 << true << true;
    }
    void startup()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, bilderIsAFile);
        QFETCH(int, drive);
        QFETCH(bool, readOnlyMount);
        QFETCH(bool, locked);
        const QString lock = QStringLiteral("locked=%1").arg(locked);
        QTemporaryDir dir;
        test::FakeDrives drives;
        drives.drive.type = static_cast<DriveType>(drive);
        drives.drive.readOnly = readOnlyMount;
        test::ScriptedDialogs dialogs;
        const auto store = makeFileSettings(dir.filePath(QStringLiteral("s.ini")));
        store->setValue(QStringLiteral("Skin"), QStringLiteral("SkinPath"), QStringLiteral("Blau"));
        SettingsValues settings;
        Album album;
        RecordingWindow window;
        int exitCode = -1;
        const QString bilder = dir.filePath(QStringLiteral("Bilder"));
        QVERIFY(bilderIsAFile ? writeAll(bilder, {}) : QDir().mkdir(bilder));
        for (const QString &name : files)
            QVERIFY(writeAll(bilder + u'/' + name, {}));
        auto start = std::make_unique<frmStart>(
            StartupContext{AlbumPaths{dir.path()}, drives, dialogs, *store, settings, album,
                           [&]() -> AlbumWindowPort & { return window; }, [&](int code) { exitCode = code; }});
        QCOMPARE(start->label()->text(), QStringLiteral("Dateien werden geladen..."));
        QCOMPARE(settings.SkinPath, QStringLiteral("Blau"));
        QCOMPARE(settings.Delay, QStringLiteral("3000"));
        if (files.isEmpty())
            start->loadAlbum(); // otherwise loading starts by itself a second later
        QTRY_VERIFY_WITH_TIMEOUT(!window.calls.isEmpty(), 3000);
        QVERIFY(!start->timer()->isActive());
        if (bilderIsAFile) {
            QCOMPARE(exitCode, 1);
            QCOMPARE(dialogs.shown.size(), 1);
            QVERIFY(dialogs.shown[0].startsWith(QStringLiteral("Zidoverev|")));
            QVERIFY(dialogs.shown[0].contains(QStringLiteral("liegt eine Datei")));
            QCOMPARE(window.calls, QStringList{lock});
            return;
        }
        QCOMPARE(album.size(), std::max<std::size_t>(files.size(), 1));
        QCOMPARE(album.entryCount(), int(album.size()));
        QCOMPARE(window.calls, (QStringList{lock, "fill", "show"}));
        QCOMPARE(start->progress()->value(), 2); // the window's steps reach the start-up's bar
        QCOMPARE(start->label()->text(), QStringLiteral("Bitte warten..."));
        QCOMPARE(QImageReader(bilder + QStringLiteral("/Logo.bmp")).format(),
                 files.isEmpty() ? QByteArray("bmp") : QByteArray());
        QCOMPARE(exitCode, -1);
        QVERIFY(dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestAlbumStart)
#include "tst_albumstart.moc"
