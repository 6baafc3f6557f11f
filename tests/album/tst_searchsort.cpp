// The search words, the search over the list and the column sorting, without a window.
#include "album/SearchList.h"
#include "album/modSortList.h"
#include "album/modSuche.h"
#include "app/Album.h"
#include "app/AlbumListModel.h"

#include <QRandomGenerator>
#include <QTest>

using namespace zv;

namespace {

struct Cells {
    const char *name, *size, *datum, *ort, *namen, *anlass;
};

AlbumListModel *listOf(std::initializer_list<Cells> rows)
{
    auto *list = new AlbumListModel;
    std::vector<ListRow> built;
    int key = 0;
    for (const Cells &c : rows)
        built.push_back({++key, QString::fromUtf8(c.name), QString::fromUtf8(c.size), QString::fromUtf8(c.datum),
                         QString::fromUtf8(c.ort), QString::fromUtf8(c.namen), QString::fromUtf8(c.anlass)});
    list->appendRows(std::move(built));
    return list;
}

QStringList cellsOf(const AlbumListModel &list, int c)
{
    QStringList texts;
    for (int r = 0; r < list.rowCount(); ++r)
        texts << list.text(r, c);
    return texts;
}

} // namespace

class TestSearchSort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitWords_data();
    void splitWords();
    void allWordsFound_data();
    void allWordsFound();
    void rowMatching_data();
    void rowMatching();
    void inPlaceMatchingEqualsTheWordLists();
    void searchesNarrowAndLeaveTheAlbumAlone();
    void convertDate_data();
    void convertDate();
    void headerIconsAlternateAndReset();
    void sorting_data();
    void sorting();
};

void TestSearchSort::splitWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("two blanks and a full stop") << "Anna  Bert." << QStringList{"Anna", "Bert"};
    QTest::newRow("leading blank and brackets") << " (Köln)" << QStringList{"Köln"};
    QTest::newRow("every separator") << "a!b,c.d/e\\f:g;h&i(j)k[l]m{n}o?p q"
                                     << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l",
                                                    "m", "n", "o", "p", "q"};
    QTest::newRow("tab, hyphen, apostrophe, quote stay") << "Jean-Luc d'Arc\t\"x\"" << QStringList{"Jean-Luc", "d'Arc\t\"x\""};
    QTest::newRow("umlauts") << "Müller, Öztürk" << QStringList{"Müller", "Öztürk"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks only") << "   " << QStringList{};
    QTest::newRow("separators only") << ".,;!?" << QStringList{};
    QTest::newRow("trailing separators") << "Rom..." << QStringList{"Rom"};
    QTest::newRow("repeats kept") << "a a" << QStringList{"a", "a"};
}

void TestSearchSort::splitWords()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QStringList result{QStringLiteral("schon da")};
    SplitWords(text, result);
    QCOMPARE(result, QStringList{QStringLiteral("schon da")} + words); // appended, not emptied
    QCOMPARE(InitSeparators().size(), 17);
    QVERIFY(InitSeparators().last().isEmpty());
}

void TestSearchSort::allWordsFound_data()
{
    QTest::addColumn<QStringList>("search");
    QTest::addColumn<QStringList>("field");
    QTest::addColumn<bool>("found");
    QTest::newRow("no search words") << QStringList{} << QStringList{"a"} << true;
    QTest::newRow("order does not matter") << QStringList{"anna", "bert"} << QStringList{"bert", "und", "anna"} << true;
    QTest::newRow("one missing") << QStringList{"anna", "bert"} << QStringList{"anna"} << false;
    QTest::newRow("repeat needs one") << QStringList{"anna", "anna"} << QStringList{"anna"} << true;
    QTest::newRow("whole words only") << QStringList{"ann"} << QStringList{"anna"} << false;
    QTest::newRow("no field words") << QStringList{"a"} << QStringList{} << false;
}

void TestSearchSort::allWordsFound()
{
    QFETCH(QStringList, search);
    QFETCH(QStringList, field);
    QFETCH(bool, found);
    QCOMPARE(AllWordsFound(search, field), found);
}

