// The album's commands on a real media folder without a window (saving, renaming, deleting, new
// albums, searching and sorting), then the main window over it: preview, keys, buttons, editing,
// search and its menu.
#include "album/KindIcons.h"
#include "album/modMenu.h"
#include "album/PreviewBox.h"
#include "model/AlbumLoader.h"
#include "model/MediaKind.h"
#include "operations/DeleteEntries.h"
#include "operations/modSortList.h"
#include "operations/modSuche.h"
#include "operations/NewAlbum.h"
#include "operations/RenameEntry.h"
#include "operations/SaveInformation.h"
#include "operations/SearchList.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/Shell.h"
#include "support/AlbumWindow.h"
#include "support/CoreChecks.h"
#include "support/OtherUser.h"

#include <QClipboard>
#include <QDateTime>
#include <QDirIterator>
#include <QDrag>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMap>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>

#include <cstdio>

using namespace zv;
using namespace zv::test;

namespace {

struct Editing : WindowFixture {
    Editing(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            file(QString::fromUtf8(name), QByteArray(100, 'm') + name);
        list.follow(album);
        album = loadAlbum(dir.filePath(QStringLiteral("Bilder")));
        list.fill(album);
    }
    AlbumContext context() { return {AlbumPaths{dir.path()}, album, state, &player}; }
    QString datum(const QString &name) const { return list.text(rowOf(name), AlbumListModel::Datum); }
    SaveOutcome::Result save(const QString &name, bool confirm = true)
    {
        AlbumContext c = context();
        PictureInfo typed;
        typed.datum = QStringLiteral("2003");
        typed.ort = QStringLiteral("Köln");
        typed.namen = QStringLiteral("  Oma ");
        last = saveInformation(c, name, typed, [this, confirm] {
            ++asked;
            return confirm;
        });
        return last.result;
    }
    void deleteNames(const QStringList &names)
    {
        AlbumContext c = context();
        deleted = deleteEntries(c, names);
    }
    // Nobody else may write in the album folder or its media folder.
    void closeForOthers() const
    {
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(dir.path(), open);
        QFile::setPermissions(dir.filePath(QStringLiteral("Bilder")), open);
    }

    SaveOutcome last;
    DeleteOutcome deleted;
    int asked = 0;
};

QStringList cellsOf(const AlbumListModel &list, int column)
{
    QStringList texts;
    for (int r = 0; r < list.rowCount(); ++r)
        texts << list.text(r, column);
    return texts;
}

const QString a = QStringLiteral("a.jpg");
const QString b = QStringLiteral("b.jpg");

// Every file of the media folder with its bytes, to see which ones a step changed.
QMap<QString, QByteArray> snapshot(const WindowFixture &fx)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(fx.media({})).entryList(QDir::Files))
        files.insert(name, fx.bytes(name));
    return files;
}

} // namespace

