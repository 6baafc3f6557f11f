// The transfer layer over a temporary album, from the copy engine up to the windows: the number
// box, the drive chart and the folder tree; byte-identical copies, no part of a file under a real
// name, overwrite answers, numbering, free space, failures in the middle, and what the album and
// the list hold afterwards.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"
#include "support/TransferChecks.h"
#include "support/TransferFakes.h"

#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "model/AlbumLoader.h"
#include "operations/ImportRun.h"
#include "operations/ImportSources.h"
#include "operations/NewAlbum.h"
#include "operations/Numbering.h"
#include "platform/FileCopy.h"
#include "platform/SettingsStore.h"
#include "transfer/DriveChart.h"
#include "transfer/FolderFiles.h"
#include "transfer/FolderTree.h"
#include "transfer/FolderTreeView.h"
#include "transfer/frmExplorer.h"
#include "transfer/frmRequest.h"
#include "transfer/frmSaveFiles.h"
#include "transfer/TransferDriver.h"
#include "transfer/TransferIcons.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QTreeWidget>

#include <cerrno>
#include <cmath>
#include <numbers>
#include <sys/stat.h>
#include <unistd.h>

using namespace zv;
using namespace zv::test;

namespace {

DriveInfo drive(const QString &root, DriveType type, qint64 freeBytes = 0, qint64 totalBytes = 0, bool ready = true)
{
    return {root, root, type, false, freeBytes, totalBytes, ready};
}

DriveInfo disk(qint64 freeBytes, qint64 totalBytes, bool ready = true)
{
    return drive("/", DriveType::Fixed, freeBytes, totalBytes, ready);
}

// Five drives over a small folder tree in memory.
struct TreeFixture {
    QList<DriveInfo> drives{drive("/", DriveType::Fixed), drive("/media/cd", DriveType::CdRom),
                            drive("/mnt/ram", DriveType::RamDisk), drive("/srv", DriveType::Unknown),
                            drive("/net", DriveType::Network)};
    std::shared_ptr<test::FakeFolderSource> source = std::make_shared<test::FakeFolderSource>();
    TreeFixture()
    {
        source->folders = {{"/", {"home", "usr"}},
                           {"/home", {"eva", "tom"}},
                           {"/home/eva", {"Fotos"}},
                           {"/home/tom", {}},
                           {"/usr", {}},
                           {"/mnt/ram", {"x"}},
                           {"/net", {}}};
    }
};

QStringList texts(const FolderTree &tree, const std::vector<int> &nodes)
{
    QStringList t;
    for (const int n : nodes)
        t << tree.node(n).text + QLatin1Char('=') + tree.node(n).image;
    return t;
}

QByteArray randomBytes(qsizetype n)
{
    QByteArray b(n, 'r');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(b.data()), n / 4);
    return b;
}

// A file system as exFAT and FAT through FUSE answer: no no-replace rename, no hard links.
class FatRenames : public RenameCalls {
public:
    int renameNoReplace(int, const char *, int, const char *) override { return errno = EINVAL, -1; }
    int link(int, const char *, int, const char *) override { return errno = EPERM, -1; }
};

// A disk on which no file grows past `room` bytes, a kernel without copy_file_range, a failing
// flush, a file system without nameless files, modes or no-replace renames, and another writer
// that takes a name between the check and the placing.
class FaultyIo : public CopyIo {
public:
    off_t room = off_t(1) << 40;
    bool ranged = true;
    bool syncFails = false;
    bool nameless = true;
    int modeError = 0;
    bool fat = false;
    std::function<void(const QByteArray &name)> meanwhile;
    int setMode(int fd, unsigned int mode) override
    {
        return modeError ? (errno = modeError, -1) : CopyIo::setMode(fd, mode);
    }
    int namelessFile(int dir) override { return nameless ? CopyIo::namelessFile(dir) : (errno = EOPNOTSUPP, -1); }
    void beforePlacing(const QByteArray &name) override
    {
        if (meanwhile)
            meanwhile(name);
    }
    RenameCalls &renames() override { return fat ? m_fat : CopyIo::renames(); }
    ssize_t copyRange(int in, int out, size_t length) override
    {
        if (!ranged)
            return errno = EXDEV, -1;
        return left(out) == 0 ? (errno = ENOSPC, -1) : CopyIo::copyRange(in, out, std::min(length, left(out)));
    }
    ssize_t write(int fd, const void *buffer, size_t length) override
    {
        return left(fd) == 0 ? (errno = ENOSPC, -1) : CopyIo::write(fd, buffer, std::min(length, left(fd)));
    }
    int sync(int fd) override { return syncFails ? (errno = EIO, -1) : CopyIo::sync(fd); }

private:
    size_t left(int out) const { return size_t(std::max<off_t>(0, room - ::lseek(out, 0, SEEK_CUR))); }
    FatRenames m_fat;
};

// An album, and a removable drive whose root `from` holds the files to import or takes the
// exported ones.
struct Fixture : test::AlbumFolder {
    QTemporaryDir from;
    Album album;
    AlbumListModel list;
    test::FakeDrives drives;
    test::ScriptedDialogs dialogs;
    test::ScriptedQuestion question;
    std::unique_ptr<SettingsStore> settings = makeFileSettings(from.filePath(QStringLiteral("s.ini")));
    QStringList messages;

    Fixture()
    {
        list.follow(album);
        drives.drive = drive(from.path(), DriveType::Removable, qint64(1) << 40);
    }
    QString source(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(from.filePath(name)).path());
        writeFile(from.filePath(name), bytes);
        return from.filePath(name);
    }
    void load()
    {
        album = loadAlbum(media(QString()));
        list.fill(album);
    }
    void import(const QStringList &sources, ImportOptions options = {}, CopyIo &io = systemCopyIo())
    {
        ImportRun run({AlbumPaths{path()}, album, &list, drives, *settings, question}, sources, options);
        const auto report = [&](const QString &title, const QString &text) {
            messages << title + QLatin1Char('|') + text;
        };
        if (const auto refused = run.begin())
            return report(refused->title, refused->text);
        runNow(run, report, io);
        run.end();
    }
    // The same through the driver the import browser runs, with its groups and worker threads.
    void importThroughDriver(const QStringList &sources, ImportOptions options, CopyIo &io)
    {
        ImportRun run({AlbumPaths{path()}, album, &list, drives, *settings, question}, sources, options);
        QVERIFY(!run.begin());
        TransferDriver driver(nullptr, io);
        QObject::connect(&driver, &TransferDriver::failed, [&](const TransferFailure &failure) {
            messages << failure.title + QLatin1Char('|') + failure.text;
        });
        QObject::connect(&driver, &TransferDriver::stopped, [&](const QString &title, const QString &text) {
            messages << title + QLatin1Char('|') + text;
        });
        QSignalSpy finished(&driver, &TransferDriver::finished);
        driver.start(run);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        run.end();
    }
};

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startNumber_data();
    void startNumber();
    void chart_data();
    void chart();
    void chartIsSmoothAtScale2();
    void kindIcons();
    void explorerLayout_data();
    void explorerLayout();
    void importTakesCameraDates();
    void treeReadsOneLevelAhead_data();
    void treeReadsOneLevelAhead();
    void treeSortsHidesAndFindsTheLastFolder_data();
    void treeSortsHidesAndFindsTheLastFolder();
    void placesAboveTheDrives_data();
    void placesAboveTheDrives();
    void undecodableFolderNames();
    void treeViewWaitsForNoMountAndFollowsKeys();
    void copies_data();
    void copies();
    void imports_data();
    void imports();
    void failures_data();
    void failures();
    void importFromTheList();
    void listingMessages_data();
    void listingMessages();
    void dropPlan_data();
    void dropPlan();
    void newAlbumTakesBackAFailedRun_data();
    void newAlbumTakesBackAFailedRun();
    void racesAndFileSystems_data();
    void racesAndFileSystems();
    void exportToSelectedFolder();
    void exportOpensWhereItWasLeft_data();
    void exportOpensWhereItWasLeft();
    void exportTakesANewSelection_data();
    void exportTakesANewSelection();
    void question_data();
    void question();
    void questionTellsTheTwoFiles();
    void sizes_data();
    void sizes();
};

void TestTransfer::startNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::newRow("18 digits") << "999999999999999999" << true << qint64(999999999999999999);
    QTest::newRow("empty is 0") << "" << true << qint64(0);
    QTest::newRow("zeros do not count") << "0000000000000000000000017" << true << qint64(17);
    QTest::newRow("19 digits") << "1000000000000000000" << false << qint64(0);
    QTest::newRow("letter") << "12a" << false << qint64(0);
}

void TestTransfer::startNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto n = parseStartNumber(text);
    QCOMPARE(n.has_value(), valid);
    if (valid)
        QTEST(*n, "value");
    // The box complains about non-digits only; length is the import's business.
    QCOMPARE(isNumberText(text), valid || text.size() > 18);
}

