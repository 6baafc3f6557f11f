// The list as a working store, without a window.
#include "app/Album.h"
#include "app/AlbumListModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

using namespace zv;

namespace {

// One entry per name; each text tells its column and its file apart, videos are read-only.
Album album(const QStringList &files)
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

QStringList names(const AlbumListModel &model)
{
    QStringList list;
    for (int r = 0; r < model.rowCount(); ++r)
        list << model.text(r, AlbumListModel::Dateiname);
    return list;
}

void selectRow(QItemSelectionModel &selection, int row)
{
    selection.select(selection.model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TestAlbumListModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fillShowsEveryColumnAndReplaces()
    {
        AlbumListModel model;
        QAbstractItemModelTester tester(&model);
        model.fill(album({"a.jpg", "b.mpg"}));
        model.fill(album({"a.jpg", "b.mpg"})); // a refill replaces, it does not append
        QCOMPARE(model.rowCount(), 2);
        const QStringList expected[] = {{"a.jpg", "5", "01.01.2000", "Oa.jpg", "Na.jpg", "Aa.jpg", "Bild", ""},
                                        {"b.mpg", "5", "01.01.2000", "Ob.mpg", "Nb.mpg", "Ab.mpg", "Video", "X"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < AlbumListModel::ColumnCount; ++c)
                QCOMPARE(model.data(model.index(r, c), Qt::DisplayRole).toString(), expected[r][c]);
        QCOMPARE(model.data(model.index(1, 0), AlbumListModel::RowKeyRole).toString(), QStringLiteral("D2"));
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Dateiname [2 Dateien geladen]"));
    }

    void removalRunsAreOneCallEach_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("calls"); // rowsRemoved; -1: one layout change instead
        QTest::newRow("one run") << QList<int>{2, 3, 4} << 1;
        QTest::newRow("runs at both ends") << QList<int>{0, 3, 4, 199} << 3;
        QList<int> many;
        for (int r = 1; r < 200; r += 2)
            many << r;
        many.insert(many.size() - 1, 198);
        QTest::newRow("a hundred runs") << many << -1;
    }
    void removalRunsAreOneCallEach()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, calls);
        AlbumListModel model;
        QAbstractItemModelTester tester(&model);
        QStringList expected;
        for (int i = 0; i < 200; ++i)
            expected << QStringLiteral("f%1.jpg").arg(i);
        model.fill(album(expected));
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            expected.removeAt(*it);
        // What a view reads while the runs are announced must already be the rows that remain.
        QStringList seenAfterLastCall;
        const auto look = [&] { seenAfterLastCall = names(model); };
        connect(&model, &QAbstractItemModel::rowsRemoved, this, look);
        connect(&model, &QAbstractItemModel::layoutChanged, this, look);
        QItemSelectionModel selection(&model);
        const int kept = rows.contains(2) ? 5 : 2; // a selected row that stays follows its row
        selectRow(selection, kept);
        const QString keptName = names(model)[kept];
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy relaid(&model, &QAbstractItemModel::layoutChanged);
        model.removeRowList(std::vector<int>(rows.begin(), rows.end()));
        QCOMPARE(removed.size(), std::max(calls, 0));
        QCOMPARE(relaid.size(), calls < 0 ? 1 : 0);
        QCOMPARE(selection.selectedRows().size(), 1);
        QCOMPARE(names(model)[selection.selectedRows()[0].row()], keptName);
        QCOMPARE(names(model), expected);
        QCOMPARE(seenAfterLastCall, expected);
        QCOMPARE(model.text(0, AlbumListModel::Namen), QLatin1Char('N') + expected[0]);
    }

    void editsSortsAndRenames()
    {
        AlbumListModel model;
        QAbstractItemModelTester tester(&model);
        model.fill(album({"c1", "a", "c2", "b", "c3"}));
        PictureInfo info;
        info.namen = QStringLiteral("Oma");
        info.anlass = QStringLiteral("Geburtstag");
        model.setRowInfo(3, info);
        QCOMPARE(model.text(3, AlbumListModel::Namen), QStringLiteral("Oma"));
        QCOMPARE(model.text(3, AlbumListModel::Anlass), QStringLiteral("Geburtstag"));
        // A stable sort; the selection follows its row.
        QItemSelectionModel selection(&model);
        selectRow(selection, 3); // "b"
        model.sortRows([](const ListRow &x, const ListRow &y) { return x.name.left(1) < y.name.left(1); });
        QCOMPARE(names(model), (QStringList{"a", "b", "c1", "c2", "c3"}));
        QCOMPARE(selection.selectedRows().size(), 1);
        QCOMPARE(selection.selectedRows()[0].row(), 1);
        // The name cell takes a new name only when the handler agrees, and asks only for a change.
        QStringList asked;
        bool agree = false;
        model.setRenameHandler([&](int row, const QString &name) {
            asked << QString::number(row) + name;
            return agree;
        });
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
        QCOMPARE(model.text(0, 0), QStringLiteral("a"));
        agree = true;
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x.jpg"), Qt::EditRole));
        QCOMPARE(asked, (QStringList{"0x.jpg", "0x.jpg"}));
        QCOMPARE(model.rowOf(QStringLiteral("X.JPG")), 0);
    }
};

QTEST_MAIN(TestAlbumListModel)
#include "tst_albumlistmodel.moc"
