// The drive and folder tree: one level ahead and no further, no duplicates, drive filters,
// images, undecodable names, and a hanging mount that never freezes the view.
#include "support/TransferFakes.h"

#include "platform/FileNames.h"
#include "transfer/FolderTree.h"
#include "transfer/FolderTreeView.h"
#include "transfer/TransferIcons.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zv;

namespace {

QList<DriveInfo> drives()
{
    const auto drive = [](const char *root, DriveType type) {
        DriveInfo d;
        d.root = QLatin1String(root);
        d.name = d.root;
        d.type = type;
        return d;
    };
    return {drive("/", DriveType::Fixed), drive("/media/cd", DriveType::CdRom), drive("/mnt/ram", DriveType::RamDisk),
            drive("/srv", DriveType::Unknown), drive("/net", DriveType::Network)};
}

void fillFolders(test::FakeFolderSource &source)
{
    source.folders = {{"/", {"home", "usr"}}, {"/home", {"eva", "tom"}}, {"/home/eva", {"Fotos"}},
                      {"/home/tom", {}}, {"/usr", {}}, {"/mnt/ram", {"x"}}, {"/net", {}}};
}

QStringList texts(const FolderTree &tree, const std::vector<int> &nodes)
{
    QStringList t;
    for (const int n : nodes)
        t << tree.node(n).text + QLatin1Char('=') + tree.node(n).image;
    return t;
}

} // namespace

class TestFolderTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fillReadsOnlyRoots_data();
    void fillReadsOnlyRoots();
    void expandOneLevelAhead();
    void undecodableNames();
    void hangingMount();
};

void TestFolderTree::fillReadsOnlyRoots_data()
{
    QTest::addColumn<int>("offer");
    QTest::addColumn<QStringList>("top");
    QTest::newRow("import browser") << int(FolderTree::Offer::AllDrives)
                                    << QStringList{"/=intern", "/media/cd=CD", "/mnt/ram=ram", "/srv=unbekannt", "/net=netzwerk"};
    QTest::newRow("export dialog") << int(FolderTree::Offer::NoCdOrUnknown)
                                   << QStringList{"/=intern", "/mnt/ram=ram", "/net=netzwerk"};
}

void TestFolderTree::fillReadsOnlyRoots()
{
    QFETCH(int, offer);
    test::FakeFolderSource source;
    fillFolders(source);
    FolderTree tree;
    tree.readNow(tree.fill(drives(), FolderTree::Offer(offer)), source);
    QTEST(texts(tree, tree.topLevel()), "top");
    QFETCH(QStringList, top);
    QCOMPARE(source.reads.load(), top.size());
    const int root = tree.find(QStringLiteral("drive:/"));
    QCOMPARE(texts(tree, tree.node(root).children), (QStringList{"home=zu", "usr=zu"}));
    QCOMPARE(tree.folderOf(root), QStringLiteral("/"));
    const int cd = tree.find(QStringLiteral("drive:/media/cd"));
    if (cd >= 0)
        QVERIFY(tree.node(cd).children.empty() && tree.node(cd).unreadable);
    QVERIFY(transferIcon(QStringLiteral("ram")).isNull());
    QVERIFY(transferIcon(QStringLiteral("unbekannt")).isNull());
    QVERIFY(!transferIcon(QStringLiteral("CD")).isNull());
}

void TestFolderTree::expandOneLevelAhead()
{
    test::FakeFolderSource source;
    fillFolders(source);
    FolderTree tree;
    tree.readNow(tree.fill(drives(), FolderTree::Offer::AllDrives), source);
    const int readsAtOpen = source.reads;
    const int root = tree.find(QStringLiteral("drive:/"));
    tree.readNow(tree.expand(root), source);
    QCOMPARE(source.reads - readsAtOpen, 2); // /home and /usr, not deeper
    QCOMPARE(tree.node(root).image, QStringLiteral("intern"));
    const int home = tree.find(QStringLiteral("/home"));
    QCOMPARE(texts(tree, tree.node(home).children), (QStringList{"eva=zu", "tom=zu"}));
    QCOMPARE(tree.find(QStringLiteral("/home/eva/Fotos")), -1);

    tree.readNow(tree.expand(home), source);
    QCOMPARE(tree.node(home).image, QStringLiteral("auf"));
    QCOMPARE(texts(tree, tree.node(tree.find(QStringLiteral("/home/eva"))).children), QStringList{"Fotos=zu"});
    const int nodes = tree.size();
    const int reads = source.reads;
    // Again, and with an answer that arrives twice: nothing new is read or added.
    tree.readNow(tree.expand(home), source);
    QVERIFY(tree.deliver(tree.find(QStringLiteral("/home/eva")), source.subfolders(QStringLiteral("/home/eva"))).empty());
    QCOMPARE(tree.size(), nodes);
    QCOMPARE(source.reads, reads + 1);

    tree.collapse(home);
    tree.collapse(root);
    QCOMPARE(tree.node(home).image, QStringLiteral("zu"));
    QCOMPARE(tree.node(root).image, QStringLiteral("intern"));
}

void TestFolderTree::undecodableNames()
{
    QTemporaryDir dir;
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/M\xfcll";
    QCOMPARE(::mkdir(latin1.constData(), 0755), 0);
    QCOMPARE(::mkdir((latin1 + "/1999").constData(), 0755), 0);
    const auto source = makeSystemFolderSource();
    const auto top = source->subfolders(dir.path());
    QVERIFY(top && top->size() == 1);
    QCOMPARE(nativePath(top->first().path), latin1);
    FolderTree tree;
    DriveInfo d;
    d.root = dir.path();
    d.name = QStringLiteral("Stick");
    tree.readNow(tree.fill({d}, FolderTree::Offer::AllDrives), *source);
    const int folder = tree.node(0).children.front();
    QCOMPARE(tree.node(folder).text, QStringLiteral("Müll"));
    tree.readNow(tree.expand(0), *source);
    QCOMPARE(texts(tree, tree.node(folder).children), QStringList{"1999=zu"});
}

void TestFolderTree::hangingMount()
{
    auto source = std::make_shared<test::FakeFolderSource>();
    fillFolders(*source);
    source->hanging = QStringLiteral("/net");
    FolderTreeView view(source, true);
    view.setReadTimeout(100);
    view.show();
    view.fill(drives(), FolderTree::Offer::AllDrives);
    const int net = view.tree().find(QStringLiteral("drive:/net"));
    QTRY_VERIFY(view.tree().node(net).unreadable);
    QCOMPARE(view.itemOf(net)->toolTip(0), QStringLiteral("nicht lesbar"));
    // The other drives arrived while /net hangs.
    QTRY_COMPARE(view.itemOf(view.tree().find(QStringLiteral("drive:/")))->childCount(), 2);
    QCOMPARE(view.itemOf(view.tree().find(QStringLiteral("drive:/")))->data(0, FolderTreeView::ImageRole).toString(),
             QStringLiteral("intern"));
    source->release();
    QTRY_VERIFY(!view.tree().node(net).unreadable);
    QCOMPARE(view.itemOf(net)->toolTip(0), QString());
    QTRY_COMPARE(view.pendingReads(), 0);
}

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