void TestTransfer::chart_data()
{
    QTest::addColumn<DriveInfo>("info");
    QTest::addColumn<QString>("freeText");
    QTest::addColumn<QString>("usedText");
    // Colour letters at 22.5°, 67.5°, ... 337.5°, counter-clockwise from 3 o'clock.
    QTest::addColumn<QString>("octants");
    QTest::newRow("1023 bytes, 1 KB") << disk(1023, 2047) << "frei:  1023 Bytes"
                                      << "belegt:  1 KB"
                                      << "ggggrrrr";
    QTest::newRow("1.5 KB up, 2.5 KB down") << disk(1536, 4096) << "frei:  2 KB"
                                            << "belegt:  2 KB"
                                            << "gggrrrrr";
    QTest::newRow("1024 KB, 1 MB") << disk(1048575, 2097151) << "frei:  1024 KB"
                                   << "belegt:  1 MB"
                                   << "ggggrrrr";
    QTest::newRow("1024 MB, 1 GB") << disk(1073741824, 2147483649) << "frei:  1024 MB"
                                   << "belegt:  1 GB"
                                   << "ggggrrrr";
    QTest::newRow("full drive, 3.5 GB up") << disk(0, 3758096384) << "frei:  0 Bytes"
                                           << "belegt:  4 GB"
                                           << "rrrrrrrr";
    QTest::newRow("free above total") << disk(5000, 2048) << "frei:  2 KB"
                                      << "belegt:  0 Bytes"
                                      << "gggggggg";
    QTest::newRow("total 0") << disk(0, 0) << "frei:  unbekannt"
                             << "belegt:  unbekannt"
                             << "........";
    QTest::newRow("not readable") << disk(500, 1000, false) << "frei:  unbekannt"
                                  << "belegt:  unbekannt"
                                  << "........";
}

void TestTransfer::chart()
{
    QFETCH(DriveInfo, info);
    QFETCH(QString, octants);
    test::FakeDrives drives;
    drives.drive = info;
    const DriveChart chart = drawInfo(drives, QStringLiteral("/album"));
    QTEST(chart.freeText, "freeText");
    QTEST(chart.usedText, "usedText");
    const bool known = octants != QLatin1String("........");
    const QColor grey(192, 192, 192);
    QCOMPARE(chart.known, known);
    QString seen;
    for (int i = 0; i < 8; ++i) {
        // Two thirds out from the centre.
        const double a = (22.5 + 45 * i) * std::numbers::pi / 180;
        const QColor c = chart.pie.pixelColor(qRound(45 + 30 * std::cos(a)), qRound(45 - 30 * std::sin(a)));
        seen += c == QColor(0, 255, 0) ? u'g' : c == QColor(255, 0, 0) ? u'r' : c == grey ? u'.' : u'?';
    }
    QCOMPARE(seen, octants);
}

// On a screen of scale 2 the pie has twice the pixels and its rim blends into the menu.
void TestTransfer::chartIsSmoothAtScale2()
{
    const DriveChart chart = drawInfo(disk(300, 1000), driveChartSize, 2);
    QCOMPARE(chart.pie.size(), driveChartSize * 2);
    QCOMPARE(chart.pie.devicePixelRatio(), 2.0);
    int blended = 0;
    for (int y = 0; y < chart.pie.height(); ++y)
        for (int x = 0; x < chart.pie.width(); ++x)
            blended += qAlpha(chart.pie.pixel(x, y)) % 255 != 0;
    QVERIFY2(blended > 100, qPrintable(QString::number(blended)));
}

// A file's kind is told by the icon's shape, which no drive has; each also comes at scale 2.
void TestTransfer::kindIcons()
{
    const auto shape = [](const QString &key) {
        return transferIcon(key).pixmap(16, 16).toImage().convertToFormat(QImage::Format_Alpha8);
    };
    const QStringList kinds{"Bild", "Video", "Audio"};
    for (const QString &kind : kinds) {
        for (const char *other : {"wechselbar", "intern", "netzwerk", "CD", "Root", "Bild", "Video", "Audio"})
            QVERIFY2(kind == QLatin1String(other) || shape(kind) != shape(QLatin1String(other)),
                     qPrintable(kind + QLatin1Char(' ') + QLatin1String(other)));
        QCOMPARE(transferIcon(kind).pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    }
}

// The browser's bottom row never overlaps or clips, at whatever size the window takes, and the
// file names get the list's free width.
void TestTransfer::explorerLayout_data()
{
    QTest::addColumn<QSize>("asked"); // empty: as it opens
    QTest::newRow("as it opens") << QSize();
    QTest::newRow("smallest") << QSize(1, 1);
    QTest::newRow("800 wide") << QSize(800, 500);
    QTest::newRow("large") << QSize(1200, 900);
}

void TestTransfer::explorerLayout()
{
    QFETCH(QSize, asked);
    Fixture f;
    frmExplorer w(ExplorerServices{AlbumPaths{f.path()}, f.album, f.list, f.drives, *f.settings, f.dialogs,
                                   makeSystemFolderSource(), &f.question});
    if (asked.isValid())
        w.resize(asked);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (asked.isValid())
        QCOMPARE(w.size(), asked.expandedTo(w.minimumSize()));
    QList<QWidget *> row;
    for (const char *name : {"chkNumber", "txtNumber", "lblBegin", "chkAufnahmedatum", "cmdAdd", "cmdCancel"})
        row << w.findChild<QWidget *>(QLatin1String(name));
    const auto *lv = w.findChild<QTreeWidget *>("lv");
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QRect r = row[i]->geometry();
        QVERIFY2(w.rect().contains(r) && r.top() >= lv->geometry().bottom(), qPrintable(row[i]->objectName()));
        const int needed = qobject_cast<QLineEdit *>(row[i]) ? 0 : row[i]->sizeHint().width(); // captions whole
        QVERIFY2(r.width() >= needed, qPrintable(row[i]->objectName()));
        for (qsizetype j = i + 1; j < row.size(); ++j)
            QVERIFY2(!r.intersects(row[j]->geometry()),
                     qPrintable(row[i]->objectName() + QLatin1Char(' ') + row[j]->objectName()));
    }
    const QHeaderView *header = lv->header();
    QCOMPARE(header->sectionSize(0) + header->sectionSize(1), lv->viewport()->width());
    QVERIFY(header->sectionSize(0) > 2 * header->sectionSize(1));
}

// With "Aufnahmedatum übernehmen" ticked the copies show their camera's day as they arrive;
// the sources stay as they were and a date the file had is kept.
void TestTransfer::importTakesCameraDates()
{
    Fixture f;
    const auto photo = [&](const QString &name, QStringList exiv2) {
        QImage picture(32, 24, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(f.from.filePath(name), "JPEG"));
        if (!exiv2.isEmpty())
            QCOMPARE(QProcess::execute(QStringLiteral("exiv2"), exiv2 << f.from.filePath(name)), 0);
    };
    const QStringList taken{"-M", "set Exif.Photo.DateTimeOriginal Ascii 2024:07:14 09:30:00"};
    photo(QStringLiteral("a.jpg"), taken);
    photo(QStringLiteral("b.jpg"), {});
    photo(QStringLiteral("c.jpg"), taken);
    photo(QStringLiteral("d.jpg"), taken);
    PictureInfo typed{{}, QStringLiteral("Eva"), {}, QStringLiteral("01.02.2003"), {}, {}};
    QVERIFY(!WritePictureInfo(f.from.filePath(QStringLiteral("c.jpg")), typed));
    PictureInfo placeOnly{{}, {}, QStringLiteral("Köln"), {}, {}, {}};
    QVERIFY(!WritePictureInfo(f.from.filePath(QStringLiteral("d.jpg")), placeOnly));
    const QByteArray source = readFile(f.from.filePath(QStringLiteral("a.jpg")));
    const QByteArray withTrailer = readFile(f.from.filePath(QStringLiteral("d.jpg")));
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("CameraDate"), QStringLiteral("1"));
    f.load();
    const auto w =
        std::make_unique<frmExplorer>(ExplorerServices{AlbumPaths{f.path()}, f.album, f.list, f.drives, *f.settings,
                                                       f.dialogs, makeSystemFolderSource(), &f.question});
    w->show();
    auto *box = w->findChild<QCheckBox *>("chkAufnahmedatum");
    QVERIFY(box && box->isChecked());
    QCOMPARE(box->text(), QStringLiteral("Aufnahmedatum übernehmen"));
    QSignalSpy listed(w.get(), &frmExplorer::listed);
    w->listFolder(f.from.path());
    QVERIFY(listed.wait());
    w->findChild<QTreeWidget *>("lv")->selectAll();
    QSignalSpy finished(w.get(), &frmExplorer::importFinished);
    QTest::mouseClick(w->findChild<QPushButton *>("cmdAdd"), Qt::LeftButton);
    QVERIFY(finished.wait());

    QCOMPARE(f.dialogs.shown.last(), QStringLiteral("|Aktion ausgeführt.\n\n2 Dateien haben ein Datum erhalten, 1 "
                                                    "hatte kein Aufnahmedatum, 1 hatte schon ein Datum."));
    const auto datum = [&](const QString &name) {
        return f.list.text(f.list.rowOf(name), AlbumListModel::Datum) + QLatin1Char('/')
               + f.album.at(*f.album.indexOf(name)).info.datum;
    };
    QCOMPARE(datum(QStringLiteral("a.jpg")), QStringLiteral("14.07.2024/14.07.2024"));
    QCOMPARE(datum(QStringLiteral("b.jpg")), QStringLiteral("/"));
    QCOMPARE(datum(QStringLiteral("c.jpg")), QStringLiteral("01.02.2003/01.02.2003"));
    QCOMPARE(readFile(f.from.filePath(QStringLiteral("a.jpg"))), source);
    // The date goes into the copy before it has its name: a trailer added, or the one there
    // rewritten in place, the picture's bytes untouched.
    QCOMPARE(readFile(f.media(QStringLiteral("a.jpg"))).left(source.size()), source);
    QCOMPARE(readFile(f.media(QStringLiteral("a.jpg"))).size(), source.size() + PictureInfo::TrailerSize);
    const QByteArray d = readFile(f.media(QStringLiteral("d.jpg")));
    QCOMPARE(d.size(), withTrailer.size());
    QCOMPARE(d.chopped(PictureInfo::TrailerSize), withTrailer.chopped(PictureInfo::TrailerSize));
    QCOMPARE(datum(QStringLiteral("d.jpg")), QStringLiteral("14.07.2024/14.07.2024"));
    QCOMPARE(ReadPictureInfo(f.media(QStringLiteral("d.jpg"))).info.ort.trimmed(), QStringLiteral("Köln"));

    box->setChecked(false); // the box's state outlives the window
    w->close();
    QCOMPARE(f.settings->value(QStringLiteral("Import"), QStringLiteral("CameraDate"), {}), QStringLiteral("0"));
}

