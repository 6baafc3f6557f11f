// Import and export runs over a temporary album: overwrite answers, numbering, free space,
// failures in the middle, and what the album and the list hold afterwards.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"
#include "support/TransferFakes.h"

#include "app/Album.h"
#include "app/AlbumListModel.h"
#include "app/AlbumLoader.h"
#include "platform/SettingsStore.h"
#include "transfer/ExportRun.h"
#include "transfer/ImportRun.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace zv;

namespace {

// A disk on which no single file can grow past `limit` bytes.
class SmallDiskIo : public CopyIo {
public:
    explicit SmallDiskIo(off_t limit) : m_limit(limit) {}
    ssize_t copyRange(int in, int out, size_t length) override
    {
        const off_t at = ::lseek(out, 0, SEEK_CUR);
        if (at >= m_limit)
            return errno = ENOSPC, -1;
        return CopyIo::copyRange(in, out, std::min(length, size_t(m_limit - at)));
    }

private:
    off_t m_limit;
};

struct ImportFixture : test::AlbumFolder {
    QTemporaryDir sourceDir;
    Album album;
    AlbumListModel list;
    test::FakeDrives drives;
    test::ScriptedQuestion question;
    std::unique_ptr<SettingsStore> settings = makeFileSettings(sourceDir.filePath(QStringLiteral("settings.ini")));
    QStringList messages;

    ImportFixture() { drives.drive.freeBytes = qint64(1) << 40; }
    QString source(const QString &name, const QByteArray &bytes)
    {
        QFile f(sourceDir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }
    void load()
    {
        album = loadAlbum(media(QString()));
        list.fill(album);
    }
    SyncOutcome import(const QStringList &sources, ImportOptions options = {}, CopyIo &io = systemCopyIo())
    {
        ImportRun run({AlbumPaths{path()}, album, &list, drives, *settings, question}, sources, options);
        if (const auto refused = run.begin()) {
            messages << refused->text;
            return {1, true};
        }
        const SyncOutcome outcome = runNow(run, [&](const QString &, const QString &text) { messages << text; }, io);
        run.end();
        return outcome;
    }
    QStringList mediaNames() const { return QDir(media(QString())).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

class TestImportExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void overwriteAnswers_data();
    void overwriteAnswers();
    void kindsAndTrailer();
    void sameNameTwice_data();
    void sameNameTwice();
    void numbering_data();
    void numbering();
    void noRoom();
    void failuresInTheMiddle_data();
    void failuresInTheMiddle();
    void exportAnswers_data();
    void exportAnswers();
};

void TestImportExport::overwriteAnswers_data()
{
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("replaced");
    QTest::addColumn<int>("asked");
    QTest::newRow("nein, then ja alle") << QStringList{"a.jpg", "b.jpg", "c.jpg"} << QStringList{"n", "ja"}
                                        << QStringList{"b.jpg", "c.jpg"} << 2;
    QTest::newRow("ja, then a new name") << QStringList{"a.jpg", "neu.jpg"} << QStringList{"j"}
                                         << QStringList{"a.jpg"} << 1;
    QTest::newRow("nein alle") << QStringList{"a.jpg", "b.jpg", "neu.jpg", "c.jpg"} << QStringList{"na"}
                               << QStringList{} << 1;
}

void TestImportExport::overwriteAnswers()
{
    QFETCH(QStringList, sources);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, replaced);
    ImportFixture f;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        f.file(QLatin1String(name), "old");
    f.load();
    const int rowOfB = f.list.rowOf(QStringLiteral("b.jpg"));
    QStringList paths;
    for (const QString &s : sources)
        paths << f.source(s, QByteArray(3000, 'n'));
    f.question.answers.assign(answers.begin(), answers.end());
    QSignalSpy resets(&f.list, &QAbstractItemModel::modelReset);

    QCOMPARE(f.import(paths).failed, 0);
    QTEST(int(f.question.asked.size()), "asked");
    QCOMPARE(f.question.asked.first(), QStringLiteral("überschreiben?|a.jpg"));
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        const QString n = QLatin1String(name);
        const bool isReplaced = replaced.contains(n);
        QCOMPARE(f.bytes(n), isReplaced ? QByteArray(3000, 'n') : QByteArray("old"));
        QCOMPARE(f.album.find(n)->sizeKB, isReplaced ? 3 : 0);
        QCOMPARE(f.list.text(f.list.rowOf(n), AlbumListModel::Groesse), isReplaced ? QStringLiteral("3") : QStringLiteral("0"));
    }
    // Replaced files keep their place; only new names add entries and rows.
    const int addedAnyway = sources.contains(QStringLiteral("neu.jpg")) ? 1 : 0;
    QCOMPARE(f.list.rowOf(QStringLiteral("b.jpg")), rowOfB);
    QCOMPARE(f.album.EntryCount, 3 + addedAnyway);
    QCOMPARE(int(f.album.size()), 3 + addedAnyway);
    QCOMPARE(f.list.rowCount(), 3 + addedAnyway);
    QCOMPARE(resets.count(), 0);
    QVERIFY(f.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().endsWith(
        QStringLiteral("[%1 Dateien geladen]").arg(3 + addedAnyway)));
    if (addedAnyway)
        QCOMPARE(AlbumListModel::rowKey(f.list.row(f.list.rowOf(QStringLiteral("neu.jpg")))), QStringLiteral("D4"));
}

void TestImportExport::kindsAndTrailer()
{
    ImportFixture f;
    f.load();
    const QString pdf = f.source(QStringLiteral("x.pdf"), "pdf");
    const QString mp3 = f.source(QStringLiteral("y.mp3"), QByteArray(5000, 'm'));
    PictureInfo info;
    info.ort = QStringLiteral("Köln");
    QVERIFY(!WritePictureInfo(mp3, info));
    QCOMPARE(f.import({pdf, mp3}).failed, 0);
    for (const char *name : {"x.pdf", "y.mp3"}) {
        QCOMPARE(f.album.find(QLatin1String(name))->kind, MediaKind::Unbekannt);
        QCOMPARE(f.list.row(f.list.rowOf(QLatin1String(name))).kind, MediaKind::Unbekannt);
    }
    QCOMPARE(f.album.find(QStringLiteral("y.mp3"))->info.ort, QStringLiteral("Köln"));
    QCOMPARE(f.list.text(f.list.rowOf(QStringLiteral("y.mp3")), AlbumListModel::Ort), QStringLiteral("Köln"));
}

void TestImportExport::sameNameTwice_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("nein") << "n" << QByteArray("first");
    QTest::newRow("ja") << "j" << QByteArray("second");
}

