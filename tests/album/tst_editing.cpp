// Saving, renaming, deleting and new albums on a real media folder, and searching and sorting
// the list, without a window.
#include "album/DeleteEntries.h"
#include "album/NewAlbum.h"
#include "album/RenameEntry.h"
#include "album/SaveInformation.h"
#include "album/SearchList.h"
#include "album/modSortList.h"
#include "album/modSuche.h"
#include "platform/FileAttributes.h"
#include "support/OtherUser.h"
#include "support/WindowFixture.h"

using namespace zv;
using namespace zv::test;

namespace {

struct Editing : AlbumFolder {
    Editing(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            file(QString::fromUtf8(name), QByteArray(100, 'm') + name);
        album = loadAlbum(dir.filePath(QStringLiteral("Bilder")));
        list.fill(album);
    }
    AlbumContext context() { return {AlbumPaths{dir.path()}, album, list, state, &player}; }
    int row(const QString &name) const { return list.rowOf(name); }
    QString datum(const QString &name) const { return list.text(row(name), AlbumListModel::Datum); }
    SaveOutcome::Result save(int row, bool confirm = true)
    {
        AlbumContext c = context();
        PictureInfo typed;
        typed.datum = QStringLiteral("2003");
        typed.ort = QStringLiteral("Köln");
        typed.namen = QStringLiteral("  Oma ");
        last = saveInformation(c, row, typed, [this, confirm] {
            ++asked;
            return confirm;
        });
        return last.result;
    }
    void deleteRows(std::vector<int> rows)
    {
        AlbumContext c = context();
        std::sort(rows.begin(), rows.end());
        deleted = deleteEntries(c, rows);
    }
    // Nobody else may write in the album folder or its media folder.
    void closeForOthers() const
    {
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(dir.path(), open);
        QFile::setPermissions(dir.filePath(QStringLiteral("Bilder")), open);
    }

    Album album;
    AlbumListModel list;
    ProgramState state;
    RecordingMedia player;
    SaveOutcome last;
    DeleteOutcome deleted;
    int asked = 0;
};

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

const QString a = QStringLiteral("a.jpg");
const QString b = QStringLiteral("b.jpg");

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savingWritesOnlyTheTrailer()
    {
        Editing e({"a.jpg", "b.jpg"});
        const QByteArray before = e.bytes(b);
        QCOMPARE(e.save(e.row(b)), SaveOutcome::Result::Saved);
        QCOMPARE(e.last.stored.namen, QStringLiteral("  Oma")); // leading blanks are content
        QCOMPARE(e.datum(b), QStringLiteral("xx.xx.2003"));
        QCOMPARE(e.album.find(b)->info.ort, QStringLiteral("Köln"));
        QCOMPARE(ReadPictureInfo(e.media(b)).info.datum, QStringLiteral("xx.xx.2003"));
        QVERIFY(e.bytes(b).startsWith(before));
        QVERIFY(e.player.calls.isEmpty()); // a picture leaves the player alone
        const qint64 size = e.bytes(b).size();
        e.save(e.row(b)); // again: the trailer is overwritten in place
        QCOMPARE(e.bytes(b).size(), size);
        QCOMPARE(e.datum(a), QString());
        QCOMPARE(e.asked, 0);

        // A read-only file is written only when the user agrees, and stays read-only.
        QCOMPARE(setReadOnly(e.media(a), true), 0);
        const unsigned mode = *fileMode(e.media(a));
        const QByteArray unsaved = e.bytes(a);
        QCOMPARE(e.save(e.row(a), false), SaveOutcome::Result::Declined);
        QCOMPARE(e.bytes(a), unsaved);
        QCOMPARE(e.save(e.row(a), true), SaveOutcome::Result::Saved);
        QCOMPARE(e.asked, 2);
        QCOMPARE(*fileMode(e.media(a)), mode);
        QCOMPARE(e.datum(a), QStringLiteral("xx.xx.2003"));

        // Without a row, or with the file gone since loading, nothing is written or created.
        QCOMPARE(e.save(-1), SaveOutcome::Result::NoRow);
        QCOMPARE(e.save(2), SaveOutcome::Result::NoRow);
        QVERIFY(QFile::remove(e.media(b)));
        QCOMPARE(e.save(e.row(b)), SaveOutcome::Result::Failed);
        QVERIFY(e.last.message.contains(b) && !QFile::exists(e.media(b)));
        // A file the user may not write: reported, its bytes and its row unchanged.
        QCOMPARE(setReadOnly(e.media(a), false), 0);
        e.closeForOthers();
        e.list.setRowInfo(e.row(a), {});
        const QByteArray saved = e.bytes(a);
        QVERIFY(runAsOtherUser([&] {
            return e.save(e.row(a)) == SaveOutcome::Result::Failed && e.last.message.contains(a) && e.datum(a).isEmpty();
        }));
        QCOMPARE(e.bytes(a), saved);
    }

