// The search words, the search over the list and the column sorting, without a window.
#include "album/SearchList.h"
#include "album/modSortList.h"
#include "album/modSuche.h"
#include "app/AlbumListModel.h"

#include <QTest>

using namespace zv;

namespace {

std::unique_ptr<AlbumListModel> listOf(std::vector<ListRow> rows)
{
    auto list = std::make_unique<AlbumListModel>();
    list->appendRows(std::move(rows));
    return list;
}

QStringList cellsOf(const AlbumListModel &list, int column)
{
    QStringList texts;
    for (int r = 0; r < list.rowCount(); ++r)
        texts << list.text(r, column);
    return texts;
}

} // namespace

class TestSearchSort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitWords_data();
    void splitWords();
    void rowMatching_data();
    void rowMatching();
    void convertDateBothWays();
    void headerIconsAlternateAndReset();
    void sorting_data();
    void sorting();
};

void TestSearchSort::splitWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("leading blank and brackets") << " (Köln)" << QStringList{"Köln"};
    QTest::newRow("every separator") << "a!b,c.d/e\\f:g;h&i(j)k[l]m{n}o?p q"
                                     << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l",
                                                    "m", "n", "o", "p", "q"};
    QTest::newRow("tab, hyphen, apostrophe, quote stay") << "Jean-Luc d'Arc\t\"x\"" << QStringList{"Jean-Luc", "d'Arc\t\"x\""};
    QTest::newRow("separators only") << ".,;!?" << QStringList{};
    QTest::newRow("trailing separators, repeats kept") << "Rom Rom..." << QStringList{"Rom", "Rom"};
}

void TestSearchSort::splitWords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QStringList result{QStringLiteral("schon da")};
    SplitWords(text, result);
    QCOMPARE(result, QStringList{QStringLiteral("schon da")} + words); // appended, not emptied
}

void TestSearchSort::rowMatching_data()
{
    QTest::addColumn<QString>("datum"); // box texts
    QTest::addColumn<QString>("namen");
    QTest::addColumn<QString>("ort");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("year") << "2003" << "" << "" << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("month gets its zero") << "5.2003" << "" << "" << QStringList{"a", "c", "e"};
    QTest::newRow("nine characters get a zero") << "1.05.2003" << "" << "" << QStringList{"a"};
    QTest::newRow("eight characters get none") << "1.1.2003" << "" << "" << QStringList{};
    QTest::newRow("a trailing blank counts") << "2003 " << "" << "" << QStringList{};
    QTest::newRow("names in any order, any case") << "" << "BERT anna" << "" << QStringList{"a"};
    QTest::newRow("hyphenated is one word") << "" << "Jean" << "" << QStringList{};
    QTest::newRow("hyphenated whole") << "" << "jean-luc" << "" << QStringList{"c"};
    QTest::newRow("umlaut lower-cased") << "" << "" << "KÖLN" << QStringList{"a", "b"};
    QTest::newRow("separators only ask nothing") << "" << "" << "..." << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("all boxes, one word short") << "2003" << "anna bert" << "köln" << QStringList{"a"};
}

void TestSearchSort::rowMatching()
{
    QFETCH(QString, datum);
    QFETCH(QString, namen);
    QFETCH(QString, ort);
    QFETCH(QStringList, kept);
    const auto list = listOf({{1, "a", "1", "01.05.2003", "Köln", "Bert und Anna", ""},
                              {2, "b", "1", "xx.xx.2003", "Köln-Ost? nein: Köln", "Anna", ""},
                              {3, "c", "1", "xx.05.2003", "Rom", "Jean-Luc", ""},
                              {4, "d", "1", "xx.15.2003", "", "", ""},
                              {5, "e", "1", "11.05.2003", "", "", ""}});
    PictureInfo boxes;
    boxes.datum = datum;
    boxes.namen = namen;
    boxes.ort = ort;
    QCOMPARE(runSearch(*list, SearchQuery::fromBoxes(boxes)), kept.size());
    QCOMPARE(cellsOf(*list, AlbumListModel::Dateiname), kept);
}

void TestSearchSort::convertDateBothWays()
{
    QCOMPARE(ConvertDate(QStringLiteral("24.12.2002"), false), QStringLiteral("20021224"));
    QCOMPARE(ConvertDate(QStringLiteral("20021224"), true), QStringLiteral("24.12.2002"));
    QCOMPARE(ConvertDate(QStringLiteral("24.1"), false), QStringLiteral("124")); // empty pieces past the end
}

void TestSearchSort::headerIconsAlternateAndReset()
{
    HeaderSortState state;
    state.click(4);
    QCOMPARE(state.click(4)->order, SortOrder::Descending);
    QCOMPARE(state.click(5)->order, SortOrder::Ascending);
    QCOMPARE(state.icon(4), HeaderIcon::Unsorted);
    QVERIFY(!state.click(8)); // "Schreibschutz" sorts nothing
    QCOMPARE(state.icon(5), HeaderIcon::Unsorted);
    QCOMPARE(state.click(7)->type, ColumnType::Text);
}

void TestSearchSort::sorting_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("names"); // row order afterwards
    QTest::addColumn<QStringList>("cells"); // the sorted column's texts afterwards
    const int up = int(SortOrder::Ascending);
    const int down = int(SortOrder::Descending);
    QTest::newRow("size up") << 2 << up << QStringList{"d", "e", "a", "c", "b"} << QStringList{"", "", "5", "33", "120"};
    QTest::newRow("size down, zeros stable") << 2 << down << QStringList{"b", "c", "a", "d", "e"} << QStringList{"120", "33", "5", "", ""};
    QTest::newRow("date up") << 3 << up << QStringList{"e", "b", "c", "d", "a"}
                             << QStringList{"", "31.12.2002", "15.01.2003", "xx.xx.2003", "01.02.2004"};
    QTest::newRow("date down") << 3 << down << QStringList{"a", "d", "c", "b", "e"}
                               << QStringList{"01.02.2004", "xx.xx.2003", "15.01.2003", "31.12.2002", ""};
    QTest::newRow("text without case, umlauts by base letter")
        << 4 << up << QStringList{"b", "d", "c", "a", "e"} << QStringList{"aachen", "Ärzte", "Bonn", "Zell", "zell"};
    QTest::newRow("text down keeps equal keys in order")
        << 4 << down << QStringList{"a", "e", "c", "d", "b"} << QStringList{"Zell", "zell", "Bonn", "Ärzte", "aachen"};
}

void TestSearchSort::sorting()
{
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QStringList, names);
    QFETCH(QStringList, cells);
    const auto list = listOf({{1, "a", "5", "01.02.2004", "Zell", "", ""},
                              {2, "b", "120", "31.12.2002", "aachen", "", ""},
                              {3, "c", "33", "15.01.2003", "Bonn", "", ""},
                              {4, "d", "0", "xx.xx.2003", "Ärzte", "", ""},
                              {5, "e", "", "", "zell", "", ""}});
    QVERIFY(SortColumn(*list, column, columnType(column), SortOrder(order)));
    QCOMPARE(cellsOf(*list, AlbumListModel::Dateiname), names);
    QCOMPARE(cellsOf(*list, column - 1), cells);
}

QTEST_MAIN(TestSearchSort)
#include "tst_searchsort.moc"