void TestTransfer::treeReadsOneLevelAhead_data()
{
    QTest::addColumn<int>("offer");
    QTest::addColumn<QStringList>("top");
    QTest::newRow("import browser") << int(FolderTree::Offer::AllDrives)
                                    << QStringList{"/=intern", "/media/cd=CD", "/mnt/ram=ram", "/srv=unbekannt",
                                                   "/net=netzwerk"};
    QTest::newRow("export dialog") << int(FolderTree::Offer::NoCdOrUnknown)
                                   << QStringList{"/=intern", "/mnt/ram=ram", "/net=netzwerk"};
}

void TestTransfer::treeReadsOneLevelAhead()
{
    QFETCH(int, offer);
    QFETCH(QStringList, top);
    TreeFixture f;
    FolderTree tree;
    tree.readNow(tree.fill(f.drives, FolderTree::Offer(offer)), *f.source);
    QCOMPARE(texts(tree, tree.topLevel()), top);
    QCOMPARE(f.source->reads.load(), top.size());
    const int cd = tree.find(QStringLiteral("drive:/media/cd"));
    if (cd >= 0)
        QVERIFY(tree.node(cd).children.empty() && tree.node(cd).unreadable);

    const int root = tree.find(QStringLiteral("drive:/"));
    tree.readNow(tree.expand(root), *f.source);
    QCOMPARE(f.source->reads - top.size(), 3); // / again, /home and /usr, not deeper
    QCOMPARE(tree.node(root).image, QStringLiteral("intern"));
    const int home = tree.find(QStringLiteral("/home"));
    QCOMPARE(texts(tree, tree.node(home).children), (QStringList{"eva=zu", "tom=zu"}));

    tree.readNow(tree.expand(home), *f.source);
    QCOMPARE(tree.node(home).image, QStringLiteral("auf"));
    QCOMPARE(texts(tree, tree.node(tree.find(QStringLiteral("/home/eva"))).children), QStringList{"Fotos=zu"});
    const int nodes = tree.size();
    const int reads = f.source->reads;
    // An answer that arrives twice adds nothing.
    QVERIFY(tree.deliver(tree.find(QStringLiteral("/home/eva")), f.source->subfolders(QStringLiteral("/home/eva")))
                .empty());
    QCOMPARE(tree.size(), nodes);
    // Opened again, the folder is read again: one made meanwhile appears in its place, read ahead.
    f.source->folders[QStringLiteral("/home")] << QStringLiteral("Anna");
    f.source->folders.insert(QStringLiteral("/home/Anna"), {"x"});
    tree.readNow(tree.expand(home), *f.source);
    QCOMPARE(texts(tree, tree.node(home).children), (QStringList{"Anna=zu", "eva=zu", "tom=zu"}));
    QCOMPARE(texts(tree, tree.node(tree.find(QStringLiteral("/home/Anna"))).children), QStringList{"x=zu"});
    QCOMPARE(f.source->reads, reads + 3); // the doubled answer, /home, /home/Anna
    tree.collapse(home);
    QCOMPARE(tree.node(home).image, QStringLiteral("zu"));
}

// Folders sorted as German readers look them up, hidden ones left out unless the last folder lies
// in one, and the way back to the last folder, or to its nearest parent when it is gone.
void TestTransfer::treeSortsHidesAndFindsTheLastFolder_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("top"); // the root's subfolders
    QTest::addColumn<QString>("opened");
    const QStringList german{"/Zebra", "/öl", "/Bilder", "/ähren", "/Ausflug", "/bank", "/musik2", "/Musik"};
    const QStringList hidden{"/.cache",   "/home",           "/.config",  "/.config/app",
                             "/home/eva", "/home/eva/Fotos", "/home/evan"};
    QTest::newRow("German, blind to case")
        << german << QString() << QStringList{"ähren", "Ausflug", "bank", "Bilder", "Musik", "musik2", "öl", "Zebra"}
        << QString();
    QTest::newRow("hidden") << hidden << QString() << QStringList{"home"} << QString();
    QTest::newRow("last folder") << hidden << "/home/eva/Fotos/" << QStringList{"home"} << "/home/eva/Fotos";
    QTest::newRow("name that begins alike") << hidden << "/home/evan" << QStringList{"home"} << "/home/evan";
    QTest::newRow("gone: nearest parent") << hidden << "/home/eva/Urlaub/2019" << QStringList{"home"} << "/home/eva";
    QTest::newRow("in a hidden folder") << hidden << "/.config/app" << QStringList{".config", "home"} << "/.config/app";
}

void TestTransfer::treeSortsHidesAndFindsTheLastFolder()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, last);
    test::FakeFolderSource source;
    source.folders.insert(QStringLiteral("/"), {});
    for (const QString &path : folders) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        source.folders[slash == 0 ? QStringLiteral("/") : path.left(slash)] << path.mid(slash + 1);
        source.folders.insert(path, source.folders.value(path));
    }
    FolderTree tree;
    tree.setLastFolder(last);
    tree.readNow(tree.fill({drive("/", DriveType::Fixed)}, FolderTree::Offer::AllDrives), source);
    // As the view does: each step opens the parent of the node the way waits at, which reads it.
    FolderTree::Way way = tree.wayToLastFolder();
    for (int step = 0; step < 5 && !way.ends; ++step, way = tree.wayToLastFolder())
        tree.readNow(tree.expand(tree.node(way.node).parent), source);
    QVERIFY(way.ends);
    QTEST(way.node < 0 ? QString() : tree.folderOf(way.node), "opened");
    QStringList top;
    for (const int child : tree.node(0).children)
        top << tree.node(child).text;
    QTEST(top, "top");
}

// Places come first, each with its picture, even when they arrive after the drives; a place is
// also a folder of its drive or of another place, and each shows its subfolders.
void TestTransfer::placesAboveTheDrives_data()
{
    QTest::addColumn<int>("offer");
    QTest::addColumn<QStringList>("top");
    const QStringList mine{"Persönlicher Ordner=heim", "Fotos=bilder", "URLAUB=medium"};
    QTest::newRow("import browser") << int(FolderTree::Offer::AllDrives)
                                    << mine
                                           + QStringList{"FOTO_CD=CD",
                                                         "Telefon: Pixel 7=telefon",
                                                         "Kamera: EOS 600D=kamera",
                                                         "fotos auf nas=freigabe",
                                                         "/=intern",
                                                         "/media/cd=CD",
                                                         "/mnt/ram=ram",
                                                         "/srv=unbekannt",
                                                         "/net=netzwerk"};
    QTest::newRow("export dialog") << int(FolderTree::Offer::NoCdOrUnknown)
                                   << mine
                                          + QStringList{"Telefon: Pixel 7=telefon", "fotos auf nas=freigabe",
                                                        "/=intern", "/mnt/ram=ram", "/net=netzwerk"};
}