void TestSearchSort::rowMatching_data()
{
    QTest::addColumn<QString>("datum"); // box texts
    QTest::addColumn<QString>("namen");
    QTest::addColumn<QString>("ort");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("year") << "2003" << "" << "" << QStringList{"a", "b", "c"};
    QTest::newRow("month gets its zero") << "5.2003" << "" << "" << QStringList{"a", "c"};
    QTest::newRow("nine characters get a zero") << "1.05.2003" << "" << "" << QStringList{"a"};
    QTest::newRow("eight characters get none") << "1.1.2003" << "" << "" << QStringList{};
    QTest::newRow("a trailing blank counts") << "2003 " << "" << "" << QStringList{};
    QTest::newRow("names in any order, any case") << "" << "BERT anna" << "" << QStringList{"a"};
    QTest::newRow("hyphenated is one word") << "" << "Jean" << "" << QStringList{};
    QTest::newRow("hyphenated whole") << "" << "jean-luc" << "" << QStringList{"c"};
    QTest::newRow("umlaut lower-cased") << "" << "" << "KÖLN" << QStringList{"a", "b"};
    QTest::newRow("separators only ask nothing") << "" << "" << "..." << QStringList{"a", "b", "c", "d"};
    QTest::newRow("all boxes") << "2003" << "anna" << "köln" << QStringList{"a", "b"};
    QTest::newRow("all boxes, one word short") << "2003" << "anna bert" << "köln" << QStringList{"a"};
}

void TestSearchSort::rowMatching()
{
    QFETCH(QString, datum);
    QFETCH(QString, namen);
    QFETCH(QString, ort);
    QFETCH(QStringList, kept);
    std::unique_ptr<AlbumListModel> list(listOf({{"a", "1", "01.05.2003", "Köln", "Bert und Anna", "Fest"},
                                                 {"b", "1", "xx.xx.2003", "Köln-Ost? nein: Köln", "Anna", ""},
                                                 {"c", "1", "xx.05.2003", "Rom", "Jean-Luc", ""},
                                                 {"d", "1", "", "", "", ""}}));
    PictureInfo boxes;
    boxes.datum = datum;
    boxes.namen = namen;
    boxes.ort = ort;
    const SearchQuery query = SearchQuery::fromBoxes(boxes);
    runSearch(*list, query);
    QCOMPARE(cellsOf(*list, AlbumListModel::Dateiname), kept);
}

void TestSearchSort::inPlaceMatchingEqualsTheWordLists()
{
    // The search checks words in place; the rule is word lists. Both must agree on any text.
    const QString alphabet = QStringLiteral("ab Ä.,-'!x(");
    auto *random = QRandomGenerator::global();
    const auto text = [&](int max) {
        QString t;
        for (int i = random->bounded(max); i > 0; --i)
            t += alphabet[random->bounded(alphabet.size())];
        return t;
    };
    for (int round = 0; round < 3000; ++round) {
        PictureInfo boxes;
        boxes.anlass = text(6);
        const SearchQuery query = SearchQuery::fromBoxes(boxes);
        ListRow row;
        row.anlass = text(14);
        QStringList searchWords, fieldWords;
        SplitWords(boxes.anlass.toLower(), searchWords);
        SplitWords(row.anlass.toLower(), fieldWords);
        const bool byRule = boxes.anlass.trimmed().isEmpty() || AllWordsFound(searchWords, fieldWords);
        QVERIFY2(query.matches(row) == byRule, qPrintable(boxes.anlass + QStringLiteral(" | ") + row.anlass));
    }
}

void TestSearchSort::searchesNarrowAndLeaveTheAlbumAlone()
{
    Album album;
    for (const char *ort : {"Köln", "Bonn", "Köln Bonn", "Ulm"}) {
        AlbumEntry e;
        e.name = QString::fromUtf8(ort) + QStringLiteral(".jpg");
        e.info.ort = QString::fromUtf8(ort);
        album.append(e);
    }
    AlbumListModel list;
    list.fill(album);
    PictureInfo boxes;
    boxes.ort = QStringLiteral("köln");
    QCOMPARE(runSearch(list, SearchQuery::fromBoxes(boxes)), 2);
    boxes.ort = QStringLiteral("bonn");
    QCOMPARE(runSearch(list, SearchQuery::fromBoxes(boxes)), 1);
    QCOMPARE(list.text(0, AlbumListModel::Dateiname), QStringLiteral("Köln Bonn.jpg"));
    QCOMPARE(album.size(), 4u);
}

