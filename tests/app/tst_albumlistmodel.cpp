// The list as a working store, without a window.
#include "app/Album.h"
#include "app/AlbumListModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace zv;

namespace {

AlbumEntry entry(const QString &name, const QString &namen, const QString &anlass, MediaKind kind = MediaKind::Bild)
{
    AlbumEntry e;
    e.name = name;
    e.kind = kind;
    e.sizeKB = name.size();
    e.info.namen = namen;
    e.info.ort = QStringLiteral("Ort ") + name;
    e.info.datum = QStringLiteral("01.01.2000");
    e.info.anlass = anlass;
    e.attributes = kind == MediaKind::Video ? ReadOnlyAttribute : 0;
    return e;
}

Album numbered(int count)
{
    Album album;
    for (int i = 0; i < count; ++i)
        album.append(entry(QStringLiteral("f%1.jpg").arg(i), QStringLiteral("N%1").arg(i), QStringLiteral("A%1").arg(i)));
    return album;
}

QStringList names(const AlbumListModel &model)
{
    QStringList list;
    for (int r = 0; r < model.rowCount(); ++r)
        list << model.data(model.index(r, AlbumListModel::Dateiname), Qt::DisplayRole).toString();
    return list;
}

} // namespace

class TestAlbumListModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fillShowsEveryColumnAndReplaces();
    void removalRunsAreOneCallEach_data();
    void removalRunsAreOneCallEach();
    void sortKeepsSelectionAndIsStable();
    void editsAppendsAndRenames();
};

void TestAlbumListModel::fillShowsEveryColumnAndReplaces()
{
    AlbumListModel model;
    QAbstractItemModelTester tester(&model);
    Album album;
    album.append(entry(QStringLiteral("a.jpg"), QStringLiteral("Anna"), QStringLiteral("Taufe")));
    album.append(entry(QStringLiteral("b.mpg"), QStringLiteral("Ben"), QStringLiteral("Fest"), MediaKind::Video));
    model.fill(album);
    model.fill(album); // a refill replaces, it does not append
    QCOMPARE(model.rowCount(), 2);
    const QStringList expected[] = {{"a.jpg", "5", "01.01.2000", "Ort a.jpg", "Anna", "Taufe", "Bild", ""},
                                    {"b.mpg", "5", "01.01.2000", "Ort b.mpg", "Ben", "Fest", "Video", "X"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < AlbumListModel::ColumnCount; ++c)
            QCOMPARE(model.data(model.index(r, c), Qt::DisplayRole).toString(), expected[r][c]);
    QCOMPARE(model.data(model.index(1, 0), AlbumListModel::RowKeyRole).toString(), QStringLiteral("D2"));
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Dateiname [2 Dateien geladen]"));
}

void TestAlbumListModel::removalRunsAreOneCallEach_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("calls"); // rowsRemoved; -1: one layout change instead
    QTest::newRow("one run") << QList<int>{2, 3, 4} << 1;
    QTest::newRow("three runs") << QList<int>{0, 3, 4, 9} << 3;
    QTest::newRow("first and last") << QList<int>{0, 9} << 2;
    QTest::newRow("every other") << QList<int>{1, 3, 5, 7, 9} << 5;
    QList<int> many;
    for (int r = 1; r < 200; r += 2)
        many << r;
    many << 198;
    std::sort(many.begin(), many.end());
    QTest::newRow("a hundred runs") << many << -1;
}

void TestAlbumListModel::removalRunsAreOneCallEach()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, calls);
    AlbumListModel model;
    QAbstractItemModelTester tester(&model);
    model.fill(numbered(200));
    QStringList expected = names(model);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        expected.removeAt(*it);
    // What a view reads while the runs are announced must already be the rows that remain.
    QStringList seenAfterLastCall;
    connect(&model, &QAbstractItemModel::rowsRemoved, this, [&] { seenAfterLastCall = names(model); });
    connect(&model, &QAbstractItemModel::layoutChanged, this, [&] { seenAfterLastCall = names(model); });
    QItemSelectionModel selection(&model);
    const int kept = rows.contains(2) ? 5 : 2; // a selected row that stays follows its row
    selection.select(model.index(kept, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString keptName = names(model)[kept];
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy relaid(&model, &QAbstractItemModel::layoutChanged);
    const std::vector<int> list(rows.begin(), rows.end());
    model.removeRowList(list);
    QCOMPARE(removed.size(), std::max(calls, 0));
    QCOMPARE(relaid.size(), calls < 0 ? 1 : 0);
    QCOMPARE(selection.selectedRows().size(), 1);
    QCOMPARE(names(model)[selection.selectedRows().first().row()], keptName);
    QCOMPARE(names(model), expected);
    QCOMPARE(seenAfterLastCall, expected);
    QCOMPARE(model.text(0, AlbumListModel::Namen), QStringLiteral("N") + expected[0].mid(1, expected[0].indexOf('.') - 1));
}

void TestAlbumListModel::sortKeepsSelectionAndIsStable()
{
    AlbumListModel model;
    QAbstractItemModelTester tester(&model);
    Album album;
    for (const char *name : {"c1", "a", "c2", "b", "c3"})
        album.append(entry(QString::fromLatin1(name), {}, {}));
    model.fill(album);
    QItemSelectionModel selection(&model);
    selection.select(model.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows); // "b"
    model.sortRows([](const ListRow &x, const ListRow &y) { return x.name.left(1) < y.name.left(1); });
    QCOMPARE(names(model), (QStringList{"a", "b", "c1", "c2", "c3"}));
    QCOMPARE(selection.selectedRows().size(), 1);
    QCOMPARE(selection.selectedRows().first().row(), 1);
}

void TestAlbumListModel::editsAppendsAndRenames()
{
    AlbumListModel model;
    QAbstractItemModelTester tester(&model);
    model.fill(numbered(3));
    PictureInfo info;
    info.namen = QStringLiteral("Oma");
    info.anlass = QStringLiteral("Geburtstag");
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setRowInfo(1, info);
    QCOMPARE(model.text(1, AlbumListModel::Namen), QStringLiteral("Oma"));
    QCOMPARE(model.text(1, AlbumListModel::Anlass), QStringLiteral("Geburtstag"));
    QCOMPARE(changed.size(), 1);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.appendRows({ListRow::fromEntry(4, entry(QStringLiteral("neu.jpg"), {}, {}))});
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(reset.size(), 0);
    QCOMPARE(model.rowOf(QStringLiteral("NEU.jpg")), 3);

    // The name cell is editable only with a handler, and takes the name only when it agrees.
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QStringList asked;
    bool agree = false;
    model.setRenameHandler([&](int row, const QString &name) {
        asked << QString::number(row) + name;
        return agree;
    });
    QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
    QCOMPARE(model.text(0, 0), QStringLiteral("f0.jpg"));
    agree = true;
    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
    QCOMPARE(model.text(0, 0), QStringLiteral("x.jpg"));
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole)); // unchanged: not asked
    QCOMPARE(asked, (QStringList{"0x.jpg", "0x.jpg"}));
}

QTEST_MAIN(TestAlbumListModel)
#include "tst_albumlistmodel.moc"