void TestTransfer::placesAboveTheDrives()
{
    QFETCH(int, offer);
    QFETCH(QStringList, top);
    struct PlacesLater : FakeDrives {
        std::atomic_bool go{false};
        QList<Place> places() const override
        {
            while (!go)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return placeList;
        }
    } drives;
    TreeFixture f;
    drives.drives = f.drives;
    drives.placeList = {{"/home/eva", "Persönlicher Ordner", PlaceKind::Home, DriveType::Fixed},
                        {"/home/eva/Fotos", "Fotos", PlaceKind::Pictures, DriveType::Fixed},
                        {"/media/eva/URLAUB", "URLAUB", PlaceKind::Medium, DriveType::Removable},
                        {"/media/eva/FOTO_CD", "FOTO_CD", PlaceKind::Medium, DriveType::CdRom},
                        {"/gvfs/mtp:host=Pixel", "Telefon: Pixel 7", PlaceKind::Phone, DriveType::Removable},
                        {"/gvfs/gphoto2:host=EOS", "Kamera: EOS 600D", PlaceKind::Camera, DriveType::Removable},
                        {"/gvfs/smb-share:server=nas", "fotos auf nas", PlaceKind::Share, DriveType::Network}};
    f.source->folders.insert(QStringLiteral("/home/eva/Fotos"), {"2024"});
    FolderTreeView view(f.source, false);
    view.fillInBackground(drives, FolderTree::Offer(offer));
    QCOMPARE(view.topLevelItemCount(), 0); // nothing is listed on the window's thread
    QTRY_VERIFY(view.topLevelItemCount() > 0); // the drives, while the places still hang
    drives.go = true;
    QTRY_COMPARE(view.pendingReads(), 0);
    QStringList shown;
    for (int i = 0; i < view.topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = view.topLevelItem(i);
        const QString image = item->data(0, FolderTreeView::ImageRole).toString();
        shown << item->text(0) + QLatin1Char('=') + image;
        QCOMPARE(item->icon(0).isNull(), image == QLatin1String("ram") || image == QLatin1String("unbekannt"));
    }
    QCOMPARE(shown, top);
    QCOMPARE(texts(view.tree(), view.tree().topLevel()), top);

    FolderTree tree;
    tree.readNow(tree.fillPlaces(drives.placeList, FolderTree::Offer(offer)), *f.source);
    tree.readNow(tree.fill(f.drives, FolderTree::Offer(offer)), *f.source);
    for (const char *key : {"place:/home/eva", "drive:/", "/home", "/home/eva"})
        tree.readNow(tree.expand(tree.find(QLatin1String(key))), *f.source);
    for (const char *key : {"place:/home/eva", "/home/eva"})
        QCOMPARE(texts(tree, tree.node(tree.find(QLatin1String(key))).children), QStringList{"Fotos=zu"});
    for (const char *key : {"place:/home/eva/Fotos", "place:/home/eva|/home/eva/Fotos", "/home/eva/Fotos"})
        QCOMPARE(texts(tree, tree.node(tree.find(QLatin1String(key))).children), QStringList{"2024=zu"});
}

void TestTransfer::undecodableFolderNames()
{
    QTemporaryDir dir;
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/M\xfcll";
    QCOMPARE(::mkdir(latin1.constData(), 0755), 0);
    QCOMPARE(::mkdir((latin1 + "/1999").constData(), 0755), 0);
    const auto source = makeSystemFolderSource();
    FolderTree tree;
    tree.readNow(tree.fill({drive(dir.path(), DriveType::Removable)}, FolderTree::Offer::AllDrives), *source);
    const int folder = tree.node(0).children.front();
    QCOMPARE(tree.node(folder).text, QStringLiteral("Müll"));
    QCOMPARE(nativePath(tree.folderOf(folder)), latin1);
    tree.readNow(tree.expand(0), *source);
    QCOMPARE(texts(tree, tree.node(folder).children), QStringList{"1999=zu"});
}

void TestTransfer::treeViewWaitsForNoMountAndFollowsKeys()
{
    TreeFixture f;
    f.source->hanging = QStringLiteral("/net");
    FolderTreeView view(f.source, true);
    view.setReadTimeout(100);
    view.show();
    view.fill(f.drives, FolderTree::Offer::AllDrives);
    const int net = view.tree().find(QStringLiteral("drive:/net"));
    QTRY_VERIFY(view.tree().node(net).unreadable);
    QCOMPARE(view.itemOf(net)->toolTip(0), QStringLiteral("nicht lesbar"));
    // The other drives arrived while /net hangs.
    QTRY_COMPARE(view.itemOf(view.tree().find(QStringLiteral("drive:/")))->childCount(), 2);
    f.source->release();
    QTRY_VERIFY(!view.tree().node(net).unreadable);
    QCOMPARE(view.itemOf(net)->toolTip(0), QString());
    QTRY_COMPARE(view.pendingReads(), 0);
    // A drive that answered with an error says which, in German.
    QCOMPARE(view.itemOf(view.tree().find(QStringLiteral("drive:/media/cd")))->toolTip(0),
             QStringLiteral("nicht lesbar: kein Datenträger eingelegt"));

    // The keys list the folder they stop on, not the ones passed; a click lists at once.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Home);
    QSignalSpy chosen(&view, &FolderTreeView::folderClicked);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    QTRY_COMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toString(), QStringLiteral("/mnt/ram"));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualItemRect(view.currentItem()).center());
    QCOMPARE(chosen.size(), 2);

    // A folder made while the tree is open shows in its place when its parent is opened again.
    QTreeWidgetItem *root = view.itemOf(view.tree().find(QStringLiteral("drive:/")));
    root->setExpanded(true);
    QTRY_COMPARE(view.pendingReads(), 0);
    root->setExpanded(false);
    f.source->folders[QStringLiteral("/")] << QStringLiteral("Archiv") << QStringLiteral(".trash");
    root->setExpanded(true);
    QTRY_COMPARE(root->childCount(), 3);
    QCOMPARE((QStringList{root->child(0)->text(0), root->child(1)->text(0), root->child(2)->text(0)}),
             (QStringList{"Archiv", "home", "usr"}));
}

void TestTransfer::copies_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failure");
    const int ok = int(CopyFailure::None);
    QTest::newRow("empty") << "" << 0 << "leer.jpg" << ok;
    QTest::newRow("over a chunk") << "" << (9 << 20) << "film.avi" << ok;
    QTest::newRow("read/write loop") << "loop" << (3 << 20) << "ton.mp3" << ok;
    QTest::newRow("under a temporary name") << "named" << (3 << 20) << "a.jpg" << ok;
    QTest::newRow("latin-1 name") << "" << 100 << decodeFileName("M\xfcll.jpg") << ok;
    QTest::newRow("write-protected source") << "readonly" << 10 << "fest.jpg" << ok;
    // An earlier export kept the mark; "Ja" replaces it all the same.
    QTest::newRow("over a write-protected copy") << "protected" << 10 << "fest.jpg" << ok;
    QTest::newRow("no target folder") << "nofolder" << 1000 << "a.jpg" << int(CopyFailure::TargetFolder);
    QTest::newRow("flush fails") << "sync" << 1000 << "a.jpg" << int(CopyFailure::WriteFailed);
    QTest::newRow("cancelled") << "cancel" << (2 << 20) << "a.jpg" << int(CopyFailure::Cancelled);
}

void TestTransfer::copies()
{
    QFETCH(QString, fault);
    QFETCH(int, size);
    QFETCH(QString, name);
    QFETCH(int, failure);
    QTemporaryDir from, to;
    const QByteArray bytes = randomBytes(size);
    const QString source = from.filePath(name);
    QVERIFY(writeFile(source, bytes));
    QVERIFY(writeFile(to.filePath(name), "old")); // replaced
    if (fault == QLatin1String("readonly"))
        ::chmod(nativePath(source).constData(), 0444);
    if (fault == QLatin1String("protected"))
        ::chmod(nativePath(to.filePath(name)).constData(), 0444);
    const QString target =
        fault == QLatin1String("nofolder") ? to.filePath(QStringLiteral("weg/a.jpg")) : to.filePath(name);
    FaultyIo io;
    io.ranged = fault != QLatin1String("loop");
    io.syncFails = fault == QLatin1String("sync");
    io.nameless = fault != QLatin1String("named");
    qint64 reported = 0;
    // While written the copy is nameless, or under a temporary name that the cleaner leaves alone.
    bool underWay = false;
    const auto progress = [&](qint64 done, qint64) {
        reported = done;
        const QStringList seen = folderNames(to.path());
        underWay = io.nameless ? seen == QStringList{name}
                               : seen.size() == 2 && isCopyTempName(seen.value(0)) && removeStaleCopies(to.path()) == 0;
        return fault != QLatin1String("cancel");
    };

    const CopyResult r = copyFile(source, target, Placing::Replace, progress, io);
    const bool copied = failure == int(CopyFailure::None);
    QTEST(int(r.failure), "failure");
    QCOMPARE(folderNames(to.path()), QStringList{name}); // no temporary file left
    QCOMPARE(readFile(to.filePath(name)), copied ? bytes : QByteArray("old"));
    if (!copied)
        return;
    QCOMPARE(r.bytes, qint64(size));
    QCOMPARE(reported, qint64(size));
    QCOMPARE(underWay, size > 0);
    struct stat st { };
    ::stat(nativePath(target).constData(), &st);
    QCOMPARE(st.st_mode & 0777, fault == QLatin1String("readonly") ? 0444u : 0644u);
}