    void savingAPlayingVideoPlaysOnFromTheSecond_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("2.5 s halves to even") << true << 2500 << QStringList{"stop", "close", "open v.mpg", "play", "seek 2"};
        QTest::newRow("3.5 s") << true << 3500 << QStringList{"stop", "close", "open v.mpg", "play", "seek 4"};
        QTest::newRow("stopped") << false << 7000 << QStringList{"close", "open v.mpg"};
    }

    void savingAPlayingVideoPlaysOnFromTheSecond()
    {
        QFETCH(bool, playing);
        QFETCH(int, position);
        QFETCH(QStringList, calls);
        Editing e({"v.mpg"});
        e.player.playing = playing;
        e.player.position = position;
        QCOMPARE(e.save(0), SaveOutcome::Result::Saved);
        QCOMPARE(e.player.calls, calls);
    }

    void renaming_data()
    {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("text"); // how the refusal starts; empty: renamed
        const QString exists = QStringLiteral("Eine Datei mit diesem Namen ist\r\nbereits vorhanden.");
        const QString invalid = QStringLiteral("ungültiger Name");
        QTest::newRow("exists") << "b.jpg" << exists;
        QTest::newRow("letter case only") << "A.JPG" << exists;
        QTest::newRow("empty") << "" << invalid;
        for (const char *bad : {"a/b.jpg", "a\\b.jpg", "a:b.jpg", "a*.jpg", "a?.jpg", "a\".jpg", "a<.jpg", "a>.jpg",
                                "a|.jpg", "a\tb.jpg", "..", "a.jpg.", "a.jpg ", "con", "Nul.jpg", "COM1.txt", "lpt9"})
            QTest::newRow(bad) << QString::fromUtf8(bad) << invalid + QLatin1Char('\n');
        QTest::newRow("256 bytes") << QString(126, QChar(0xE4)) + QStringLiteral("x.jpg") << invalid + QLatin1Char('\n');
        QTest::newRow("COM0 is a name") << "COM0.jpg" << "";
        QTest::newRow("extension change") << "a.txt" << "";
    }

    void renaming()
    {
        QFETCH(QString, newName);
        QFETCH(QString, text);
        Editing e({"a.jpg", "b.jpg"});
        AlbumContext context = e.context();
        const auto refusal = renameEntry(context, e.row(a), newName);
        QCOMPARE(refusal.has_value(), !text.isEmpty());
        if (refusal) {
            QVERIFY2(refusal->text.startsWith(text), qPrintable(refusal->text));
            const bool exists = text.startsWith(QLatin1String("Eine"));
            QCOMPARE(refusal->title, exists ? QStringLiteral("kann nicht umbenannt werden") : QStringLiteral("Fehler"));
            QVERIFY(QFile::exists(e.media(a)) && e.album.find(a));
            QVERIFY(e.state.CurrentFile.isEmpty() && e.player.calls.isEmpty());
            return;
        }
        QVERIFY(!QFile::exists(e.media(a)) && QFile::exists(e.media(newName)));
        QVERIFY(e.album.find(newName) && !e.album.find(a));
        QCOMPARE(e.album.find(newName)->kind, MediaKind::Bild); // until the next start
        QCOMPARE(e.state.CurrentFile, e.media(newName));
        QCOMPARE(e.player.calls, QStringList{"close"});
    }

    void deletingRemovesTheSelectedAndNamesWhatStays()
    {
        Editing e({"1.jpg", "2.mpg", "3.txt", "4.jpg", "5.jpg"});
        QCOMPARE(setReadOnly(e.media(QStringLiteral("3.txt")), true), 0);
        QVERIFY(QFile::remove(e.media(QStringLiteral("5.jpg"))));
        e.deleteRows({e.row(QStringLiteral("5.jpg")), e.row(QStringLiteral("2.mpg")), e.row(QStringLiteral("3.txt"))});
        QCOMPARE(e.deleted.deleted, 2);
        QCOMPARE(e.deleted.failures.size(), 1);
        QVERIFY(e.deleted.failures[0].contains(QStringLiteral("5.jpg")));
        QCOMPARE(QDir(e.dir.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files, QDir::Name),
                 (QStringList{"1.jpg", "4.jpg"}));
        QCOMPARE(e.list.rowCount(), 3);
        QVERIFY(e.row(QStringLiteral("4.jpg")) >= 0 && e.row(QStringLiteral("5.jpg")) >= 0);
        QVERIFY(e.album.find(QStringLiteral("5.jpg")) && !e.album.find(QStringLiteral("3.txt")));

        // Without write permission on the media folder nothing can be deleted.
        Editing f({"x.jpg", "y.jpg"});
        f.closeForOthers();
        QVERIFY(runAsOtherUser([&] {
            f.deleteRows({0, 1});
            return f.deleted.deleted == 0 && f.deleted.failures.size() == 2 && f.list.rowCount() == 2
                   && f.album.size() == 2;
        }));
        QCOMPARE(QDir(f.dir.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files).size(), 2);
    }

    void newAlbumCopiesTheSelectionAndWhatAnAlbumNeeds()
    {
        Editing e({"a.jpg", "b.jpg", "c.jpg"});
        QVERIFY(QDir(e.path()).mkpath(QStringLiteral("Hilfe")));
        QTemporaryDir target;
        const QString folder = target.filePath(QStringLiteral("Urlaub/neu"));
        const NewAlbumOutcome made = createNewAlbum(AlbumPaths{e.path()}, folder, {"a.jpg", "c.jpg"});
        QVERIFY2(made.failures.isEmpty(), qPrintable(made.failures.join('\n')));
        QCOMPARE(QDir(folder + QStringLiteral("/Bilder")).entryList(QDir::Files, QDir::Name), (QStringList{"a.jpg", "c.jpg"}));
        QVERIFY(QFileInfo(folder + QStringLiteral("/Hilfe")).isDir());
        QVERIFY(QFile::exists(folder + QStringLiteral("/Skins/Main/Skin.ini")));
        QVERIFY(QFileInfo(made.programFile).isExecutable());

        const NewAlbumOutcome refused = createNewAlbum(AlbumPaths{e.path()}, QStringLiteral("/proc/gibt/es/nicht"), {"a.jpg"});
        QVERIFY(refused.programFile.isEmpty());
        QCOMPARE(refused.failures.size(), 1);
    }

    void splitWords_data()
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

    void splitWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QStringList result{QStringLiteral("schon da")};
        SplitWords(text, result);
        QCOMPARE(result, QStringList{QStringLiteral("schon da")} + words); // appended, not emptied
    }

    void rowMatching_data()
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

    void rowMatching()
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

    void convertDateBothWays()
    {
        QCOMPARE(ConvertDate(QStringLiteral("24.12.2002"), false), QStringLiteral("20021224"));
        QCOMPARE(ConvertDate(QStringLiteral("20021224"), true), QStringLiteral("24.12.2002"));
        QCOMPARE(ConvertDate(QStringLiteral("24.1"), false), QStringLiteral("124")); // empty pieces past the end
    }

    void headerIconsAlternateAndReset()
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

    void sorting_data()
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

    void sorting()
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
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