void TestImportExport::sameNameTwice()
{
    // The second is asked about while the first may still be under way.
    QFETCH(QString, answer);
    ImportFixture f;
    f.load();
    QTemporaryDir other;
    const QString first = f.source(QStringLiteral("x.jpg"), "first");
    QFile second(other.filePath(QStringLiteral("x.jpg")));
    QVERIFY(second.open(QIODevice::WriteOnly) && second.write("second") == 6);
    second.close();
    f.question.answers = {answer};
    QCOMPARE(f.import({first, second.fileName()}).failed, 0);
    QCOMPARE(f.question.asked, QStringList{"überschreiben?|x.jpg"});
    QTEST(f.bytes(QStringLiteral("x.jpg")), "kept");
    QCOMPARE(f.album.EntryCount, 1);
    QCOMPARE(f.list.rowCount(), 1);
}

void TestImportExport::numbering_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("targets");
    QTest::addColumn<QString>("stored");
    QTest::newRow("from the box") << "000000" << QStringList{"000000.JPG", "000001.jpg", "000002.gif"} << "3";
    QTest::newRow("empty box is 0") << "" << QStringList{"000000.JPG", "000001.jpg", "000002.gif"} << "3";
    QTest::newRow("skips 000005.pdf") << "5" << QStringList{"000006.JPG", "000007.jpg", "000008.gif"} << "9";
    QTest::newRow("too long a number") << "12345678901234567890" << QStringList{} << "0";
}

void TestImportExport::numbering()
{
    QFETCH(QString, start);
    QFETCH(QStringList, targets);
    ImportFixture f;
    f.file(QStringLiteral("000005.pdf"));
    f.load();
    f.settings->setValue(kImportSection, kNumberKey, QStringLiteral("0"));
    const QStringList sources{f.source("a.JPG", "1"), f.source("b.jpg", "2"), f.source("c.gif", "3")};
    f.import(sources, {true, start});
    for (const QString &t : targets)
        QVERIFY2(f.album.find(t), qPrintable(t));
    QCOMPARE(int(f.album.size()), 1 + int(targets.size()));
    QTEST(f.settings->value(kImportSection, kNumberKey, {}), "stored");
    QCOMPARE(f.question.asked, QStringList{}); // numbered names never exist yet
}