void TestTransfer::imports_data()
{
    QTest::addColumn<QStringList>("sources"); // "2/x.jpg": x.jpg from another folder
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("start"); // "-": not numbered
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("copies"); // album name=source
    QTest::addColumn<QString>("stored");
    QTest::newRow("nein, then ja alle") << QStringList{"a.jpg", "b.jpg", "c.jpg"} << QStringList{"n", "ja"} << "-"
                                        << QStringList{"a.jpg", "b.jpg"} << QStringList{"b.jpg=b.jpg", "c.jpg=c.jpg"}
                                        << "";
    QTest::newRow("ja asks again, a new name")
        << QStringList{"a.jpg", "neu.jpg", "b.jpg"} << QStringList{"j", "n"} << "-" << QStringList{"a.jpg", "b.jpg"}
        << QStringList{"a.jpg=a.jpg", "neu.jpg=neu.jpg"} << "";
    QTest::newRow("nein alle") << QStringList{"a.jpg", "b.jpg", "neu.jpg", "c.jpg"} << QStringList{"na"} << "-"
                               << QStringList{"a.jpg"} << QStringList{"neu.jpg=neu.jpg"} << "";
    // The second is asked about while the first may still be under way.
    QTest::newRow("same name twice") << QStringList{"x.jpg", "2/x.jpg"} << QStringList{"j"} << "-"
                                     << QStringList{"x.jpg"} << QStringList{"x.jpg=2/x.jpg"} << "";
    QTest::newRow("skips numbers of other media kinds")
        << QStringList{"a.JPG", "b.jpg", "c.gif"} << QStringList{} << "5" << QStringList{}
        << QStringList{"000007.JPG=a.JPG", "000008.jpg=b.jpg", "000009.gif=c.gif"} << "10";
    QTest::newRow("skips numbers of today's formats")
        << QStringList{"a.png", "b.mp4", "c.webm"} << QStringList{} << "10" << QStringList{}
        << QStringList{"000013.png=a.png", "000015.mp4=b.mp4", "000016.webm=c.webm"} << "17";
    QTest::newRow("empty start, pdf and mp3") << QStringList{"a.pdf", "b.mp3"} << QStringList{} << "" << QStringList{}
                                              << QStringList{"000000.pdf=a.pdf", "000001.mp3=b.mp3"} << "2";
    QTest::newRow("from 0") << QStringList{"a.jpg"} << QStringList{} << "0" << QStringList{}
                            << QStringList{"000000.jpg=a.jpg"} << "1";
    QTest::newRow("seven digits") << QStringList{"a.jpg"} << QStringList{} << "1234567" << QStringList{}
                                  << QStringList{"1234567.jpg=a.jpg"} << "1234568";
    QTest::newRow("past 32 bits") << QStringList{"a.jpg", "b.jpg"} << QStringList{} << "2147483647" << QStringList{}
                                  << QStringList{"2147483647.jpg=a.jpg", "2147483648.jpg=b.jpg"} << "2147483649";
}

void TestTransfer::imports()
{
    QFETCH(QStringList, sources);
    QFETCH(QStringList, answers);
    QFETCH(QString, start);
    QFETCH(QStringList, copies);
    Fixture f;
    const QStringList old{"a.jpg", "b.jpg", "c.jpg"};
    for (const QString &name : old)
        f.file(name, "old");
    // Numbers taken by media of other kinds; a text file takes none. A killed import left a copy,
    // which goes; names only like it stay.
    for (const char *name : {"000005.pdf", "000006.mpeg", "000008.txt", "000010.heic", "000011.MP4", "000012.webp",
                             "000014.m2ts", ".zvcopy-dead0000.part", ".zvcopy-x", "f.part"})
        f.file(QLatin1String(name));
    f.load();
    const int before = f.album.entryCount();
    const int rowOfB = f.list.rowOf(QStringLiteral("b.jpg"));
    QHash<QString, QByteArray> bytes;
    QStringList paths;
    f.drives.drive.freeBytes = 0;
    for (const QString &s : sources) {
        paths << f.source(s, QByteArray(3000, 'n') + s.toUtf8());
        PictureInfo info;
        info.ort = s;
        QVERIFY(!WritePictureInfo(paths.last(), info));
        bytes[s] = readFile(paths.last());
        f.drives.drive.freeBytes = std::max<qint64>(f.drives.drive.freeBytes, bytes[s].size()); // exactly fits
    }
    f.question.answers.assign(answers.begin(), answers.end());
    QSignalSpy resets(&f.list, &QAbstractItemModel::modelReset);

    f.import(paths, {start != QLatin1String("-"), start});
    QCOMPARE(f.messages, QStringList{});
    QCOMPARE(folderNames(f.media(QString())).filter(QStringLiteral("part")), QStringList{"f.part"});
    QVERIFY(QFile::exists(f.media(QStringLiteral(".zvcopy-x"))));
    QFETCH(QStringList, asked);
    for (QString &name : asked)
        name.prepend(QStringLiteral("überschreiben?|"));
    QCOMPARE(f.question.asked, asked);
    QStringList added;
    for (const QString &copy : copies) {
        const QString name = copy.section(QLatin1Char('='), 0, 0);
        const QString source = copy.section(QLatin1Char('='), 1);
        QCOMPARE(f.bytes(name), bytes[source]);
        QVERIFY2(f.album.find(name), qPrintable(name));
        QCOMPARE(f.album.find(name)->info.ort, source);
        if (name.endsWith(QLatin1String(".pdf")) || name.endsWith(QLatin1String(".mp3")))
            QCOMPARE(f.album.find(name)->kind, MediaKind::Unbekannt);
        if (name.endsWith(QLatin1String(".png")))
            QCOMPARE(f.album.find(name)->kind, MediaKind::Bild);
        if (name.endsWith(QLatin1String(".mp4")) || name.endsWith(QLatin1String(".webm")))
            QCOMPARE(f.album.find(name)->kind, MediaKind::Video);
        const int row = f.list.rowOf(name);
        QCOMPARE(f.list.text(row, AlbumListModel::Ort), source);
        if (!old.contains(name))
            added << name;
    }
    for (const QString &name : old)
        if (!copies.contains(name + QLatin1Char('=') + name))
            QCOMPARE(f.bytes(name), QByteArray("old"));
    // Replaced files keep their place; only new names add entries and rows, at the end.
    const int count = before + int(added.size());
    QCOMPARE(f.list.rowOf(QStringLiteral("b.jpg")), rowOfB);
    QCOMPARE(f.album.entryCount(), count);
    QCOMPARE(int(f.album.size()), count);
    QCOMPARE(f.list.rowCount(), count);
    QCOMPARE(resets.count(), 0);
    const QString header = f.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
    QVERIFY(header.endsWith(QStringLiteral("[%1 Dateien geladen]").arg(count)));
    if (!added.isEmpty())
        QCOMPARE(AlbumListModel::rowKey(f.list.row(f.list.rowOf(added.last()))), QStringLiteral("D%1").arg(count));
    QFETCH(QString, stored);
    if (!stored.isEmpty())
        QCOMPARE(f.settings->value(kImportSection, kNumberKey, {}), stored);
}

void TestTransfer::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("names");
    const QString notCopied = QStringLiteral("Fehler beim Kopieren|Die Datei b.jpg wurde nicht kopiert: ");
    const QStringList abc{"a.jpg", "b.jpg", "c.jpg"};
    QTest::newRow("vanished source") << "vanished" << notCopied + "die Quelldatei ist nicht mehr vorhanden." << abc;
    QTest::newRow("source is a folder") << "folder" << notCopied + "das ist keine gewöhnliche Datei." << abc;
    QTest::newRow("disk fills up") << "full" << notCopied + "auf dem Datenträger ist nicht genügend Platz." << abc;
    QTest::newRow("disk fills up at the camera's date")
        << "full-date" << notCopied + "auf dem Datenträger ist nicht genügend Platz." << abc;
    QTest::newRow("disk fills up, no copy_file_range")
        << "full-loop" << notCopied + "auf dem Datenträger ist nicht genügend Platz." << abc;
    QTest::newRow("the album file itself") << "self" << notCopied + "Quelle und Ziel sind dieselbe Datei." << abc;
    QTest::newRow("one byte too little room")
        << "room"
        << "Kein Platz|Auf dem Datenträger ist nicht\r\ngenügend Platz für die Datei:\r\nb.jpg"
        << QStringList{"a.jpg", "b.jpg"};
    QTest::newRow("too long a start number")
        << "number"
        << "Hinweis|Die Startnummer darf höchstens 18 Ziffern haben." << QStringList{"b.jpg"};
}

void TestTransfer::failures()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, names);
    Fixture f;
    f.file(QStringLiteral("b.jpg"), "old");
    f.load();
    QByteArray bytes = randomBytes(2 << 20);
    if (fault == QLatin1String("full-date")) { // a camera's picture, with room for all but its date
        QImage picture(32, 24, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(f.from.filePath(QStringLiteral("b.jpg")), "JPEG"));
        QCOMPARE(QProcess::execute(QStringLiteral("exiv2"), {"-M",
                                                             "set Exif.Photo.DateTimeOriginal Ascii "
                                                             "2024:07:14 09:30:00",
                                                             f.from.filePath(QStringLiteral("b.jpg"))}),
                 0);
        bytes = readFile(f.from.filePath(QStringLiteral("b.jpg")));
    }
    QString b = f.source("b.jpg", bytes);
    if (fault == QLatin1String("vanished") || fault == QLatin1String("folder"))
        QFile::remove(b);
    if (fault == QLatin1String("folder"))
        QDir().mkdir(b);
    if (fault == QLatin1String("self"))
        b = f.media("b.jpg");
    if (fault == QLatin1String("room"))
        f.drives.drive.freeBytes = (2 << 20) - 1;
    f.question.answers = {"ja"};
    FaultyIo io;
    if (fault.startsWith(QLatin1String("full")))
        io.room = fault == QLatin1String("full-date") ? off_t(bytes.size() + 100) : 1 << 20;
    io.ranged = fault != QLatin1String("full-loop");
    const ImportOptions options{fault == QLatin1String("number"), QStringLiteral("12345678901234567890"),
                                fault == QLatin1String("full-date")};
    f.import({f.source("a.jpg", "a"), b, f.source("c.jpg", "c")}, options, io);
    QTEST(f.messages.join(QLatin1Char(';')), "message");
    QCOMPARE(folderNames(f.media(QString())), names); // and nothing half-done
    QCOMPARE(f.bytes("b.jpg"), QByteArray("old"));
    QCOMPARE(f.album.entryCount(), names.size());
}

