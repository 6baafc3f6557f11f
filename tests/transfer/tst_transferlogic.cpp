// The number box, the browser's kinds, the drive chart, and the folder tree that reads one
// level ahead.
#include "support/Fakes.h"
#include "support/TransferFakes.h"

#include "platform/FileNames.h"
#include "transfer/DriveChart.h"
#include "transfer/FolderFiles.h"
#include "transfer/FolderTree.h"
#include "transfer/FolderTreeView.h"
#include "transfer/Numbering.h"

#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <numbers>
#include <sys/stat.h>

using namespace zv;

namespace {

DriveInfo drive(const char *root, DriveType type, qint64 freeBytes = 0, qint64 totalBytes = 0, bool ready = true)
{
    return {QLatin1String(root), QLatin1String(root), type, false, freeBytes, totalBytes, ready};
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
        source->folders = {{"/", {"home", "usr"}}, {"/home", {"eva", "tom"}}, {"/home/eva", {"Fotos"}},
                           {"/home/tom", {}}, {"/usr", {}}, {"/mnt/ram", {"x"}}, {"/net", {}}};
    }
};

QStringList texts(const FolderTree &tree, const std::vector<int> &nodes)
{
    QStringList t;
    for (const int n : nodes)
        t << tree.node(n).text + QLatin1Char('=') + tree.node(n).image;
    return t;
}

} // namespace

class TestTransferLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startNumber_data();
    void startNumber();
    void browserKinds_data();
    void browserKinds();
    void chart_data();
    void chart();
    void treeReadsOneLevelAhead_data();
    void treeReadsOneLevelAhead();
    void undecodableFolderNames();
    void treeViewWaitsForNoMountAndFollowsKeys();
};

void TestTransferLogic::startNumber_data()
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

void TestTransferLogic::startNumber()
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

void TestTransferLogic::browserKinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("jpeg") << "a.JPEG" << "Bild";
    QTest::newRow("mov") << "a.Mov" << "Video";
    QTest::newRow("wav") << "y.WAV" << "Audio";
    QTest::newRow("no extension") << "README" << "";
}

void TestTransferLogic::browserKinds()
{
    QFETCH(QString, name);
    QTEST(browserKind(name), "kind");
}

void TestTransferLogic::chart_data()
{
    QTest::addColumn<DriveInfo>("info");
    QTest::addColumn<QString>("freeText");
    QTest::addColumn<QString>("usedText");
    // Colour letters at 22.5°, 67.5°, ... 337.5°, counter-clockwise from 3 o'clock.
    QTest::addColumn<QString>("octants");
    QTest::newRow("1023 bytes, 1 KB") << disk(1023, 2047) << "frei:  1023 Bytes" << "belegt:  1 KB" << "ggggrrrr";
    QTest::newRow("1.5 KB up, 2.5 KB down") << disk(1536, 4096) << "frei:  2 KB" << "belegt:  2 KB" << "gggrrrrr";
    QTest::newRow("1024 KB, 1 MB") << disk(1048575, 2097151) << "frei:  1024 KB" << "belegt:  1 MB" << "ggggrrrr";
    QTest::newRow("1024 MB, 1 GB") << disk(1073741824, 2147483649) << "frei:  1024 MB" << "belegt:  1 GB" << "ggggrrrr";
    QTest::newRow("full drive, 3.5 GB up") << disk(0, 3758096384) << "frei:  0 Bytes" << "belegt:  4 GB" << "rrrrrrrr";
    QTest::newRow("empty drive") << disk(1024, 1024) << "frei:  1 KB" << "belegt:  0 Bytes" << "gggggggg";
    QTest::newRow("free above total") << disk(5000, 2048) << "frei:  2 KB" << "belegt:  0 Bytes" << "gggggggg";
    QTest::newRow("total 0") << disk(0, 0) << "frei:  unbekannt" << "belegt:  unbekannt" << "........";
    QTest::newRow("not readable") << disk(500, 1000, false) << "frei:  unbekannt" << "belegt:  unbekannt" << "........";
}

