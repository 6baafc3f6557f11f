// Saving, renaming, deleting and new albums, on a real media folder and without a window.
#include "album/DeleteEntries.h"
#include "album/NewAlbum.h"
#include "album/RenameEntry.h"
#include "album/SaveInformation.h"
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

const QString a = QStringLiteral("a.jpg");
const QString b = QStringLiteral("b.jpg");

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savingWritesOnlyTheTrailer();
    void savingAPlayingVideoPlaysOnFromTheSecond_data();
    void savingAPlayingVideoPlaysOnFromTheSecond();
    void renaming_data();
    void renaming();
    void deletingRemovesTheSelectedAndNamesWhatStays();
    void newAlbumCopiesTheSelectionAndWhatAnAlbumNeeds();
};

void TestEditing::savingWritesOnlyTheTrailer()
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

void TestEditing::savingAPlayingVideoPlaysOnFromTheSecond_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("calls");
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
    QCOMPARE(e.save(0), SaveOutcome::Result::Saved);
    QCOMPARE(e.player.calls, calls);
}

void TestEditing::renaming_data()
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

void TestEditing::renaming()
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

void TestEditing::deletingRemovesTheSelectedAndNamesWhatStays()
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

void TestEditing::newAlbumCopiesTheSelectionAndWhatAnAlbumNeeds()
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

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