// A new album that cannot be made whole leaves nothing behind and one message with the cause.
void TestTransfer::newAlbumTakesBackAFailedRun_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("too little room") << "room"
                                     << "nicht genügend Platz für das neue Album: es braucht 2,0 MB, frei sind 1,0 MB";
    QTest::newRow("a copy fails halfway")
        << "folder"
        << "„b.jpg“ konnte nicht kopiert werden, das ist keine gewöhnliche Datei. 4 von 5 Dateien";
    QTest::newRow("drive says 0 of 0") << "unknown"
                                       << "";
}

void TestTransfer::newAlbumTakesBackAFailedRun()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QTemporaryDir root;
    const AlbumPaths album{root.filePath(QStringLiteral("album"))};
    for (const char *folder : {"Bilder", "Skins/Main", "Hilfe"})
        QVERIFY(QDir(album.programFolder).mkpath(QLatin1String(folder)));
    writeFile(album.mediaFile(QStringLiteral("a.jpg")), randomBytes(1 << 20));
    if (fault == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(album.mediaFile(QStringLiteral("b.jpg"))));
    else
        writeFile(album.mediaFile(QStringLiteral("b.jpg")), randomBytes(1 << 20));
    writeFile(album.programFolder + QStringLiteral("/Skins/Main/Skin.ini"), "[Skin]\n");
    writeFile(album.programFolder + QStringLiteral("/Hilfe/Hilfe.html"), "<html/>");
    writeFile(album.programFolder + QStringLiteral("/zidoverev"), "program");
    test::FakeDrives drives;
    drives.drive = drive(root.path(), DriveType::Fixed, fault == QLatin1String("room") ? (1 << 20) : (qint64(1) << 40),
                         qint64(1) << 40);
    if (fault == QLatin1String("unknown"))
        drives.drive.freeBytes = drives.drive.totalBytes = 0;
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("neu")));
    const QString target = root.filePath(QStringLiteral("neu/Urlaub"));
    const NewAlbumOutcome outcome =
        createNewAlbum(album, target, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}, {nullptr, &drives},
                       album.programFolder + QStringLiteral("/zidoverev"));
    if (message.isEmpty()) {
        QVERIFY2(outcome.failures.isEmpty(), qPrintable(outcome.failures.join(u'\n')));
        QCOMPARE(folderNames(target + QStringLiteral("/Bilder")), (QStringList{"a.jpg", "b.jpg"}));
        return;
    }
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY2(outcome.failures.first().contains(message), qPrintable(outcome.failures.first()));
    QVERIFY(outcome.programFile.isEmpty());
    QVERIFY(!QFileInfo::exists(target)); // nothing of the run is left, its new folders neither
    QVERIFY(QFileInfo::exists(root.filePath(QStringLiteral("neu")))); // … but what it did not make stays
}

void TestTransfer::racesAndFileSystems_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("start"); // "-": no numbering
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("expected"); // name=bytes after the import
    QTest::addColumn<QString>("message");
    QTest::newRow("number taken meanwhile")
        << "race"
        << "1" << QStringList{} << QStringList{"000001.jpg=other", "000002.jpg=x2", "000003.jpg=x1"} << "";
    QTest::newRow("name taken meanwhile, kept")
        << "race"
        << "-" << QStringList{"n"} << QStringList{"x1.jpg=other", "x2.jpg=x2"} << "";
    QTest::newRow("name taken meanwhile, replaced")
        << "race"
        << "-" << QStringList{"j"} << QStringList{"x1.jpg=x1", "x2.jpg=x2"} << "";
    QTest::newRow("no nameless files") << "named"
                                       << "1" << QStringList{} << QStringList{"000001.jpg=x1", "000002.jpg=x2"} << "";
    QTest::newRow("no nameless files, number taken meanwhile")
        << "named race"
        << "1" << QStringList{} << QStringList{"000001.jpg=other", "000002.jpg=x2", "000003.jpg=x1"} << "";
    QTest::newRow("FAT: no no-replace rename, no links")
        << "named fat race"
        << "1" << QStringList{} << QStringList{"000001.jpg=other", "000002.jpg=x2", "000003.jpg=x1"} << "";
    QTest::newRow("modes not kept") << "modes"
                                    << "-" << QStringList{} << QStringList{"x1.jpg=x1", "x2.jpg=x2"} << "";
    QTest::newRow("number taken meanwhile, through the browser's driver")
        << "race driver"
        << "1" << QStringList{} << QStringList{"000001.jpg=other", "000002.jpg=x2", "000003.jpg=x1"} << "";
    QTest::newRow("name taken meanwhile, replaced, through the browser's driver")
        << "race driver"
        << "-" << QStringList{"j"} << QStringList{"x1.jpg=x1", "x2.jpg=x2"} << "";
    QTest::newRow("drive says 0 of 0") << "unknown room"
                                       << "-" << QStringList{} << QStringList{"x1.jpg=x1", "x2.jpg=x2"} << "";
    QTest::newRow("write-protected drive")
        << "read-only"
        << "-" << QStringList{} << QStringList{}
        << "Schreibgeschützt|Der Datenträger ist schreibgeschützt.\r\nDie Datei kann nicht hinzugefügt werden:\r\nx1.jpg";
}

void TestTransfer::racesAndFileSystems()
{
    QFETCH(QString, fault);
    QFETCH(QString, start);
    QFETCH(QStringList, answers);
    Fixture f;
    f.load();
    FaultyIo io;
    io.nameless = !fault.contains(QLatin1String("named"));
    io.fat = fault.contains(QLatin1String("fat"));
    io.modeError = fault == QLatin1String("modes") ? ENOSYS : 0;
    if (fault == QLatin1String("unknown room"))
        f.drives.drive.freeBytes = f.drives.drive.totalBytes = 0;
    f.drives.drive.readOnly = fault == QLatin1String("read-only");
    bool raced = false;
    if (fault.contains(QLatin1String("race"))) {
        // Another program puts a file under the first name between the check and the placing.
        io.meanwhile = [&](const QByteArray &name) {
            if (!std::exchange(raced, true))
                writeFile(f.media(QString::fromUtf8(name)), "other");
        };
    }
    f.question.answers.assign(answers.begin(), answers.end());
    const QStringList sources{f.source("x1.jpg", "x1"), f.source("x2.jpg", "x2")};
    if (fault.contains(QLatin1String("driver")))
        f.importThroughDriver(sources, {start != QLatin1String("-"), start}, io);
    else
        f.import(sources, {start != QLatin1String("-"), start}, io);
    QTEST(f.messages.join(QLatin1Char(';')), "message");
    QFETCH(QStringList, expected);
    QStringList found;
    for (const QString &name : folderNames(f.media(QString())))
        found << name + QLatin1Char('=') + QString::fromUtf8(f.bytes(name));
    // Which file gets which of two free numbers depends on when each copy is placed.
    const auto contents = [](QStringList pairs) {
        for (QString &pair : pairs)
            pair = pair.section(QLatin1Char('='), 1);
        pairs.sort();
        return pairs;
    };
    const auto names = [](QStringList pairs) {
        for (QString &pair : pairs)
            pair = pair.section(QLatin1Char('='), 0, 0);
        return pairs;
    };
    QCOMPARE(names(found), names(expected)); // nothing replaced unasked, no temporary file left
    QCOMPARE(contents(found), contents(expected));
    if (!expected.isEmpty())
        QCOMPARE(found.value(0), expected.first()); // the other program's file kept its name
    QCOMPARE(f.question.asked.size(), answers.size());
    // What the album holds is what the folder holds, the other program's file only where it was replaced.
    QCOMPARE(f.album.entryCount(), int(expected.filter(QRegularExpression("=x")).size()));
}