void TestTransferLogic::chart()
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
    QCOMPARE(chart.freeColour, known ? QColor(0, 255, 0) : grey);
    QCOMPARE(chart.usedColour, known ? QColor(255, 0, 0) : grey);
    QString seen;
    for (int i = 0; i < 8; ++i) {
        // Two thirds out from the centre.
        const double a = (22.5 + 45 * i) * std::numbers::pi / 180;
        const QColor c = chart.pie.pixelColor(qRound(45 + 30 * std::cos(a)), qRound(45 - 30 * std::sin(a)));
        seen += c == QColor(0, 255, 0) ? u'g' : c == QColor(255, 0, 0) ? u'r' : c == grey ? u'.' : u'?';
    }
    QCOMPARE(seen, octants);
    // The disc fills the box edge to edge and leaves the corners clear.
    QCOMPARE(chart.pie.pixelColor(2, 2).alpha(), 0);
    QCOMPARE(chart.pie.pixelColor(45, 2).alpha(), 255);
    QCOMPARE(chart.pie.pixelColor(2, 45).alpha(), 255);
}

void TestTransferLogic::treeReadsOneLevelAhead_data()
{
    QTest::addColumn<int>("offer");
    QTest::addColumn<QStringList>("top");
    QTest::newRow("import browser") << int(FolderTree::Offer::AllDrives)
                                    << QStringList{"/=intern", "/media/cd=CD", "/mnt/ram=ram", "/srv=unbekannt", "/net=netzwerk"};
    QTest::newRow("export dialog") << int(FolderTree::Offer::NoCdOrUnknown)
                                   << QStringList{"/=intern", "/mnt/ram=ram", "/net=netzwerk"};
}

void TestTransferLogic::treeReadsOneLevelAhead()
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
    QCOMPARE(f.source->reads - top.size(), 2); // /home and /usr, not deeper
    QCOMPARE(tree.node(root).image, QStringLiteral("intern"));
    const int home = tree.find(QStringLiteral("/home"));
    QCOMPARE(texts(tree, tree.node(home).children), (QStringList{"eva=zu", "tom=zu"}));
    QCOMPARE(tree.find(QStringLiteral("/home/eva/Fotos")), -1);

    tree.readNow(tree.expand(home), *f.source);
    QCOMPARE(tree.node(home).image, QStringLiteral("auf"));
    QCOMPARE(texts(tree, tree.node(tree.find(QStringLiteral("/home/eva"))).children), QStringList{"Fotos=zu"});
    const int nodes = tree.size();
    const int reads = f.source->reads;
    // Again, and with an answer that arrives twice: nothing new is read or added.
    tree.readNow(tree.expand(home), *f.source);
    QVERIFY(tree.deliver(tree.find(QStringLiteral("/home/eva")), f.source->subfolders(QStringLiteral("/home/eva"))).empty());
    QCOMPARE(tree.size(), nodes);
    QCOMPARE(f.source->reads, reads + 1);
    tree.collapse(home);
    QCOMPARE(tree.node(home).image, QStringLiteral("zu"));
}

void TestTransferLogic::undecodableFolderNames()
{
    QTemporaryDir dir;
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/M\xfcll";
    QCOMPARE(::mkdir(latin1.constData(), 0755), 0);
    QCOMPARE(::mkdir((latin1 + "/1999").constData(), 0755), 0);
    const auto source = makeSystemFolderSource();
    FolderTree tree;
    tree.readNow(tree.fill({drive(qPrintable(dir.path()), DriveType::Removable)}, FolderTree::Offer::AllDrives), *source);
    const int folder = tree.node(0).children.front();
    QCOMPARE(tree.node(folder).text, QStringLiteral("Müll"));
    QCOMPARE(nativePath(tree.folderOf(folder)), latin1);
    tree.readNow(tree.expand(0), *source);
    QCOMPARE(texts(tree, tree.node(folder).children), QStringList{"1999=zu"});
}

void TestTransferLogic::treeViewWaitsForNoMountAndFollowsKeys()
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
}

QTEST_MAIN(TestTransferLogic)
#include "tst_transferlogic.moc"