void TestSearchSort::convertDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QString>("converted");
    QTest::newRow("to sortable") << "24.12.2002" << false << "20021224";
    QTest::newRow("back") << "20021224" << true << "24.12.2002";
    QTest::newRow("unknown day and month") << "xx.xx.2003" << false << "2003xxxx";
    QTest::newRow("short text gives empty pieces") << "24.1" << false << "124";
    QTest::newRow("empty") << "" << false << "";
}

void TestSearchSort::convertDate()
{
    QFETCH(QString, text);
    QFETCH(bool, back);
    QFETCH(QString, converted);
    QCOMPARE(ConvertDate(text, back), converted);
}

void TestSearchSort::headerIconsAlternateAndReset()
{
    HeaderSortState state;
    auto first = state.click(4);
    QVERIFY(first && first->order == SortOrder::Ascending && first->type == ColumnType::Text);
    auto second = state.click(4);
    QVERIFY(second && second->order == SortOrder::Descending);
    QCOMPARE(state.icon(4), HeaderIcon::Descending);
    auto names = state.click(5);
    QVERIFY(names && names->order == SortOrder::Ascending);
    QCOMPARE(state.icon(4), HeaderIcon::Unsorted);
    QCOMPARE(state.icon(5), HeaderIcon::Ascending);
    QVERIFY(!state.click(8)); // "Schreibschutz" sorts nothing
    QCOMPARE(state.icon(5), HeaderIcon::Unsorted);
    QCOMPARE(state.click(2)->type, ColumnType::Number);
    QCOMPARE(state.click(3)->type, ColumnType::Date);
}

void TestSearchSort::sorting_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("names"); // row order afterwards
    QTest::addColumn<QStringList>("cells"); // the sorted column's texts afterwards
    const auto asc = int(SortOrder::Ascending);
    const auto desc = int(SortOrder::Descending);
    QTest::newRow("size up") << 2 << asc << QStringList{"d", "e", "a", "c", "b"} << QStringList{"", "", "5", "33", "120"};
    QTest::newRow("size down, zeros stable") << 2 << desc << QStringList{"b", "c", "a", "d", "e"} << QStringList{"120", "33", "5", "", ""};
    QTest::newRow("date up") << 3 << asc << QStringList{"e", "b", "c", "d", "a"}
                             << QStringList{"", "31.12.2002", "15.01.2003", "xx.xx.2003", "01.02.2004"};
    QTest::newRow("date down") << 3 << desc << QStringList{"a", "d", "c", "b", "e"}
                               << QStringList{"01.02.2004", "xx.xx.2003", "15.01.2003", "31.12.2002", ""};
    QTest::newRow("text without case, umlauts by base letter")
        << 4 << asc << QStringList{"b", "d", "c", "a", "e"} << QStringList{"aachen", "Ärzte", "Bonn", "Zell", "zell"};
    QTest::newRow("text down keeps equal keys in order")
        << 4 << desc << QStringList{"a", "e", "c", "d", "b"} << QStringList{"Zell", "zell", "Bonn", "Ärzte", "aachen"};
}

void TestSearchSort::sorting()
{
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QStringList, names);
    QFETCH(QStringList, cells);
    std::unique_ptr<AlbumListModel> list(listOf({{"a", "5", "01.02.2004", "Zell", "", ""},
                                                 {"b", "120", "31.12.2002", "aachen", "", ""},
                                                 {"c", "33", "15.01.2003", "Bonn", "", ""},
                                                 {"d", "0", "xx.xx.2003", "Ärzte", "", ""},
                                                 {"e", "", "", "zell", "", ""}}));
    QVERIFY(SortColumn(*list, column, columnType(column), SortOrder(order)));
    QCOMPARE(cellsOf(*list, AlbumListModel::Dateiname), names);
    QCOMPARE(cellsOf(*list, column - 1), cells);
}

QTEST_MAIN(TestSearchSort)
#include "tst_searchsort.moc"