void TestTransfer::importFromTheList()
{
    Fixture f;
    f.file(QStringLiteral("a.jpg"), "old");
    f.source(QStringLiteral("a.jpg"), QByteArray(2048, 'a'));
    f.source(QStringLiteral("b.pdf"), QByteArray(1536, 'b'));
    f.source(QStringLiteral("c.txt"), "not listed");
    f.source(QStringLiteral("d.MOV"), "film");
    f.source(QStringLiteral("e.mp4"), "film");
    f.source(QStringLiteral("f.PNG"), "bild");
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("chkState"), QStringLiteral("1"));
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("Number"), QStringLiteral("7"));
    f.load();
    // The browser asks through its own question window.
    const auto w = std::make_unique<frmExplorer>(ExplorerServices{AlbumPaths{f.path()}, f.album, f.list, f.drives,
                                                                  *f.settings, f.dialogs, makeSystemFolderSource()});
    w->show();
    QVERIFY(w->findChild<QCheckBox *>("chkNumber")->isChecked());
    w->findChild<QCheckBox *>("chkNumber")->setChecked(false);
    auto *box = w->findChild<QLineEdit *>("txtNumber");
    QCOMPARE(box->text(), QStringLiteral("7"));
    box->clear(); // empty is a number, 0
    QTest::keyClicks(box, QStringLiteral("12a"));
    QCOMPARE(box->text(), QStringLiteral("7"));

    QSignalSpy listed(w.get(), &frmExplorer::listed);
    w->listFolder(f.from.filePath(QStringLiteral("kein/Ordner")));
    QVERIFY(listed.wait());
    QCOMPARE(f.dialogs.shown, (QStringList{"Hinweis|Bitte nur Zahlen eingeben",
                                           "Kein Datenträger|Legen die einen Datenträger in das Laufwerk"}));
    w->listFolder(f.from.path());
    QVERIFY(listed.wait());
    auto *lv = w->findChild<QTreeWidget *>("lv");
    QStringList rows;
    for (int i = 0; i < lv->topLevelItemCount(); ++i)
        rows << lv->topLevelItem(i)->text(0) + QLatin1Char('/') + lv->topLevelItem(i)->text(1);
    rows.sort();
    QCOMPARE(rows, (QStringList{"a.jpg/2", "b.pdf/2", "d.MOV/0", "e.mp4/0", "f.PNG/0"})); // 1.5 KB rounds to the even 2
    lv->selectAll();

    QStringList asked;
    bool addEnabledWhileAsking = false; // a second import must wait
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmRequest") && top->isVisible()) {
                asked << top->findChild<QLabel *>("lblMSG")->text().section(QLatin1Char('\n'), 0, 0);
                addEnabledWhileAsking |= w->findChild<QPushButton *>("cmdAdd")->isEnabled();
                top->findChild<QPushButton *>("cmdYes")->click();
            }
    });
    answer.start(10);
    QSignalSpy finished(w.get(), &frmExplorer::importFinished);
    QTest::mouseClick(w->findChild<QPushButton *>("cmdAdd"), Qt::LeftButton);
    QVERIFY(finished.wait());
    QCOMPARE(asked, QStringList{"Soll die Datei a.jpg mit a.jpg ersetzt werden?"});
    QVERIFY(!addEnabledWhileAsking);
    QVERIFY(w->findChild<QPushButton *>("cmdAdd")->isEnabled());
    QCOMPARE(f.dialogs.shown.last(), QStringLiteral("|Aktion ausgeführt."));
    QCOMPARE(w->findChild<QPushButton *>("cmdCancel")->text(), QStringLiteral("fertig"));
    QCOMPARE(w->findChild<QProgressBar *>("picDrop")->value(), 5);
    QCOMPARE(f.album.entryCount(), 5);
    QCOMPARE(f.list.text(f.list.rowOf(QStringLiteral("a.jpg")), AlbumListModel::Groesse), QStringLiteral("2"));

    for (const bool checked : {true, false}) { // the box's state outlives the window
        w->show();
        w->findChild<QCheckBox *>("chkNumber")->setChecked(checked);
        w->close();
        QCOMPARE(f.settings->value(QStringLiteral("Import"), QStringLiteral("chkState"), {}),
                 checked ? QStringLiteral("1") : QStringLiteral("0"));
    }
    // A new browser opens at the folder listed last, and lists it.
    const auto again = std::make_unique<frmExplorer>(ExplorerServices{
        AlbumPaths{f.path()}, f.album, f.list, f.drives, *f.settings, f.dialogs, makeSystemFolderSource()});
    QSignalSpy relisted(again.get(), &frmExplorer::listed);
    QVERIFY(relisted.wait());
    QCOMPARE(again->findChild<FolderTreeView *>("tv")->selectedFolder(), f.from.path());
    QCOMPARE(again->findChild<QTreeWidget *>("lv")->topLevelItemCount(), 5);
}

void TestTransfer::listingMessages_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no medium") << int(ENOMEDIUM) << "Kein Datenträger|Legen die einen Datenträger in das Laufwerk";
    QTest::newRow("no permission") << int(EACCES) << "Fehler: 13|keine Berechtigung";
    QTest::newRow("disk fault") << int(EIO) << "Fehler: 5|Ein-/Ausgabefehler des Datenträgers";
}

void TestTransfer::listingMessages()
{
    QFETCH(int, error);
    const ListingMessage m = listingMessage(error);
    QTEST(m.title + QLatin1Char('|') + m.text, "shown");
}

// What a drop onto the main window's list imports. Names are relative to the source drive;
// "A/" names the album's media folder, "http:" an address on another machine.
void TestTransfer::dropPlan_data()
{
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("sources"); // sorted
    QTest::addColumn<int>("inAlbum");
    QTest::addColumn<int>("leftOut");
    const QString kaese = decodeFileName("K\xe4"
                                         "se.jpg");
    QTest::newRow("files") << QStringList{"c.MOV", "a.jpg", kaese} << QStringList{kaese, "a.jpg", "c.MOV"} << 0 << 0;
    QTest::newRow("a folder: media files, no subfolders")
        << QStringList{"Ordner"} << QStringList{"Ordner/d.jpg", "Ordner/e.pdf"} << 0 << 1;
    QTest::newRow("album files do nothing") << QStringList{"A/x.jpg", "A/y.avi"} << QStringList{} << 2 << 0;
    QTest::newRow("album files by a link and ..")
        << QStringList{"zumAlbum/x.jpg", "Ordner/../zumAlbum/y.avi"} << QStringList{} << 2 << 0;
    QTest::newRow("the media folder itself") << QStringList{"A/", "zumAlbum"} << QStringList{} << 4 << 0;
    QTest::newRow("not media, missing, elsewhere, twice")
        << QStringList{"b.txt",        "fehlt.jpg", "http://example.org/a.jpg", "a.jpg", "Ordner/../a.jpg",
                       "Ordner/d.jpg", "Ordner"}
        << QStringList{"Ordner/d.jpg", "Ordner/e.pdf", "a.jpg"} << 0 << 6;
}

void TestTransfer::dropPlan()
{
    QFETCH(QStringList, dropped);
    Fixture f;
    f.file(QStringLiteral("x.jpg"));
    f.file(QStringLiteral("y.avi"));
    for (const char *name :
         {"a.jpg", "b.txt", "c.MOV", "Ordner/d.jpg", "Ordner/e.pdf", "Ordner/f.doc", "Ordner/Unter/g.jpg",
          "K\xe4"
          "se.jpg"})
        f.source(decodeFileName(name), "bytes");
    QVERIFY(QFile::link(f.media(QString()), f.from.filePath(QStringLiteral("zumAlbum"))));
    QList<QUrl> urls;
    for (const QString &d : dropped)
        urls << (d.startsWith(QLatin1String("http")) ? QUrl(d)
                 : d.startsWith(QLatin1String("A/")) ? localFileUrl(f.media(d.mid(2)))
                                                     : localFileUrl(f.from.path() + QLatin1Char('/') + d));
    const DropPlan plan = planDroppedImport(urls, AlbumPaths{f.path()});
    QStringList sources;
    for (const QString &s : plan.sources)
        sources << s.mid(f.from.path().size() + 1);
    sources.sort();
    QTEST(sources, "sources");
    QTEST(plan.inAlbum, "inAlbum");
    QTEST(plan.leftOut, "leftOut");
}

void TestTransfer::exportToSelectedFolder()
{
    Fixture f;
    f.file(QStringLiteral("a.jpg"), QByteArray(1000, 'a'));
    f.info(QStringLiteral("a.jpg"), QStringLiteral("Köln"));
    f.file(QStringLiteral("b.avi"), QByteArray(5000, 'b'));
    int closedMovie = 0;
    frmSaveFiles w({AlbumPaths{f.path()},
                    f.drives,
                    f.dialogs,
                    *f.settings,
                    makeSystemFolderSource(),
                    {"a.jpg", "b.avi"},
                    [&] { ++closedMovie; },
                    &f.question});
    w.show();
    QTest::mouseClick(w.findChild<QPushButton *>("cmdSave"), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown,
             QStringList{"Hinweis|Bitte zuerst einen Ordner auswählen, in den gespeichert werden soll."});
    QVERIFY(w.isVisible());
    QCOMPARE(closedMovie, 0);

    QVERIFY(!w.findChild<QProgressBar *>("pb")->isVisible()); // only while copying
    QSignalSpy exported(&w, &frmSaveFiles::exported);
    QTRY_VERIFY(w.tree()->topLevelItemCount() > 0);
    w.tree()->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(w.findChild<QPushButton *>("cmdSave"), Qt::LeftButton);
    QVERIFY(exported.count() || exported.wait());
    QVERIFY(!w.isVisible());
    QCOMPARE(closedMovie, 1);
    for (const char *name : {"a.jpg", "b.avi"})
        QCOMPARE(readFile(f.from.filePath(QLatin1String(name))), f.bytes(QLatin1String(name)));
    QCOMPARE(w.findChild<QProgressBar *>("pb")->value(), 2);
}

// The dialog opens at the folder it was last left at (one below a hidden folder too), or at its
// nearest parent when it is gone; "speichern" then needs no choosing. Its size is kept as well.
void TestTransfer::exportOpensWhereItWasLeft_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("opened");
    QTest::newRow("the folder") << "Jahr/2024"
                                << "Jahr/2024";
    QTest::newRow("below a hidden one") << ".privat/neu"
                                        << ".privat/neu";
    QTest::newRow("gone: nearest parent") << "Jahr/2023/weg"
                                          << "Jahr";
}

