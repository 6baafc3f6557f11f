// Saving, renaming and deleting, on a real media folder and without a window.
#include "album/DeleteEntries.h"
#include "album/RenameEntry.h"
#include "album/SaveInformation.h"
#include "app/AlbumLoader.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "support/OtherUser.h"
#include "support/WindowFixture.h"

#include <QTest>

#include <sys/stat.h>

using namespace zv;
using namespace zv::test;

namespace {

struct Editing : AlbumFolder {
    Editing(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            file(QString::fromUtf8(name), QByteArray(100, 'm') + name);
        reload();
    }
    void reload()
    {
        album = loadAlbum(dir.filePath(QStringLiteral("Bilder")));
        list.fill(album);
    }
    AlbumContext context() { return {AlbumPaths{dir.path()}, album, list, state, &player}; }
    int row(const QString &name) const { return list.rowOf(name); }

    Album album;
    AlbumListModel list;
    ProgramState state;
    RecordingMedia player;
};

PictureInfo typed(const QString &datum, const QString &ort = QStringLiteral("Köln"))
{
    PictureInfo info;
    info.datum = datum;
    info.ort = ort;
    info.namen = QStringLiteral("  Oma ");
    return info;
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savingStoresFormAndUpdatesRowAndEntry();
    void readOnlyFileAsksFirst_data();
    void readOnlyFileAsksFirst();
    void savingAPlayingVideoPlaysOnFromTheSecond_data();
    void savingAPlayingVideoPlaysOnFromTheSecond();
    void savingWithoutRowOrFileChangesNothing();
    void renameRefusals_data();
    void renameRefusals();
    void renamedFileIsSavedAndDeletedUnderItsNewName();
    void deletingRemovesExactlyTheSelected();
    void filesThatStayAreNamed();
};

void TestEditing::savingStoresFormAndUpdatesRowAndEntry()
{
    Editing e({"a.jpg", "b.jpg"});
    AlbumContext context = e.context();
    const QByteArray before = e.bytes(QStringLiteral("b.jpg"));
    const SaveOutcome outcome = saveInformation(context, e.row(QStringLiteral("b.jpg")), typed(QStringLiteral("2003")),
                                                [] { return false; });
    QCOMPARE(int(outcome.result), int(SaveOutcome::Result::Saved));
    QCOMPARE(outcome.stored.datum, QStringLiteral("xx.xx.2003"));
    QCOMPARE(outcome.stored.namen, QStringLiteral("  Oma")); // leading blanks are content
    QCOMPARE(e.list.text(e.row(QStringLiteral("b.jpg")), AlbumListModel::Datum), QStringLiteral("xx.xx.2003"));
    QCOMPARE(e.album.find(QStringLiteral("b.jpg"))->info.ort, QStringLiteral("Köln"));
    QCOMPARE(ReadPictureInfo(e.media(QStringLiteral("b.jpg"))).info.datum, QStringLiteral("xx.xx.2003"));
    QVERIFY(e.bytes(QStringLiteral("b.jpg")).startsWith(before));
    QVERIFY(e.player.calls.isEmpty()); // a picture leaves the player alone
    // Saving twice overwrites the trailer in place.
    const qint64 size = e.bytes(QStringLiteral("b.jpg")).size();
    saveInformation(context, e.row(QStringLiteral("b.jpg")), typed(QStringLiteral("1.1.2003")), [] { return false; });
    QCOMPARE(e.bytes(QStringLiteral("b.jpg")).size(), size);
    QCOMPARE(e.list.text(e.row(QStringLiteral("b.jpg")), AlbumListModel::Datum), QStringLiteral("xx.xx.xxxx"));
    QCOMPARE(e.list.text(e.row(QStringLiteral("a.jpg")), AlbumListModel::Datum), QString());
}

void TestEditing::readOnlyFileAsksFirst_data()
{
    QTest::addColumn<bool>("agree");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestEditing::readOnlyFileAsksFirst()
{
    QFETCH(bool, agree);
    Editing e({"a.jpg"});
    const QString path = e.media(QStringLiteral("a.jpg"));
    QCOMPARE(setReadOnly(path, true), 0);
    const unsigned mode = *fileMode(path);
    const QByteArray before = e.bytes(QStringLiteral("a.jpg"));
    int asked = 0;
    AlbumContext context = e.context();
    const SaveOutcome outcome = saveInformation(context, 0, typed(QStringLiteral("2003")), [&] {
        ++asked;
        return agree;
    });
    QCOMPARE(asked, 1);
    QCOMPARE(*fileMode(path), mode);
    QCOMPARE(int(outcome.result), int(agree ? SaveOutcome::Result::Saved : SaveOutcome::Result::Declined));
    if (agree)
        QCOMPARE(ReadPictureInfo(path).info.datum, QStringLiteral("xx.xx.2003"));
    else
        QCOMPARE(e.bytes(QStringLiteral("a.jpg")), before);
}

void TestEditing::savingAPlayingVideoPlaysOnFromTheSecond_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("12.4 s") << true << 12400 << QStringList{"stop", "close", "open v.mpg", "play", "seek 12"};
    QTest::newRow("2.5 s halves to even") << true << 2500 << QStringList{"stop", "close", "open v.mpg", "play", "seek 2"};
    QTest::newRow("3.5 s") << true << 3500 << QStringList{"stop", "close", "open v.mpg", "play", "seek 4"};
    QTest::newRow("stopped") << false << 7000 << QStringList{"close", "open v.mpg"};
}

void TestEditing::savingAPlayingVideoPlaysOnFromTheSecond()
{
    QFETCH(bool, playing);
    QFETCH(int, position);
    QFETCH(QStringList, calls);
    Editing e({"v.mpg"});
    e.player.playing = playing;
    e.player.position = position;
    AlbumContext context = e.context();
    QCOMPARE(int(saveInformation(context, 0, typed(QStringLiteral("2003")), [] { return true; }).result),
             int(SaveOutcome::Result::Saved));
    QCOMPARE(e.player.calls, calls);
}

void TestEditing::savingWithoutRowOrFileChangesNothing()
{
    Editing e({"a.jpg", "b.jpg"});
    AlbumContext context = e.context();
    QCOMPARE(int(saveInformation(context, -1, typed(QStringLiteral("2003")), [] { return true; }).result),
             int(SaveOutcome::Result::NoRow));
    QVERIFY(!ReadPictureInfo(e.media(QStringLiteral("a.jpg"))).info.marker.size());

    // The file vanished since loading: reported, row and entry keep their texts.
    QVERIFY(QFile::remove(e.media(QStringLiteral("b.jpg"))));
    const SaveOutcome gone = saveInformation(context, e.row(QStringLiteral("b.jpg")), typed(QStringLiteral("2003")),
                                             [] { return true; });
    QCOMPARE(int(gone.result), int(SaveOutcome::Result::Failed));
    QVERIFY(gone.message.contains(QStringLiteral("b.jpg")));
    QVERIFY(!QFile::exists(e.media(QStringLiteral("b.jpg")))); // not created again
    QCOMPARE(e.list.text(e.row(QStringLiteral("b.jpg")), AlbumListModel::Datum), QString());

    // A file the user may not write: reported, media bytes and size unchanged.
    QFile::setPermissions(e.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    const QByteArray before = e.bytes(QStringLiteral("a.jpg"));
    QVERIFY(runAsOtherUser([&] {
        const SaveOutcome denied = saveInformation(context, e.row(QStringLiteral("a.jpg")),
                                                   typed(QStringLiteral("2003")), [] { return true; });
        return denied.result == SaveOutcome::Result::Failed && denied.message.contains(QStringLiteral("a.jpg"))
               && e.list.text(e.row(QStringLiteral("a.jpg")), AlbumListModel::Datum).isEmpty();
    }));
    QCOMPARE(e.bytes(QStringLiteral("a.jpg")), before);
}

void TestEditing::renameRefusals_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("title"); // empty: renamed
    QTest::newRow("exists") << "b.jpg" << "kann nicht umbenannt werden";
    QTest::newRow("unchanged") << "a.jpg" << "kann nicht umbenannt werden";
    QTest::newRow("letter case only") << "A.JPG" << "kann nicht umbenannt werden";
    QTest::newRow("empty") << "" << "Fehler";
    for (const char *bad : {"a/b.jpg", "a\\b.jpg", "a:b.jpg", "a*.jpg", "a?.jpg", "a\".jpg", "a<.jpg", "a>.jpg",
                            "a|.jpg", "a\tb.jpg", "..", "a.jpg.", "a.jpg ", "con", "Nul.jpg", "COM1.txt", "lpt9"})
        QTest::newRow(bad) << QString::fromUtf8(bad) << "Fehler";
    QTest::newRow("256 bytes") << QString(126, QChar(0xE4)) + QStringLiteral("x.jpg") << "Fehler";
    QTest::newRow("COM0 is a name") << "COM0.jpg" << "";
    QTest::newRow("extension change") << "a.txt" << "";
}

void TestEditing::renameRefusals()
{
    QFETCH(QString, newName);
    QFETCH(QString, title);
    Editing e({"a.jpg", "b.jpg"});
    AlbumContext context = e.context();
    const auto refusal = renameEntry(context, e.row(QStringLiteral("a.jpg")), newName);
    QCOMPARE(refusal ? refusal->title : QString(), title);
    if (refusal) {
        QVERIFY(QFile::exists(e.media(QStringLiteral("a.jpg"))));
        QVERIFY(e.album.find(QStringLiteral("a.jpg")));
        QVERIFY(e.state.CurrentFile.isEmpty());
        QVERIFY(e.player.calls.isEmpty());
        return;
    }
    QVERIFY(!QFile::exists(e.media(QStringLiteral("a.jpg"))));
    QVERIFY(QFile::exists(e.media(newName)));
    QCOMPARE(e.album.at(*e.album.indexOf(newName)).kind, MediaKind::Bild); // until the next start
    QCOMPARE(e.state.CurrentFile, e.media(newName));
    QCOMPARE(e.player.calls, QStringList{"close"});
}

void TestEditing::renamedFileIsSavedAndDeletedUnderItsNewName()
{
    Editing e({"a.jpg", "b.jpg"});
    AlbumContext context = e.context();
    const int row = e.row(QStringLiteral("a.jpg"));
    QVERIFY(!renameEntry(context, row, QStringLiteral("Urlaub.jpg")));
    e.list.setRowName(row, QStringLiteral("Urlaub.jpg")); // what the list does with an accepted edit
    QCOMPARE(int(saveInformation(context, row, typed(QStringLiteral("2003")), [] { return true; }).result),
             int(SaveOutcome::Result::Saved));
    QCOMPARE(ReadPictureInfo(e.media(QStringLiteral("Urlaub.jpg"))).info.datum, QStringLiteral("xx.xx.2003"));
    QCOMPARE(e.album.find(QStringLiteral("Urlaub.jpg"))->info.datum, QStringLiteral("xx.xx.2003"));
    const int rows[] = {row};
    QCOMPARE(deleteEntries(context, rows).deleted, 1);
    QVERIFY(!QFile::exists(e.media(QStringLiteral("Urlaub.jpg"))));
    QCOMPARE(e.album.size(), 1u);
}

void TestEditing::deletingRemovesExactlyTheSelected()
{
    Editing e({"1.jpg", "2.mpg", "3.txt", "4.jpg", "5.jpg"});
    QCOMPARE(setReadOnly(e.media(QStringLiteral("3.txt")), true), 0);
    std::vector<int> rows;
    for (const char *name : {"2.mpg", "3.txt", "5.jpg"})
        rows.push_back(e.row(QString::fromLatin1(name)));
    std::sort(rows.begin(), rows.end());
    AlbumContext context = e.context();
    const DeleteOutcome outcome = deleteEntries(context, rows);
    QCOMPARE(outcome.deleted, 3);
    QVERIFY(outcome.failures.isEmpty());
    QStringList left = QDir(e.dir.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files, QDir::Name);
    QCOMPARE(left, (QStringList{"1.jpg", "4.jpg"}));
    QCOMPARE(e.list.rowCount(), 2);
    QCOMPARE(e.album.size(), 2u);
    QVERIFY(e.album.find(QStringLiteral("4.jpg")) && !e.album.find(QStringLiteral("5.jpg")));
    QCOMPARE(e.list.rowOf(QStringLiteral("4.jpg")) >= 0, true);

    QCOMPARE(deleteEntries(context, {}).deleted, 0); // nothing selected: nothing changes
    QCOMPARE(e.list.rowCount(), 2);
}

void TestEditing::filesThatStayAreNamed()
{
    Editing e({"a.jpg", "b.jpg", "c.jpg"});
    QVERIFY(QFile::remove(e.media(QStringLiteral("a.jpg"))));
    AlbumContext context = e.context();
    const int rows[] = {0, 1, 2};
    const DeleteOutcome gone = deleteEntries(context, rows);
    QCOMPARE(gone.deleted, 2);
    QCOMPARE(gone.failures.size(), 1);
    QVERIFY(gone.failures[0].contains(QStringLiteral("a.jpg")));
    QCOMPARE(e.list.rowCount(), 1);
    QVERIFY(e.album.find(QStringLiteral("a.jpg")));

    // Without write permission on the media folder nothing can be deleted.
    Editing f({"x.jpg", "y.jpg"});
    const QString media = f.dir.filePath(QStringLiteral("Bilder"));
    QFile::setPermissions(f.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    QFile::setPermissions(media, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QVERIFY(runAsOtherUser([&] {
        AlbumContext c = f.context();
        const int all[] = {0, 1};
        const DeleteOutcome denied = deleteEntries(c, all);
        return denied.deleted == 0 && denied.failures.size() == 2 && f.list.rowCount() == 2 && f.album.size() == 2;
    }));
    QCOMPARE(QDir(media).entryList(QDir::Files).size(), 2);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