class TestAlbum : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // With no file shown, or with the file gone since loading, nothing is written or created.
    void savingWithoutAFileWritesNothing()
    {
        Editing e({"a.jpg", "b.jpg"});
        QCOMPARE(e.save(QString()), SaveOutcome::Result::NoFile);
        QVERIFY(QFile::remove(e.media(b)));
        QCOMPARE(e.save(b), SaveOutcome::Result::Failed);
        QVERIFY2(e.last.message.contains(b), qPrintable(e.last.message));
        QVERIFY(!QFile::exists(e.media(b)));
        QCOMPARE(e.asked, 0);
    }

    // A file the user may not write: reported, its bytes and its row unchanged.
    void savingAFileTheUserMayNotWrite()
    {
        Editing e({"a.jpg", "b.jpg"});
        e.closeForOthers();
        const QByteArray saved = e.bytes(a);
        QVERIFY(runAsOtherUser([&] {
            return e.save(a) == SaveOutcome::Result::Failed && e.last.message.contains(a) && e.datum(a).isEmpty();
        }));
        QCOMPARE(e.bytes(a), saved);
    }

    // The typed information is stored, the date in its stored form, leading blanks kept; a
    // picture leaves the player alone, a playing video plays on from the second it was at.
    void saving_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("calls");
        const QStringList reopened{"stop", "close", "open v.mpg", "play"};
        QTest::newRow("a picture") << "a.jpg" << false << 0 << QStringList{};
        QTest::newRow("2.5 s halves to even") << "v.mpg" << true << 2500 << reopened + QStringList{"seek 2"};
        QTest::newRow("3.5 s") << "v.mpg" << true << 3500 << reopened + QStringList{"seek 4"};
        QTest::newRow("stopped") << "v.mpg" << false << 7000 << QStringList{"close", "open v.mpg"};
    }
    void saving()
    {
        QFETCH(QString, name);
        QFETCH(bool, playing);
        QFETCH(int, position);
        QFETCH(QStringList, calls);
        Editing e({"a.jpg", "v.mpg"});
        e.player.playing = playing;
        e.player.position = position;
        QCOMPARE(e.save(name), SaveOutcome::Result::Saved);
        QCOMPARE(e.player.calls, calls);
        QCOMPARE(e.last.stored.namen, QStringLiteral("  Oma")); // leading blanks are content
        QCOMPARE(e.datum(name), QStringLiteral("xx.xx.2003"));
        QCOMPARE(e.asked, 0);
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
        QTest::newRow("256 bytes") << QString(126, QChar(0xE4)) + QStringLiteral("x.jpg")
                                   << invalid + QLatin1Char('\n');
        QTest::newRow("COM0 is a name") << "COM0.jpg" << QString();
        QTest::newRow("extension change") << "a.txt" << QString();
    }

    void renaming()
    {
        QFETCH(QString, newName);
        QFETCH(QString, text);
        Editing e({"a.jpg", "b.jpg"});
        AlbumContext context = e.context();
        e.state.CurrentFile = e.media(a);
        const auto refusal = renameEntry(context, a, newName);
        QCOMPARE(refusal.has_value(), !text.isEmpty());
        if (refusal) {
            QVERIFY2(refusal->text.startsWith(text), qPrintable(refusal->text));
            const bool exists = text.startsWith(QLatin1String("Eine"));
            QCOMPARE(refusal->title, exists ? QStringLiteral("kann nicht umbenannt werden") : QStringLiteral("Fehler"));
            QVERIFY(QFile::exists(e.media(a)) && e.album.find(a));
            QVERIFY(e.state.CurrentFile == e.media(a) && e.player.calls.isEmpty());
            return;
        }
        QVERIFY(!QFile::exists(e.media(a)) && QFile::exists(e.media(newName)));
        QVERIFY(e.album.find(newName) && !e.album.find(a));
        QCOMPARE(e.album.find(newName)->kind, MediaKind::Bild); // until the next start
        QCOMPARE(e.state.CurrentFile, e.media(newName)); // the shown file follows its rename
        QCOMPARE(e.list.text(e.rowOf(newName), AlbumListModel::Dateiname), newName); // and so does its row
        QCOMPARE(e.player.calls, QStringList{"close"});
        // Renaming a file that is not the shown one leaves CurrentFile where it was.
        const auto second = renameEntry(context, b, QStringLiteral("c.jpg"));
        QVERIFY(!second && e.state.CurrentFile == e.media(newName));
    }

    void deletingRemovesTheSelectedAndNamesWhatStays()
    {
        Editing e({"1.jpg", "2.mpg", "3.txt", "4.jpg", "5.jpg"});
        QCOMPARE(setReadOnly(e.media(QStringLiteral("3.txt")), true), 0);
        QVERIFY(QFile::remove(e.media(QStringLiteral("5.jpg"))));
        e.deleteNames({"5.jpg", "2.mpg", "3.txt"});
        QCOMPARE(e.deleted.deleted, 2);
        QCOMPARE(e.deleted.failures.size(), 1);
        QVERIFY(e.deleted.failures[0].contains(QStringLiteral("5.jpg")));
        QCOMPARE(QDir(e.dir.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files, QDir::Name),
                 (QStringList{"1.jpg", "4.jpg"}));
        QCOMPARE(e.list.rowCount(), 3);
        QVERIFY(e.rowOf(QStringLiteral("4.jpg")) >= 0 && e.rowOf(QStringLiteral("5.jpg")) >= 0);
        QVERIFY(e.album.find(QStringLiteral("5.jpg")) && !e.album.find(QStringLiteral("3.txt")));

        // Without write permission on the media folder nothing can be deleted.
        Editing f({"x.jpg", "y.jpg"});
        f.closeForOthers();
        QVERIFY(runAsOtherUser([&] {
            f.deleteNames({"x.jpg", "y.jpg"});
            return f.deleted.deleted == 0 && f.deleted.failures.size() == 2 && f.list.rowCount() == 2
                   && f.album.size() == 2;
        }));
        QCOMPARE(QDir(f.dir.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files).size(), 2);
    }

    // An album from someone else may hold a link to any file of the user: aussen.jpg leads to
    // one outside the album, read-only, innen.jpg to a.jpg, read-only too. Saving and renaming
    // refuse the one that leads out; deleting removes a link and never touches its target's mode.
    void linksOutOfTheAlbum_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("refused");
        for (const char *step : {"save", "rename", "delete"}) {
            QTest::addRow("%s out", step) << QString(step) << "aussen.jpg" << (qstrcmp(step, "delete") != 0);
            QTest::addRow("%s inside", step) << QString(step) << "innen.jpg" << false;
        }
    }
    void linksOutOfTheAlbum()
    {
        QFETCH(QString, step);
        QFETCH(QString, entry);
        QFETCH(bool, refused);
        Editing e({"a.jpg"});
        QTemporaryDir home;
        const QString notes = home.filePath(QStringLiteral("notizen.txt"));
        QVERIFY(writeAll(notes, "Termine"));
        QVERIFY(QFile::link(notes, e.media(QStringLiteral("aussen.jpg"))));
        QVERIFY(QFile::link(a, e.media(QStringLiteral("innen.jpg"))));
        QCOMPARE(setReadOnly(notes, true), 0);
        QCOMPARE(setReadOnly(e.media(a), true), 0);
        const unsigned notesMode = *fileMode(notes), aMode = *fileMode(e.media(a));
        e.album = loadAlbum(e.dir.filePath(QStringLiteral("Bilder")));
        e.list.fill(e.album);
        QVERIFY(e.album.find(QStringLiteral("aussen.jpg"))); // listed all the same
        const QByteArray before = e.bytes(a);

        AlbumContext context = e.context();
        if (step == QLatin1String("save")) {
            QCOMPARE(e.save(entry), refused ? SaveOutcome::Result::Failed : SaveOutcome::Result::Saved);
            QVERIFY2(!refused || e.last.message.contains(QStringLiteral("außerhalb")), qPrintable(e.last.message));
            QCOMPARE(e.asked, refused ? 0 : 1);
        } else if (step == QLatin1String("rename")) {
            const auto refusal = renameEntry(context, entry, QStringLiteral("neu.jpg"));
            QCOMPARE(refusal.has_value(), refused);
            QVERIFY(!refusal || refusal->text.contains(QStringLiteral("außerhalb")));
            QCOMPARE(QFileInfo(e.media(entry)).isSymLink(), refused);
        } else {
            e.deleteNames({entry});
            QCOMPARE(e.deleted.deleted, 1);
            QVERIFY(!QFileInfo(e.media(entry)).isSymLink());
        }
        QCOMPARE(test::readAll(notes), QByteArray("Termine"));
        QCOMPARE(*fileMode(notes), notesMode);
        QCOMPARE(*fileMode(e.media(a)), aMode);
        const bool aWritten = step == QLatin1String("save") && !refused;
        QCOMPARE(e.bytes(a).size(), before.size() + (aWritten ? 914 : 0));
    }

    // A new album inside the album, or in a folder it copies, would copy that folder into itself
    // without end; it is refused before anything is made. ROOT holds album/ (its Skins a link to
    // shared/Skins), link -> album, and the program to copy.
    void newAlbumTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("refusal"); // a part of the message, empty when the album is made
        const QString itself = QStringLiteral("ist das Album selbst"), inside = QStringLiteral("liegt im Album"),
                      copied = QStringLiteral("der ins neue Album kopiert wird");
        QTest::newRow("the album") << "ROOT/album" << itself;
        QTest::newRow("the album, trailing slashes") << "ROOT/album//" << itself;
        QTest::newRow("the album through ..") << "ROOT/album/Bilder/.." << itself;
        QTest::newRow("a link to the album") << "ROOT/link" << itself;
        QTest::newRow("a new folder in the album") << "ROOT/album/neu" << inside;
        QTest::newRow("in Hilfe") << "ROOT/album/Hilfe/neu" << inside;
        QTest::newRow("in the media folder") << "ROOT/album/Bilder/neu" << inside;
        QTest::newRow("below a link to the album") << "ROOT/link/neu/tief" << inside;
        QTest::newRow("in Skins, a link") << "ROOT/album/Skins/neu" << copied;
        QTest::newRow("in Skins through ..") << "ROOT/album/Bilder/../Skins/x" << copied;
        QTest::newRow("where the linked Skins lie") << "ROOT/shared/Skins/Main/neu" << copied;
        QTest::newRow("beside it, its name longer") << "ROOT/album2" << QString();
        QTest::newRow("out of the album through ..") << "ROOT/album/Bilder/../../neu" << QString();
        QTest::newRow("beside the linked Skins") << "ROOT/shared/Skins2" << QString();
    }

    void newAlbumTarget()
    {
        QFETCH(QString, target);
        QFETCH(QString, refusal);
        QTemporaryDir root;
        const QDir r(root.path());
        for (const char *folder : {"album/Bilder", "album/Hilfe", "shared/Skins/Main", "program"})
            QVERIFY(r.mkpath(QLatin1String(folder)));
        QVERIFY(writeAll(r.filePath(QStringLiteral("album/Bilder/a.jpg")), "a"));
        QVERIFY(writeAll(r.filePath(QStringLiteral("album/Hilfe/Hilfe.html")), "<html/>"));
        QVERIFY(writeAll(r.filePath(QStringLiteral("shared/Skins/Main/Skin.ini")), "[Skin]\n"));
        QVERIFY(writeAll(r.filePath(QStringLiteral("program/zidoverev")), "program"));
        QVERIFY(QFile::link(r.filePath(QStringLiteral("shared/Skins")), r.filePath(QStringLiteral("album/Skins"))));
        QVERIFY(QFile::link(r.filePath(QStringLiteral("album")), r.filePath(QStringLiteral("link"))));
        const auto everything = [&] {
            QStringList paths;
            for (QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                 QDirIterator::Subdirectories);
                 it.hasNext();)
                paths << it.next();
            paths.sort();
            return paths;
        };
        const QStringList before = everything();
        target.replace(QStringLiteral("ROOT"), root.path());

        const NewAlbumOutcome outcome =
            createNewAlbum(AlbumPaths{r.filePath(QStringLiteral("album"))}, target, {QStringLiteral("a.jpg")}, {},
                           r.filePath(QStringLiteral("program/zidoverev")));
        if (refusal.isEmpty()) {
            QVERIFY2(outcome.failures.isEmpty(), qPrintable(outcome.failures.join(u'\n')));
            QCOMPARE(outcome.programFile, QDir::cleanPath(target) + QStringLiteral("/zidoverev"));
            QCOMPARE(readAll(QDir::cleanPath(target) + QStringLiteral("/Bilder/a.jpg")), QByteArray("a"));
            QCOMPARE(readAll(QDir::cleanPath(target) + QStringLiteral("/Skins/Main/Skin.ini")), QByteArray("[Skin]\n"));
            return;
        }
        QVERIFY(outcome.programFile.isEmpty());
        QCOMPARE(outcome.failures.size(), 1);
        QVERIFY2(outcome.failures[0].contains(refusal), qPrintable(outcome.failures[0]));
        QVERIFY(outcome.failures[0].contains(QStringLiteral("Das neue Album braucht einen Ordner außerhalb")));
        QCOMPARE(everything(), before);
    }

    void splitWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("every separator") << "a!b,c.d/e\\f:g;h&i(j)k[l]m{n}o?p q"
                                         << QString("abcdefghijklmnopq").split(QString(), Qt::SkipEmptyParts);
        QTest::newRow("tab, hyphen, apostrophe, quote stay")
            << "Jean-Luc d'Arc\t\"x\"" << QStringList{"Jean-Luc", "d'Arc\t\"x\""};
        QTest::newRow("separators only") << ".,;!?" << QStringList{};
        QTest::newRow("leading and trailing separators, repeats kept") << " (Rom) Rom..." << QStringList{"Rom", "Rom"};
    }

    void splitWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QStringList result{QStringLiteral("schon da")};
        SplitWords(text, result);
        QCOMPARE(result, QStringList{QStringLiteral("schon da")} + words); // appended, not emptied
    }

    // Each of InitSeparators' characters splits a box's words and bounds a word in a cell, which
    // the search checks in place; the list ends with the empty entry for a text's ends.
    void separatorsSplitBoxesAndCells()
    {
        const QStringList separators = InitSeparators();
        QCOMPARE(separators.size(), 17);
        QCOMPARE(separators.last(), QString());
        PictureInfo boxes;
        boxes.ort = QStringLiteral("bonn");
        const SearchQuery query = SearchQuery::fromBoxes(boxes);
        for (const QString &separator : separators.first(16)) {
            const QString text = QStringLiteral("köln") + separator + QStringLiteral("bonn");
            QStringList words;
            SplitWords(text, words);
            QVERIFY2(words == (QStringList{"köln", "bonn"}), qPrintable(text));
            ListRow row;
            row.ort = text;
            QVERIFY2(query.matches(row), qPrintable(text));
        }
        ListRow joined;
        joined.ort = QStringLiteral("köln-bonn");
        QVERIFY(!query.matches(joined));
    }

    void convertDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("converted");
        QTest::newRow("to year-month-day") << "24.12.2002" << false << "20021224";
        QTest::newRow("back") << "20021224" << true << "24.12.2002";
        QTest::newRow("year only") << "xx.xx.2003" << false << "2003xxxx";
        QTest::newRow("short text, empty pieces") << "5.2003" << false << "005.";
        QTest::newRow("empty") << "" << false << "";
    }
    void convertDate()
    {
        QFETCH(QString, text);
        QFETCH(bool, back);
        QTEST(ConvertDate(text, back), "converted");
    }

    // The date sort builds its keys in place; they order rows as ConvertDate's texts do.
    void datesSortByTheirConvertedForm()
    {
        const QStringList dates{"01.02.2004", "xx.xx.2003", "",           "5.2003",     "31.12.2002",
                                "1.05.2003",  "15.01.2003", "xx.05.2003", "31.12.2002", "2003"};
        AlbumListModel list;
        std::vector<ListRow> rows;
        for (int i = 0; i < dates.size(); ++i)
            rows.push_back({i, QString::number(i), "", dates[i], "", "", ""});
        list.appendRows(std::move(rows));
        QStringList expected = dates;
        std::stable_sort(expected.begin(), expected.end(), [](const QString &x, const QString &y) {
            return ConvertDate(x, false) < ConvertDate(y, false);
        });
        QVERIFY(SortColumn(list, 3, ColumnType::Date, SortOrder::Ascending));
        QCOMPARE(cellsOf(list, AlbumListModel::Datum), expected);
    }

    void rowMatching_data()
    {
        QTest::addColumn<QString>("datum"); // box texts
        QTest::addColumn<QString>("namen");
        QTest::addColumn<QString>("ort");
        QTest::addColumn<QStringList>("kept");
        const auto row = [](const char *name, const char *datum, const char *namen, const char *ort,
                            const QStringList &kept) {
            QTest::newRow(name) << QString(datum) << QString(namen) << QString::fromUtf8(ort) << kept;
        };
        row("year", "2003", "", "", {"a", "b", "c", "d", "e"});
        row("month gets its zero", "5.2003", "", "", {"a", "c", "e"});
        row("nine characters get a zero", "1.05.2003", "", "", {"a"});
        row("eight characters get none", "1.1.2003", "", "", {});
        row("a trailing blank counts", "2003 ", "", "", {});
        row("names in any order, any case", "", "BERT anna", "", {"a"});
        row("hyphenated is one word", "", "Jean", "", {});
        row("hyphenated whole", "", "jean-luc", "", {"c"});
        row("umlaut lower-cased", "", "", "KÖLN", {"a", "b"});
        row("separators only ask nothing", "", "", "...", {"a", "b", "c", "d", "e"});
        row("all boxes, one word short", "2003", "anna bert", "köln", {"a"});
    }

    void rowMatching()
    {
        QFETCH(QString, datum);
        QFETCH(QString, namen);
        QFETCH(QString, ort);
        QFETCH(QStringList, kept);
        AlbumListModel list;
        list.appendRows({{1, "a", "1", "01.05.2003", "Köln", "Bert und Anna", ""},
                         {2, "b", "1", "xx.xx.2003", "Köln-Ost? nein: Köln", "Anna", ""},
                         {3, "c", "1", "xx.05.2003", "Rom", "Jean-Luc", ""},
                         {4, "d", "1", "xx.15.2003", "", "", ""},
                         {5, "e", "1", "11.05.2003", "", "", ""}});
        PictureInfo boxes;
        boxes.datum = datum;
        boxes.namen = namen;
        boxes.ort = ort;
        QCOMPARE(runSearch(list, SearchQuery::fromBoxes(boxes)), kept.size());
        QCOMPARE(cellsOf(list, AlbumListModel::Dateiname), kept);
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
        const int up = int(SortOrder::Ascending);
        const int down = int(SortOrder::Descending);
        QTest::newRow("size up") << 2 << up << QStringList{"d", "e", "a", "c", "b"};
        QTest::newRow("size down, zeros stable") << 2 << down << QStringList{"b", "c", "a", "d", "e"};
        QTest::newRow("date up, year only after its known dates") << 3 << up << QStringList{"e", "b", "c", "d", "a"};
        QTest::newRow("date down") << 3 << down << QStringList{"a", "d", "c", "b", "e"};
        QTest::newRow("text without case, umlauts by base letter") << 4 << up << QStringList{"b", "d", "c", "a", "e"};
        QTest::newRow("text down keeps equal keys in order") << 4 << down << QStringList{"a", "e", "c", "d", "b"};
    }

    void sorting()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(QStringList, names);
        AlbumListModel list;
        list.appendRows({{1, "a", "5", "01.02.2004", "Zell", "", ""},
                         {2, "b", "120", "31.12.2002", "aachen", "", ""},
                         {3, "c", "33", "15.01.2003", "Bonn", "", ""},
                         {4, "d", "0", "xx.xx.2003", "Ärzte", "", ""},
                         {5, "e", "", "", "zell", "", ""}});
        QVERIFY(SortColumn(list, column, columnType(column), SortOrder(order)));
        QCOMPARE(cellsOf(list, AlbumListModel::Dateiname), names);
    }

    // Files from outside are handed on for import; text without files and drags that may only
    // move are refused.
    void dropsOntoTheList_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<bool>("files");
        QTest::addColumn<int>("actions");
        QTest::addColumn<bool>("taken");
        const int copyMove = Qt::CopyAction | Qt::MoveAction;
        QTest::newRow("files") << int(ViewDetails) << true << copyMove << true;
        QTest::newRow("text") << int(ViewDetails) << false << copyMove << false;
        QTest::newRow("move only") << int(ViewSmallIcons) << true << int(Qt::MoveAction) << false;
    }
    void dropsOntoTheList()
    {
        QFETCH(int, view);
        QFETCH(bool, files);
        QFETCH(int, actions);
        WindowFixture fx;
        fx.picture(a, {40, 30});
        auto w = shownWindow(fx);
        QVERIFY(w);
        w->runMenuCommand(view);
        auto *list = child<QAbstractItemView>(*w, view == ViewDetails ? "lstBilder" : "lstSymbole");
        QMimeData data;
        const QList<QUrl> urls{localFileUrl(QStringLiteral("/home/eva/Fotos/x.jpg")),
                               localFileUrl(QStringLiteral("/home/eva/Fotos"))};
        if (files)
            data.setUrls(urls);
        else
            data.setText(QStringLiteral("x.jpg"));
        QSignalSpy dropped(w.get(), &frmDaten::filesDropped);
        const bool taken = dropOnto(list->viewport(), data, Qt::DropActions(actions));
        QTEST(taken, "taken");
        QCOMPARE(dropped.size(), int(taken));
        if (taken)
            QCOMPARE(dropped.first().first().value<QList<QUrl>>(), urls);
        QCOMPARE(fx.album.size(), std::size_t(1)); // the window itself imports nothing
    }

    // Rows dragged out give the file manager their files to copy, never to move, under the
    // names' own bytes; dropped back onto the list they are not taken.
    void draggingRowsOutOffersCopies_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("details") << int(ViewDetails);
        QTest::newRow("list") << int(ViewList);
    }
    void draggingRowsOutOffersCopies()
    {
        QFETCH(int, view);
        WindowFixture fx;
        const QString latin = decodeFileName("M\xfc"
                                             "nchen.jpg");
        for (const QString &name : {a, b, latin})
            QVERIFY(writeNative(nativePath(fx.media(name)), "bytes"));
        auto w = shownWindow(fx);
        QVERIFY(w);
        QCOMPARE(fx.list.rowCount(), 3);
        w->runMenuCommand(ViewIcons);
        w->runMenuCommand(view);
        auto *list = child<QAbstractItemView>(*w, view == ViewDetails ? "lstBilder" : "lstSymbole");
        const auto row = [&](const QString &name) { return fx.list.index(fx.rowOf(name), view == ViewDetails); };
        list->selectionModel()->select(row(a), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list->selectionModel()->select(row(latin), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QList<QUrl> offered;
        Qt::DropActions actions;
        Qt::DropAction chosen = Qt::MoveAction;
        bool takenBack = true;
        // The drag runs its own loop; look at it from inside and let it go.
        QTimer::singleShot(200, list, [&] {
            if (auto *drag = list->findChild<QDrag *>()) {
                offered = drag->mimeData()->urls();
                actions = drag->supportedActions();
                chosen = drag->defaultAction();
                QDragEnterEvent back(QPoint(5, 5), actions, drag->mimeData(), Qt::LeftButton, {});
                QApplication::sendEvent(list->viewport(), &back);
                takenBack = back.isAccepted();
            }
            QDrag::cancel();
        });
        const QPoint at = list->visualRect(row(a)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        for (int step = 1; step <= 3; ++step)
            QTest::mouseMove(list->viewport(), at + QPoint(step * QApplication::startDragDistance(), 0));
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        QList<QUrl> expected{localFileUrl(fx.media(a)), localFileUrl(fx.media(latin))};
        if (fx.rowOf(a) > fx.rowOf(latin))
            std::reverse(expected.begin(), expected.end());
        QCOMPARE(offered, expected);
        QCOMPARE(actions, Qt::DropActions(Qt::CopyAction));
        QCOMPARE(chosen, Qt::CopyAction);
        QVERIFY(!takenBack);
        QCOMPARE(fx.album.size(), std::size_t(3));
        std::remove(nativePath(fx.media(latin)).constData()); // QTemporaryDir cannot name it
    }

    void previewAndPlayerFollowTheClickedRow()
    {
        WindowFixture fx;
        fx.picture(QStringLiteral("p.jpg"), {300, 400});
        fx.file(QStringLiteral("v.mpg"));
        fx.file(QStringLiteral("v.mp4"));
        QVERIFY(fx.picture(QStringLiteral("s.png"), {400, 300}, Qt::green, "PNG"));
        fx.file(QStringLiteral("kaputt.png"), QByteArray("\x89PNG\r\n\x1a\n", 8) + "broken");
        fx.file(QStringLiteral("kaputt.heic"), QByteArray("\0\0\0\x18"
                                                          "ftypheic\0\0\0\0mif1heic",
                                                          24)
                                                   + "broken");
        fx.file(QStringLiteral("f00.txt"));
        for (const QString &name : QDir(fx.media({})).entryList(QDir::Files))
            fx.info(name, name); // each file's place is its name
        QFile::setPermissions(fx.media(QStringLiteral("f00.txt")), QFile::ReadOwner);
        auto w = fx.open();
        QCOMPARE(fx.list.text(fx.rowOf(QStringLiteral("f00.txt")), AlbumListModel::Schreibschutz), QStringLiteral("X"));
        QVERIFY(fx.state.CurrentFile.isEmpty());
        w->showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(fx.field(*w, "txtOrt"), fx.album.at(0).name); // the first activation shows the first file

        auto *list = child<QTreeView>(*w, "lstBilder");
        const auto clickOn = [&](const QString &name) {
            list->scrollTo(fx.list.index(fx.rowOf(name), 0));
            fx.clickRow(*w, fx.rowOf(name));
        };
        fx.player.busy = true; // a click while the device still opens the last file
        const QStringList calls = fx.player.calls;
        clickOn(fx.list.text(fx.list.rowCount() - 1, 0));
        QCOMPARE(fx.state.CurrentFile, fx.media(fx.album.at(0).name));
        QCOMPARE(fx.player.calls, calls);
        fx.player.busy = false;
        fx.player.calls.clear();
        auto *image = child<QLabel>(*w, "imgvorschau");
        clickOn(QStringLiteral("p.jpg"));
        const qint64 shown = image->pixmap().cacheKey();
        QCOMPARE(w->previewBox()->pictureRect(), QRectF(22.875, 0, 137.25, 183));
        clickOn(QStringLiteral("v.mpg"));
        QVERIFY(!image->isVisible());
        QCOMPARE(fx.player.calls, (QStringList{"close", "close", "open v.mpg"}));
        QSignalSpy requests(w.get(), &frmDaten::pictureWindowRequested);
        QTest::mouseDClick(w->previewBox(), Qt::LeftButton, {}, QPoint(2, 2)); // the band beside the picture
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0][0].toString(), fx.media(QStringLiteral("v.mpg")));
        // A phone's screenshot is previewed, its video goes to the player, a broken one keeps the picture.
        clickOn(QStringLiteral("s.png"));
        QVERIFY(image->isVisible() && image->pixmap().cacheKey() != shown);
        QCOMPARE(w->previewBox()->pictureRect(), QRectF(0, 22.875, 183, 137.25));
        const qint64 screenshotKey = image->pixmap().cacheKey();
        for (const char *name : {"kaputt.png", "kaputt.heic"}) {
            clickOn(QString::fromLatin1(name));
            QCOMPARE(fx.field(*w, "txtOrt"), QString::fromLatin1(name));
            QVERIFY(image->isVisible() && image->pixmap().cacheKey() == screenshotKey);
        }
        clickOn(QStringLiteral("v.mp4"));
        QVERIFY(!image->isVisible());
        QCOMPARE(fx.player.calls.last(), QStringLiteral("open v.mp4"));

        // Later activations leave the shown file alone.
        QEvent activation(QEvent::ActivationChange);
        QCoreApplication::sendEvent(w.get(), &activation);
        QCOMPARE(fx.state.CurrentFile, fx.media(QStringLiteral("v.mp4")));
    }

    void skinWithoutAPictureIsToldOnce()
    {
        WindowFixture fx(QStringLiteral("button 0 Hilfe.jpg")); // a skin without one picture
        auto w = fx.open();
        w->showMainWindow();
        w->hide();
        w->showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(fx.dialogs.shown.size(), 1); // told once the window is up, and only once
        QVERIFY2(fx.dialogs.shown[0].contains(QStringLiteral("button 0 Hilfe.jpg")), qPrintable(fx.dialogs.shown[0]));
    }

    // Hilfe opens the page, or names it when nothing can; the save lock covers Speichern; X
    // closes the player and quits.
    void panelButtons()
    {
        WindowFixture fx;
        auto w = fx.open();
        w->showMainWindow();
        const QString help = fx.path() + QStringLiteral("/Hilfe/Hilfe.html");
        click(*w, "cmdHilfe");
        QCOMPARE(fx.shell.opened, QStringList{help});
        QCOMPARE(fx.dialogs.shown, QStringList());
        fx.shell.succeeds = false; // no handler for the page: the user is told which file
        click(*w, "cmdHilfe");
        QCOMPARE(fx.dialogs.shown.size(), 1);
        QVERIFY2(fx.dialogs.shown[0].startsWith(QStringLiteral("Hilfe|Die Hilfeseite „") + help + QStringLiteral("“")),
                 qPrintable(fx.dialogs.shown[0]));

        QVERIFY(!child(*w, "cmdSaveX")->isVisible());
        w->setSaveLocked(true);
        QVERIFY(child(*w, "cmdSaveX")->isVisible());

        fx.player.calls.clear();
        QSignalSpy quits(w.get(), &frmDaten::quitRequested);
        click(*w, "cmdX");
        QCOMPARE(fx.player.calls, QStringList{"close"});
        QCOMPARE(quits.size(), 1);
    }

    // Captions and kinds are not cut where the list has room; the file name's caption, which
    // grows with the album, is cut at half the list and told whole in its tooltip.
    void columnsFitTheirCaptions_data()
    {
        QTest::addColumn<int>("loaded");
        QTest::newRow("13 files") << 13;
        QTest::newRow("a caption too long for half the list") << 1'234'567'890;
    }
    void columnsFitTheirCaptions()
    {
        QFETCH(int, loaded);
        WindowFixture fx;
        fx.file(QStringLiteral("notiz.doc"));
        auto w = fx.open();
        w->showMainWindow();
        auto *view = child<QTreeView>(*w, "lstBilder");
        if (loaded >= 1000) // a large font, as on a screen set to large text
            view->header()->setFont(QFont(view->font().family(), 30));
        fx.list.setLoadedCount(loaded);
        const QHeaderView *header = view->header();
        for (int c = 1; c < AlbumListModel::ColumnCount; ++c)
            QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c),
                     qPrintable(fx.list.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()));
        QVERIFY(header->sectionSize(AlbumListModel::Typ)
                > view->fontMetrics().horizontalAdvance(KindNames(MediaKind::Unbekannt)));
        const int half = view->viewport()->width() / 2;
        const QString caption = fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString();
        if (loaded < 1000) {
            QVERIFY(header->sectionSizeHint(0) <= half);
            QVERIFY(header->sectionSize(0) >= header->sectionSizeHint(0));
        } else {
            QVERIFY(header->sectionSizeHint(0) > half);
            QCOMPARE(header->sectionSize(0), half);
        }
        QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), caption);
    }

    // "Liste" gives each name its whole width however short the first one is, and no more
    // than the list has; a name that arrives later widens the columns.
    void listViewShowsWholeNames()
    {
        WindowFixture fx;
        fx.file(QStringLiteral("a.jpg"));
        fx.file(QStringLiteral("Kindergartenfest im Sommer 2019.jpg"));
        auto w = fx.open();
        w->showMainWindow();
        w->runMenuCommand(ViewList);
        auto *view = child<QListView>(*w, "lstSymbole");
        const auto needs = [&](const QString &name) {
            return view->fontMetrics().horizontalAdvance(name) + view->iconSize().width();
        };
        QVERIFY(view->gridSize().width() > needs(QStringLiteral("Kindergartenfest im Sommer 2019.jpg")));
        QVERIFY(view->gridSize().width() < view->contentsRect().width());
        const QString longer = QStringLiteral("Kindergartenfest im Sommer 2019 mit Oma und Opa.jpg");
        const auto enter = [&](const QString &name) {
            fx.file(name);
            auto entry = loadEntry(AlbumPaths{fx.path()}.mediaFolder(), name);
            QVERIFY(entry);
            fx.album.append(std::move(*entry)); // the list follows the album
        };
        enter(longer);
        QTRY_VERIFY(view->gridSize().width() > needs(longer));
        enter(QStringLiteral("x").repeated(200) + QStringLiteral(".jpg"));
        QTRY_COMPARE(view->gridSize().width(), view->contentsRect().width() - 4);
    }

    // The remarks take 512 characters; the boxes refuse what Windows-1252 cannot hold.
    void boxesHoldWhatTheTrailerCan()
    {
        WindowFixture fx;
        auto w = fx.open();
        auto *remarks = child<QPlainTextEdit>(*w, "txtBemerkungen");
        remarks->insertPlainText(QString(513, QLatin1Char('b'))); // one past the limit
        QCOMPARE(remarks->toPlainText().size(), 512);
        remarks->setPlainText(QStringLiteral("Sonne 😀 am Rhein"));
        QCOMPARE(remarks->toPlainText(), QStringLiteral("Sonne  am Rhein"));
        auto *ort = child<QLineEdit>(*w, "txtOrt");
        QGuiApplication::clipboard()->setText(QStringLiteral("Köln 北京 €x😀y"));
        ort->paste();
        QCOMPARE(ort->text(), QStringLiteral("Köln  €xy"));
    }

    void viewsAndMenuCommands()
    {
        WindowFixture fx;
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            fx.file(QString::fromLatin1(name));
        auto w = shownWindow(fx);
        QVERIFY(w);
        auto *list = child<QTreeView>(*w, "lstBilder");
        // The views share rows and selection.
        w->runMenuCommand(ViewList);
        QCOMPARE(fx.state.ViewMode, AlbumView::List);
        auto *icons = child<QListView>(*w, "lstSymbole");
        QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, icons->visualRect(fx.list.index(2, 0)).center());
        QCOMPARE(fx.state.CurrentFile, fx.media(fx.list.text(2, 0)));
        w->runMenuCommand(ViewDetails);
        QVERIFY(!icons->isVisible() && list->isVisible());
        QSignalSpy exports(w.get(), &frmDaten::exportRequested);
        QSignalSpy imports(w.get(), &frmDaten::importRequested);
        QSignalSpy skins(w.get(), &frmDaten::skinChooserRequested);
        list->selectionModel()->select(fx.list.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w->runMenuCommand(SaveAs);
        w->runMenuCommand(AddFiles);
        w->runMenuCommand(ChooseSkin);
        for (int inert : {int(StorageInfo), int(FreeSpace), int(UsedSpace), 0})
            w->runMenuCommand(inert);
        QCOMPARE(exports.size(), 1);
        QCOMPARE(exports[0][0].toStringList(), (QStringList{fx.list.text(0, 0), fx.list.text(2, 0)})); // list order
        QVERIFY(imports.size() == 1 && skins.size() == 1 && fx.dialogs.shown.isEmpty());

        // Delete asks each time, closes the player, then removes the selected rows and their files.
        fx.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(fx.list.rowCount(), 3);
        fx.player.calls.clear();
        w->runMenuCommand(RemoveFiles);
        QCOMPARE(fx.player.calls, QStringList{"close"});
        QCOMPARE(fx.dialogs.shown,
                 QStringList(2, QStringLiteral(
                                    "löschen|Soll der Löschvorgang gestartet werden?\r\n\r\nAusgewählt: 2 Dateien")));
        for (const QString &name : exports[0][0].toStringList())
            QVERIFY(!QFile::exists(fx.media(name)));
        QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Dateiname [1 Dateien geladen]"));
    }

    // "Symbole" shows a picture's thumbnail once it is made, and makes it again when a saved trailer
    // gave the file a new time; "kleine Symbole" and a file of unknown kind keep the kind icons.
    void thumbnailsInSymbole()
    {
        QTemporaryDir cache;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        const auto unset = qScopeGuard([] { qunsetenv("XDG_CACHE_HOME"); });
        WindowFixture fx;
        fx.picture(QStringLiteral("a.jpg"), {400, 300}, Qt::red);
        fx.file(QStringLiteral("notiz.txt"));
        const auto setTime = [&](qint64 seconds) {
            QFile file(fx.media(QStringLiteral("a.jpg")));
            return file.open(QIODevice::ReadWrite)
                   && file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds), QFileDevice::FileModificationTime);
        };
        QVERIFY(setTime(1'500'000'000));
        auto w = shownWindow(fx);
        QVERIFY(w);
        const auto icon = [&](const char *name) {
            const QModelIndex index = fx.list.index(fx.rowOf(QLatin1String(name)), 0);
            return fx.list.data(index, Qt::DecorationRole).value<QIcon>();
        };
        const auto colour = [&] { return icon("a.jpg").pixmap(64).toImage().pixelColor(32, 24); };
        w->runMenuCommand(ViewIcons);
        QTRY_VERIFY(colour().red() > 200 && colour().blue() < 60);
        QCOMPARE(icon("notiz.txt").cacheKey(), KindIcons::icon(MediaKind::Unbekannt).cacheKey());

        // New pixels under the old time are not looked at; the trailer's save moves the time.
        fx.picture(QStringLiteral("a.jpg"), {400, 300}, Qt::blue);
        QVERIFY(setTime(1'500'000'000));
        PictureInfo info;
        info.ort = QStringLiteral("Köln");
        QVERIFY(!WritePictureInfo(fx.media(QStringLiteral("a.jpg")), info));
        fx.album.replaceInfo(*fx.album.indexOf(QStringLiteral("a.jpg")), info);
        QTRY_VERIFY(colour().blue() > 200 && colour().red() < 60);

        w->runMenuCommand(ViewSmallIcons);
        QCOMPARE(icon("a.jpg").cacheKey(), KindIcons::icon(MediaKind::Bild).cacheKey());
    }

    // A date that would not be stored as typed is shown before it is written; the user may go
    // back. A date the file had already is not asked about again.
    void dateQuestionBeforeSaving_data()
    {
        QTest::addColumn<QString>("typed"); // empty: the date box is left as the file gave it
        QTest::addColumn<int>("answer"); // to the question; -1: no question expected
        QTest::addColumn<QString>("stored"); // empty: nothing written
        QTest::newRow("1.1.2003, back to correct it") << "1.1.2003" << int(MessageAnswer::No) << "";
        QTest::newRow("1.1.2003, saved anyway") << "1.1.2003" << int(MessageAnswer::Yes) << "xx.xx.xxxx";
        QTest::newRow("12.5.2003") << "12.5.2003" << int(MessageAnswer::Yes) << "012.5.2003";
        QTest::newRow("2003 asks nothing") << "2003" << -1 << "xx.xx.2003";
        QTest::newRow("the file's own unknown date") << "" << -1 << "xx.xx.xxxx";
    }
    void dateQuestionBeforeSaving()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, stored);
        WindowFixture fx;
        fx.file(a, QByteArray(100, 'm'));
        fx.info(a, QStringLiteral("Köln"), {}, QStringLiteral("xx.xx.xxxx"));
        auto w = shownWindow(fx);
        QVERIFY(w);
        fx.clickRow(*w, 0);
        const QByteArray before = fx.bytes(a);
        if (!typed.isEmpty())
            child<QLineEdit>(*w, "txtDatum")->setText(typed);
        child<QLineEdit>(*w, "txtOrt")->setText(QStringLiteral("Rom"));
        if (answer >= 0)
            fx.dialogs.answers = {MessageAnswer(answer)};
        click(*w, "cmdAktual");
        QCOMPARE(fx.dialogs.shown.size(), answer >= 0 ? 1 : 0);
        if (answer >= 0) {
            QVERIFY(fx.dialogs.shown[0].startsWith(QStringLiteral("Speichern|Das eingegebene Datum „") + typed));
            QVERIFY(fx.dialogs.shown[0].endsWith(QStringLiteral("Trotzdem speichern?")));
        }
        if (stored.isEmpty()) {
            QCOMPARE(fx.bytes(a), before);
            QCOMPARE(w->focusWidget(), child(*w, "txtDatum"));
            return;
        }
        QCOMPARE(trimmed(ReadPictureInfo(fx.media(a)).info).datum, stored);
        click(*w, "cmdAktual"); // the stored date is now the box's own: no second question
        QCOMPARE(fx.dialogs.shown.size(), answer >= 0 ? 1 : 0);
    }

    // The question to delete the shown file names it; afterwards no row is marked, and Speichern
    // has no file to write into and says so.
    void deletingTheShownFile()
    {
        WindowFixture fx;
        fx.picture(QStringLiteral("bild.jpg"), {40, 30});
        fx.info(QStringLiteral("bild.jpg"), QStringLiteral("Sylt"));
        fx.file(QStringLiteral("notiz.txt"));
        auto w = shownWindow(fx);
        QVERIFY(w);
        auto *list = child<QTreeView>(*w, "lstBilder");
        fx.clickRow(*w, fx.rowOf(QStringLiteral("bild.jpg")));
        fx.dialogs.answers = {MessageAnswer::Yes};
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(
            fx.dialogs.shown.last(),
            QStringLiteral("löschen|Soll der Löschvorgang gestartet werden?\r\n\r\nAusgewählt: 1 Datei („bild.jpg“)"));
        QVERIFY(fx.list.markedName().isEmpty());

        const auto before = snapshot(fx);
        child<QLineEdit>(*w, "txtOrt")->setText(QStringLiteral("Rom"));
        click(*w, "cmdAktual");
        QVERIFY(fx.dialogs.shown.last().startsWith(QStringLiteral("Speichern|Es wird keine Datei angezeigt")));
        QCOMPARE(snapshot(fx), before);
    }

    void searchModeAndSorting()
    {
        WindowFixture fx;
        fx.file(QStringLiteral("a.txt"));
        fx.info(QStringLiteral("a.txt"), QStringLiteral("Köln"), {}, QStringLiteral("01.02.1999"));
        fx.file(QStringLiteral("b.txt"));
        fx.info(QStringLiteral("b.txt"), QStringLiteral("Bonn"), {}, QStringLiteral("31.12.2002"));
        fx.file(QStringLiteral("c.txt"));
        fx.info(QStringLiteral("c.txt"), QStringLiteral("Köln"), QStringLiteral("Dom"), QStringLiteral("15.01.2003"));
        auto w = shownWindow(fx);
        QVERIFY(w);
        fx.clickRow(*w, fx.rowOf(QStringLiteral("c.txt")));
        click(*w, "cmdSuche");
        QCOMPARE(fx.field(*w, "txtBemerkungen"), QString());
        click(*w, "cmdBack"); // no search ran: the boxes show the file again
        QCOMPARE(fx.field(*w, "txtBemerkungen"), QStringLiteral("Dom"));
        QVERIFY(!child(*w, "picSuche")->isVisible());

        click(*w, "cmdSuche");
        child<QLineEdit>(*w, "txtOrt")->setText(QStringLiteral("köln"));
        click(*w, "cmdStart");
        QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Dateiname [2 Dateien gefunden]"));
        // The date header sorts the rows shown, the second click the other way round.
        auto *header = child<QTreeView>(*w, "lstBilder")->header();
        const QPoint date(header->sectionViewportPosition(2) + 20, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, date);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, date);
        QCOMPARE(fx.list.text(0, AlbumListModel::Dateiname), QStringLiteral("c.txt"));
        QCOMPARE(header->sortIndicatorSection(), 2);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        click(*w, "cmdBack");
        QCOMPARE(fx.list.rowCount(), 3);
        QCOMPARE(header->sortIndicatorSection(), -1);

        // A search that left nothing: searching again is refused with a message.
        click(*w, "cmdSuche");
        child<QLineEdit>(*w, "txtOrt")->setText(QStringLiteral("Ulm"));
        click(*w, "cmdStart");
        QCOMPARE(fx.list.rowCount(), 0);
        click(*w, "cmdStart");
        QCOMPARE(fx.dialogs.shown, QStringList{"Fehler|Es sind keine Einträge in der Liste"});
    }

    void menuStructure_data()
    {
        QTest::addColumn<bool>("dorido");
        QTest::addColumn<int>("viewMode");
        QTest::newRow("without Dorido, details") << false << 4;
        QTest::newRow("with Dorido, list") << true << 3;
    }

    void menuStructure()
    {
        QFETCH(bool, dorido);
        QFETCH(int, viewMode);
        QImage pie(90, 90, QImage::Format_ARGB32);
        pie.fill(Qt::green);
        const auto menu = BuildPopupMenu(
            MenuState{dorido, static_cast<AlbumView>(viewMode), {pie, QStringLiteral("frei:  1 GB"), {}, {}, {}}});
        // The drive's usage stands in a second column, right of the commands and not among them.
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        const QWidget *column = child(*menu, "SpeicherInfo");
        QVERIFY(column);
        QVERIFY(column->geometry().left() >= menu->actionGeometry(findMenuItem(*menu, SelectAll)).right());
        QVERIFY(menu->actionGeometry(findMenuItem(*menu, FreeSpace)).isEmpty());
        const QList<QLabel *> labels = column->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel *l) { return l->text() == "frei:  1 GB"; }));
        menu->close();
        const QString last = menu->findChild<QMenu *>(QStringLiteral("mnuDateien"))->actions().last()->text();
        QCOMPARE(last, dorido ? QStringLiteral("bei Dorido bestellen") : QStringLiteral("neues Album"));
        for (int mode = ViewIcons; mode <= ViewDetails; ++mode)
            QCOMPARE(IsItemChecked(*menu, mode), mode == viewMode);
        // "Bilder" works on a selection; while one of its commands runs, that one can be stopped
        // and the others wait.
        QVERIFY(!findMenuItem(*menu, TakeCameraDate)->isEnabled() && !findMenuItem(*menu, TurnLeft)->isEnabled());
        const auto idle = BuildPopupMenu(MenuState{dorido, static_cast<AlbumView>(viewMode), {}, true});
        QVERIFY(findMenuItem(*idle, TakeCameraDate)->isEnabled() && findMenuItem(*idle, TurnLeft)->isEnabled());
        QVERIFY(!findMenuItem(*idle, StopCameraDate) && !findMenuItem(*idle, StopTurns));
        const auto dating =
            BuildPopupMenu(MenuState{dorido, static_cast<AlbumView>(viewMode), {}, true, PictureWork::CameraDates});
        QVERIFY(!findMenuItem(*dating, TakeCameraDate) && findMenuItem(*dating, StopCameraDate)->isEnabled());
        QVERIFY(!findMenuItem(*dating, TurnUpright)->isEnabled() && !findMenuItem(*dating, StopTurns));
        const auto turning =
            BuildPopupMenu(MenuState{dorido, static_cast<AlbumView>(viewMode), {}, true, PictureWork::Turns});
        QVERIFY(!findMenuItem(*turning, TakeCameraDate)->isEnabled() && findMenuItem(*turning, StopTurns)->isEnabled());
        QVERIFY(!findMenuItem(*turning, TurnRight)->isEnabled() && !findMenuItem(*turning, StopCameraDate));
    }

    // Each selected file reaches the ordering program as one argument, whatever its name holds.
    void printOrderingPassesEachPathWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << QStringLiteral("Oma und Opa.jpg");
        QTest::newRow("umlaut") << QStringLiteral("Köln.jpg");
        QTest::newRow("quotes and blanks") << QStringLiteral("x\" \"--evil=1\" \"y.jpg");
        QTest::newRow("one quote") << QStringLiteral("12\" Zoll.jpg");
        QTest::newRow("backslash before a quote") << QStringLiteral("a\\\" b.jpg");
    }

    void printOrderingPassesEachPathWhole()
    {
        QFETCH(QString, name);
        WindowFixture fx;
        for (const QString &n : {name, QStringLiteral("z.jpg")})
            fx.file(n);
        auto w = fx.open();
        w->runMenuCommand(OrderPrints); // no Dorido folder: told, nothing started
        QCOMPARE(fx.dialogs.shown.size(), 1);
        QVERIFY(fx.dialogs.shown[0].contains(QStringLiteral("Dorido/ips")));
        QVERIFY(fx.shell.started.isEmpty());

        // A real program in its place writes down the arguments it got, one a line.
        QDir(fx.path()).mkpath(QStringLiteral("Dorido"));
        const QString received = fx.dir.filePath(QStringLiteral("received.txt"));
        const QString script = fx.dir.filePath(QStringLiteral("Dorido/ips"));
        QVERIFY(writeAll(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + received.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
        const QStringList expected{fx.media(fx.list.text(0, 0)), fx.media(fx.list.text(1, 0))};

        w->runMenuCommand(SelectAll);
        w->runMenuCommand(OrderPrints);
        QCOMPARE(fx.shell.started.size(), 1);
        QCOMPARE(fx.shell.started[0].program, script);
        QCOMPARE(fx.shell.started[0].arguments, expected);

        const auto shell = makeDesktopShell();
        frmDaten window(MainWindowServices{AlbumPaths{fx.path()}, fx.album, fx.list, fx.state, *shell, fx.dialogs},
                        SkinFolder(fx.path(), QStringLiteral("Main")));
        window.runMenuCommand(SelectAll);
        window.runMenuCommand(OrderPrints);
        QFile got(received);
        QTRY_VERIFY(got.exists() && got.size() > 0);
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(got.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    }
};

QTEST_MAIN(TestAlbum)
#include "tst_album.moc"