void TestTransfer::exportOpensWhereItWasLeft()
{
    QFETCH(QString, last);
    QFETCH(QString, opened);
    Fixture f;
    f.file(QStringLiteral("a.jpg"), QByteArray(100, 'a'));
    for (const char *folder : {"Jahr/2024/Mai", ".privat/neu", "Andere"})
        QVERIFY(QDir(f.from.path()).mkpath(QLatin1String(folder)));
    f.settings->setValue(QStringLiteral("Export"), QStringLiteral("LastFolder"), f.from.filePath(last));
    const auto dialog = [&] {
        return std::make_unique<frmSaveFiles>(SaveFilesServices{AlbumPaths{f.path()},
                                                                f.drives,
                                                                f.dialogs,
                                                                *f.settings,
                                                                makeSystemFolderSource(),
                                                                {"a.jpg"},
                                                                {},
                                                                &f.question});
    };
    auto w = dialog();
    QCOMPARE(w->size(), QSize(480, 560));
    w->show();
    QTRY_COMPARE(w->tree()->selectedFolder(), f.from.filePath(opened));
    w->resize(520, 610);
    QSignalSpy exported(w.get(), &frmSaveFiles::exported);
    QTest::mouseClick(w->findChild<QPushButton *>("cmdSave"), Qt::LeftButton);
    QVERIFY(exported.count() || exported.wait());
    QCOMPARE(readFile(f.from.filePath(opened + "/a.jpg")), f.bytes(QStringLiteral("a.jpg")));
    QCOMPARE(f.settings->value(QStringLiteral("Export"), QStringLiteral("LastFolder"), {}), f.from.filePath(opened));
    w = dialog();
    QCOMPARE(w->size(), QSize(520, 610));
    w->show(); // the tree fills the width, above the button
    QCOMPARE(w->tree()->width(), 520);
    QVERIFY(w->tree()->geometry().bottom() < w->findChild<QPushButton *>("cmdSave")->y());
}

// A second "speichern unter" hands the open dialog the names then selected; while a copy runs it
// is refused and that copy ends with the names it started with.
void TestTransfer::exportTakesANewSelection_data()
{
    QTest::addColumn<bool>("whileCopying");
    QTest::addColumn<QStringList>("copied");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("dialog open") << false << QStringList{"c.jpg", "d e.jpg"} << QStringList{};
    QTest::newRow("while copying") << true << QStringList{"a.jpg", "b.avi"}
                                   << QStringList{"speichern unter|Es werden noch die Dateien der vorigen Auswahl "
                                                  "gespeichert. Bitte die neue Auswahl nach dem Ende des Kopierens "
                                                  "erneut mit „speichern unter“ speichern."};
}

void TestTransfer::exportTakesANewSelection()
{
    QFETCH(bool, whileCopying);
    QFETCH(QStringList, copied);
    Fixture f;
    const QStringList first{"a.jpg", "b.avi"}, second{"c.jpg", "d e.jpg"};
    for (const QString &name : first + second)
        f.file(name, name.toUtf8().repeated(100));
    f.source(QStringLiteral("a.jpg"), "theirs"); // the question waits here, in the middle of the copy
    struct Asking : OverwriteQuestion {
        std::function<void()> asked;
        QString ReqOverWr(const OverwriteFiles &, const QString &) override
        {
            if (asked)
                asked();
            return QStringLiteral("j");
        }
    } question;
    frmSaveFiles w(
        {AlbumPaths{f.path()}, f.drives, f.dialogs, *f.settings, makeSystemFolderSource(), first, {}, &question});
    w.show();
    QStringList selectionAfter;
    const auto handOver = [&] {
        QCOMPARE(w.findChild<QProgressBar *>("pb")->isVisible(), whileCopying);
        QCOMPARE(w.takeSelection(second), !whileCopying);
        selectionAfter = w.exportSelection();
    };
    if (whileCopying)
        question.asked = handOver;
    else
        handOver();

    QSignalSpy exported(&w, &frmSaveFiles::exported);
    QTRY_VERIFY(w.tree()->topLevelItemCount() > 0);
    w.tree()->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(w.findChild<QPushButton *>("cmdSave"), Qt::LeftButton);
    QVERIFY(exported.count() || exported.wait());
    QCOMPARE(selectionAfter, whileCopying ? first : second);
    QTEST(f.dialogs.shown, "shown");
    for (const QString &name : first + second) {
        const QByteArray there = readFile(f.from.filePath(name));
        QVERIFY2((there == f.bytes(name)) == copied.contains(name), qPrintable(name));
    }
}

void TestTransfer::question_data()
{
    QTest::addColumn<QStringList>("actions"); // button names, "" for the close box
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("ja") << QStringList{"cmdYes"} << QStringList{"j"};
    QTest::newRow("ja alle") << QStringList{"cmdYesAll"} << QStringList{"ja"};
    QTest::newRow("nein") << QStringList{"cmdNo"} << QStringList{"n"};
    QTest::newRow("nein alle") << QStringList{"cmdNoAll"} << QStringList{"na"};
    QTest::newRow("close box") << QStringList{""} << QStringList{"n"};
    QTest::newRow("close box after ja alle") << QStringList{"cmdYesAll", ""} << QStringList{"ja", "n"};
}

void TestTransfer::question()
{
    QFETCH(QStringList, actions);
    frmRequest window;
    QStringList codes, titles;
    for (const QString &action : actions) {
        // Once the window shows: the button, or the close box.
        QTimer::singleShot(20, &window, [&] {
            titles << window.windowTitle();
            if (action.isEmpty())
                window.close();
            else
                window.findChild<QPushButton *>(action)->click();
        });
        codes << window.ReqOverWr({QStringLiteral("/a/bild.jpg"), QStringLiteral("/b/bild.jpg")},
                                  QStringLiteral("überschreiben?"));
    }
    QTEST(codes, "codes");
    QCOMPARE(titles.first(), QStringLiteral("überschreiben?"));
}

// The bare name in the sentence, each folder on its own lines and broken only after a
// separator, the size and time of both files, and the buttons below all of it.
void TestTransfer::questionTellsTheTwoFiles()
{
    QTemporaryDir root;
    const QString there =
        root.filePath(QStringLiteral("Urlaub an der Ostsee 2024/Tag drei am Strand/Bilder vom Abend"));
    const QString from = root.filePath(QStringLiteral("Karte aus der Kamera"));
    QVERIFY(QDir().mkpath(there) && QDir().mkpath(from));
    QVERIFY(writeFile(there + QStringLiteral("/d e.jpg"), QByteArray(2400, 'x')));
    QVERIFY(writeFile(from + QStringLiteral("/d e.jpg"), "neu"));
    const QString changed = QFileInfo(there + QStringLiteral("/d e.jpg"))
                                .lastModified()
                                .toString(QStringLiteral("'geändert am' dd.MM.yyyy 'um' HH:mm"));

    frmRequest window;
    QStringList lines;
    bool buttonsBelow = false;
    QStringList badBreaks, wrapped;
    QTimer::singleShot(20, &window, [&] {
        const auto *label = window.findChild<QLabel *>(QStringLiteral("lblMSG"));
        lines = label->text().split(QLatin1Char('\n'));
        const int top = window.findChild<QPushButton *>(QStringLiteral("cmdYes"))->y();
        buttonsBelow = label->geometry().bottom() < top && top + 25 <= window.height();
        // Laid out as the label lays it out: a break inside a path comes after a separator only.
        for (const QString &line : std::as_const(lines)) {
            if (!line.contains(QLatin1Char('/')))
                continue;
            QTextLayout layout(line, label->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            int count = 0;
            for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine(), ++count) {
                row.setLineWidth(label->contentsRect().width());
                if (row.textStart() > 0 && line[row.textStart() - 1] != QChar(0x200B))
                    badBreaks << line.left(row.textStart());
            }
            layout.endLayout();
            if (count > 1)
                wrapped << line;
        }
        window.findChild<QPushButton *>(QStringLiteral("cmdNo"))->click();
    });
    QCOMPARE(window.ReqOverWr({there + QStringLiteral("/d e.jpg"), from + QStringLiteral("/d e.jpg")}, kOverwriteTitle),
             QStringLiteral("n"));
    QVERIFY(buttonsBelow);
    QVERIFY2(badBreaks.isEmpty(), qPrintable(badBreaks.join(QLatin1Char('|'))));
    QCOMPARE(wrapped.size(), 1); // the long folder needs two lines, the short one not
    for (QString &line : lines)
        line.remove(QChar(0x200B)).replace(QChar(0x00A0), QLatin1Char(' '));
    QCOMPARE(lines, (QStringList{"Soll die Datei d e.jpg mit d e.jpg ersetzt werden?", "", "Vorhanden in:", there,
                                 "2,4 kB, " + changed, "", "Neu aus:", from,
                                 "3 Bytes, "
                                     + QFileInfo(from + QStringLiteral("/d e.jpg"))
                                           .lastModified()
                                           .toString(QStringLiteral("'geändert am' dd.MM.yyyy 'um' HH:mm"))}));
}

void TestTransfer::sizes_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << qint64(0) << "0 Bytes";
    QTest::newRow("one") << qint64(1) << "1 Byte";
    QTest::newRow("under a kB") << qint64(999) << "999 Bytes";
    QTest::newRow("a kB") << qint64(1000) << "1,0 kB";
    QTest::newRow("rounds up into MB") << qint64(999'960) << "1,0 MB";
    QTest::newRow("a phone video") << qint64(2'449'999) << "2,4 MB";
    QTest::newRow("a film") << qint64(4'700'000'000) << "4,7 GB";
}

void TestTransfer::sizes()
{
    QFETCH(qint64, bytes);
    QTEST(fileSizeText(bytes), "text");
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