void TestImportExport::noRoom()
{
    ImportFixture f;
    f.load();
    f.drives.drive.freeBytes = 5000;
    const QStringList sources{f.source("a.jpg", QByteArray(1000, 'a')), f.source("groß.avi", QByteArray(6000, 'g')),
                              f.source("c.jpg", QByteArray(10, 'c'))};
    const SyncOutcome outcome = f.import(sources);
    QVERIFY(outcome.stopped);
    QCOMPARE(f.messages, QStringList{"Auf dem Datenträger ist nicht\r\ngenügend Platz für die Datei:\r\ngroß.avi"});
    QCOMPARE(f.mediaNames(), QStringList{"a.jpg"});
    QCOMPARE(f.album.EntryCount, 1);
}

void TestImportExport::failuresInTheMiddle_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("vanished source") << "vanished" << "nicht mehr vorhanden";
    QTest::newRow("write-protected album file") << "protected" << "schreibgeschützt";
    QTest::newRow("disk fills up") << "full" << "nicht genügend Platz";
    QTest::newRow("the album file itself") << "self" << "dieselbe Datei";
}

void TestImportExport::failuresInTheMiddle()
{
    QFETCH(QString, fault);
    ImportFixture f;
    f.file(QStringLiteral("b.jpg"), "old");
    f.load();
    QString b = f.source("b.jpg", QByteArray(2 << 20, 'b'));
    if (fault == QLatin1String("vanished"))
        QFile::remove(b);
    if (fault == QLatin1String("protected"))
        ::chmod(QFile::encodeName(f.media("b.jpg")).constData(), 0444);
    if (fault == QLatin1String("self"))
        b = f.media("b.jpg");
    f.question.answers = {"ja"};
    SmallDiskIo io(fault == QLatin1String("full") ? 1 << 20 : 1 << 30);
    const SyncOutcome outcome = f.import({f.source("a.jpg", "a"), b, f.source("c.jpg", "c")}, {}, io);
    QCOMPARE(outcome.failed, 1);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages.first().startsWith(QStringLiteral("Die Datei b.jpg wurde nicht kopiert: ")), qPrintable(f.messages.first()));
    QFETCH(QString, reason);
    QVERIFY2(f.messages.first().contains(reason), qPrintable(f.messages.first()));
    QCOMPARE(f.mediaNames(), (QStringList{"a.jpg", "b.jpg", "c.jpg"})); // and nothing half-done
    QCOMPARE(f.bytes("b.jpg"), QByteArray("old"));
    QCOMPARE(f.album.EntryCount, 3);
    QCOMPARE(f.list.rowCount(), 3);
    QCOMPARE(f.album.find("b.jpg")->sizeKB, 0);
}

void TestImportExport::exportAnswers_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("replaced");
    QTest::addColumn<int>("asked");
    QTest::newRow("nein asks again") << QStringList{"n", "n"} << QStringList{"a.jpg"} << 2; // a.jpg is new there
    QTest::newRow("ja alle") << QStringList{"ja"} << QStringList{"a.jpg", "b.jpg", "c.jpg"} << 1;
    QTest::newRow("ja, then ask again") << QStringList{"j", "n"} << QStringList{"a.jpg", "b.jpg"} << 2;
    QTest::newRow("nein alle") << QStringList{"na"} << QStringList{"a.jpg"} << 1;
}

void TestImportExport::exportAnswers()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, replaced);
    test::AlbumFolder album;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        album.file(QLatin1String(name), QByteArray(2000, name[0]));
        album.info(QLatin1String(name), QStringLiteral("Ort ") + QLatin1String(name));
    }
    QTemporaryDir target;
    for (const char *name : {"b.jpg", "c.jpg"}) {
        QFile f(target.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("theirs");
    }
    test::ScriptedQuestion question;
    question.answers.assign(answers.begin(), answers.end());
    ExportRun run(AlbumPaths{album.path()}, target.path(), {"a.jpg", "b.jpg", "c.jpg"}, question);
    QCOMPARE(runNow(run, [](const QString &, const QString &text) { QFAIL(qPrintable(text)); }).failed, 0);
    QTEST(int(question.asked.size()), "asked");
    QCOMPARE(question.asked.first(), QStringLiteral("überschreiben?|") + target.filePath("b.jpg"));
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        QFile copy(target.filePath(QLatin1String(name)));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), replaced.contains(QLatin1String(name)) ? album.bytes(QLatin1String(name)) : QByteArray("theirs"));
    }
}

QTEST_GUILESS_MAIN(TestImportExport)
#include "tst_importexport.moc"
