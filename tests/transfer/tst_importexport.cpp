// Import and export over a temporary album, by the runs and through the windows: overwrite
// answers, numbering, free space, failures in the middle, what the album and the list hold
// afterwards, and the overwrite question's window.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"
#include "support/TransferFakes.h"

#include "app/Album.h"
#include "app/AlbumListModel.h"
#include "app/AlbumLoader.h"
#include "platform/SettingsStore.h"
#include "transfer/ExportRun.h"
#include "transfer/FolderTreeView.h"
#include "transfer/ImportRun.h"
#include "transfer/frmExplorer.h"
#include "transfer/frmRequest.h"
#include "transfer/frmSaveFiles.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

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

// Notes whether the import button was usable while the question waited.
class WatchingQuestion : public test::ScriptedQuestion {
public:
    QPushButton *add = nullptr;
    bool addEnabledWhileAsking = true;
    QString ReqOverWr(const QString &name, const QString &title) override
    {
        addEnabledWhileAsking = add && add->isEnabled();
        return ScriptedQuestion::ReqOverWr(name, title);
    }
};

// An album, and a removable drive whose root `from` holds the files to import or takes the
// exported ones.
struct Fixture : test::AlbumFolder {
    QTemporaryDir from;
    Album album;
    AlbumListModel list;
    test::FakeDrives drives;
    test::ScriptedDialogs dialogs;
    WatchingQuestion question;
    std::unique_ptr<SettingsStore> settings = makeFileSettings(from.filePath(QStringLiteral("s.ini")));
    QStringList messages;

    Fixture()
    {
        drives.drive.root = from.path();
        drives.drive.name = QStringLiteral("Stick");
        drives.drive.type = DriveType::Removable;
        drives.drive.freeBytes = qint64(1) << 40;
    }
    QString source(const QString &name, const QByteArray &bytes, const QTemporaryDir &dir) const
    {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }
    QString source(const QString &name, const QByteArray &bytes) const { return source(name, bytes, from); }
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
    std::unique_ptr<frmExplorer> open()
    {
        load();
        auto w = std::make_unique<frmExplorer>(
            ExplorerServices{AlbumPaths{path()}, album, list, drives, *settings, dialogs, makeSystemFolderSource(), &question});
        w->show();
        return w;
    }
    QStringList mediaNames() const { return QDir(media(QString())).entryList(QDir::Files | QDir::Hidden); }
};

template<typename T>
T *child(QWidget &w, const char *name)
{
    return w.findChild<T *>(QLatin1String(name));
}

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
    void numberBox_data();
    void numberBox();
    void importFromTheList();
    void border();
    void exportToSelectedFolder();
    void question_data();
    void question();
};

void TestImportExport::overwriteAnswers_data()
{
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("replaced");
    QTest::addColumn<int>("asked");
    QTest::newRow("nein, then ja alle") << QStringList{"a.jpg", "b.jpg", "c.jpg"} << QStringList{"n", "ja"}
                                        << QStringList{"b.jpg", "c.jpg"} << 2;
    QTest::newRow("ja, then a new name") << QStringList{"a.jpg", "neu.jpg"} << QStringList{"j"} << QStringList{"a.jpg"} << 1;
    QTest::newRow("nein alle") << QStringList{"a.jpg", "b.jpg", "neu.jpg", "c.jpg"} << QStringList{"na"} << QStringList{} << 1;
}

void TestImportExport::overwriteAnswers()
{
    QFETCH(QStringList, sources);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, replaced);
    Fixture f;
    const QStringList old{"a.jpg", "b.jpg", "c.jpg"};
    for (const QString &name : old)
        f.file(name, "old");
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
    for (const QString &n : old) {
        const bool isReplaced = replaced.contains(n);
        QCOMPARE(f.bytes(n), isReplaced ? QByteArray(3000, 'n') : QByteArray("old"));
        QCOMPARE(f.album.find(n)->sizeKB, isReplaced ? 3 : 0);
        QCOMPARE(f.list.text(f.list.rowOf(n), AlbumListModel::Groesse), isReplaced ? QStringLiteral("3") : QStringLiteral("0"));
    }
    // Replaced files keep their place; only new names add entries and rows.
    const int count = sources.contains(QStringLiteral("neu.jpg")) ? 4 : 3;
    QCOMPARE(f.list.rowOf(QStringLiteral("b.jpg")), rowOfB);
    QCOMPARE(f.album.EntryCount, count);
    QCOMPARE(int(f.album.size()), count);
    QCOMPARE(f.list.rowCount(), count);
    QCOMPARE(resets.count(), 0);
    QVERIFY(f.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().endsWith(QStringLiteral("[%1 Dateien geladen]").arg(count)));
    if (count == 4)
        QCOMPARE(AlbumListModel::rowKey(f.list.row(f.list.rowOf(QStringLiteral("neu.jpg")))), QStringLiteral("D4"));
}

void TestImportExport::kindsAndTrailer()
{
    Fixture f;
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
    Fixture f;
    f.load();
    QTemporaryDir other;
    f.question.answers = {answer};
    QCOMPARE(f.import({f.source("x.jpg", "first"), f.source("x.jpg", "second", other)}).failed, 0);
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
    Fixture f;
    f.file(QStringLiteral("000005.pdf"));
    f.load();
    f.settings->setValue(kImportSection, kNumberKey, QStringLiteral("0"));
    f.import({f.source("a.JPG", "1"), f.source("b.jpg", "2"), f.source("c.gif", "3")}, {true, start});
    for (const QString &t : targets)
        QVERIFY2(f.album.find(t), qPrintable(t));
    QCOMPARE(int(f.album.size()), 1 + int(targets.size()));
    QTEST(f.settings->value(kImportSection, kNumberKey, {}), "stored");
    QCOMPARE(f.question.asked, QStringList{}); // numbered names never exist yet
}

void TestImportExport::noRoom()
{
    Fixture f;
    f.load();
    f.drives.drive.freeBytes = 5000;
    const QStringList sources{f.source("a.jpg", QByteArray(1000, 'a')), f.source("groß.avi", QByteArray(6000, 'g')),
                              f.source("c.jpg", QByteArray(10, 'c'))};
    QVERIFY(f.import(sources).stopped);
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
    QFETCH(QString, reason);
    Fixture f;
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
    QCOMPARE(f.import({f.source("a.jpg", "a"), b, f.source("c.jpg", "c")}, {}, io).failed, 1);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages.first().startsWith(QStringLiteral("Die Datei b.jpg wurde nicht kopiert: ")), qPrintable(f.messages.first()));
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
    QTest::newRow("ja, then ask again") << QStringList{"j", "n"} << QStringList{"a.jpg", "b.jpg"} << 2;
    QTest::newRow("nein alle") << QStringList{"na"} << QStringList{"a.jpg"} << 1;
    QTest::newRow("other text replaces all") << QStringList{""} << QStringList{"a.jpg", "b.jpg", "c.jpg"} << 1;
}

void TestImportExport::exportAnswers()
{
    QFETCH(QStringList, answers);
    QFETCH(QStringList, replaced);
    Fixture f;
    const QStringList names{"a.jpg", "b.jpg", "c.jpg"};
    for (const QString &name : names) {
        f.file(name, QByteArray(2000, name[0].toLatin1()));
        f.info(name, QStringLiteral("Ort ") + name);
    }
    f.source("b.jpg", "theirs");
    f.source("c.jpg", "theirs");
    f.question.answers.assign(answers.begin(), answers.end());
    ExportRun run(AlbumPaths{f.path()}, f.from.path(), names, f.question);
    QCOMPARE(runNow(run, [](const QString &, const QString &text) { QFAIL(qPrintable(text)); }).failed, 0);
    QTEST(int(f.question.asked.size()), "asked");
    QCOMPARE(f.question.asked.first(), QStringLiteral("überschreiben?|") + f.from.filePath("b.jpg"));
    for (const QString &name : names) {
        QFile copy(f.from.filePath(name));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), replaced.contains(name) ? f.bytes(name) : QByteArray("theirs"));
    }
}

void TestImportExport::numberBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("box");
    QTest::newRow("digits") << "123" << "" << "123";
    QTest::newRow("letter") << "12a" << "Hinweis|Bitte nur Zahlen eingeben" << "7";
    QTest::newRow("cleared") << "" << "" << "";
}

void TestImportExport::numberBox()
{
    QFETCH(QString, typed);
    Fixture f;
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("Number"), QStringLiteral("7"));
    const auto w = f.open();
    auto *box = child<QLineEdit>(*w, "txtNumber");
    QCOMPARE(box->text(), QStringLiteral("7"));
    box->clear();
    QTest::keyClicks(box, typed);
    QTEST(f.dialogs.shown.join(QLatin1Char(';')), "shown");
    QTEST(box->text(), "box");
}

void TestImportExport::importFromTheList()
{
    Fixture f;
    f.file(QStringLiteral("a.jpg"), "old");
    f.source(QStringLiteral("a.jpg"), QByteArray(2048, 'a'));
    f.source(QStringLiteral("b.pdf"), QByteArray(1536, 'b'));
    f.source(QStringLiteral("c.png"), "not listed");
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("chkState"), QStringLiteral("1"));
    const auto w = f.open();
    f.question.add = child<QPushButton>(*w, "cmdAdd");
    f.question.answers = {"j"};
    QVERIFY(child<QCheckBox>(*w, "chkNumber")->isChecked());
    child<QCheckBox>(*w, "chkNumber")->setChecked(false);

    QSignalSpy listed(w.get(), &frmExplorer::listed);
    w->listFolder(f.from.filePath(QStringLiteral("kein/Ordner")));
    QVERIFY(listed.wait());
    QCOMPARE(f.dialogs.shown, QStringList{"Kein Datenträger|Legen die einen Datenträger in das Laufwerk"});
    w->listFolder(f.from.path());
    QVERIFY(listed.wait());
    auto *lv = child<QTreeWidget>(*w, "lv");
    QStringList rows;
    for (int i = 0; i < lv->topLevelItemCount(); ++i)
        rows << lv->topLevelItem(i)->text(0) + QLatin1Char('/') + lv->topLevelItem(i)->text(1);
    rows.sort();
    QCOMPARE(rows, (QStringList{"a.jpg/2", "b.pdf/2"})); // 1.5 KB rounds to the even 2
    lv->selectAll();

    QSignalSpy finished(w.get(), &frmExplorer::importFinished);
    QTest::mouseClick(child<QPushButton>(*w, "cmdAdd"), Qt::LeftButton);
    QVERIFY(finished.wait());
    QCOMPARE(f.question.asked, QStringList{"überschreiben?|a.jpg"});
    QVERIFY(!f.question.addEnabledWhileAsking);
    QVERIFY(child<QPushButton>(*w, "cmdAdd")->isEnabled());
    QCOMPARE(f.dialogs.shown.last(), QStringLiteral("|Aktion ausgeführt."));
    QCOMPARE(child<QPushButton>(*w, "cmdCancel")->text(), QStringLiteral("fertig"));
    QCOMPARE(child<QProgressBar>(*w, "picDrop")->value(), 2);
    QCOMPARE(f.bytes(QStringLiteral("a.jpg")), QByteArray(2048, 'a'));
    QCOMPARE(f.album.EntryCount, 2);
    QCOMPARE(f.list.rowCount(), 2);
    QCOMPARE(f.list.text(f.list.rowOf(QStringLiteral("a.jpg")), AlbumListModel::Groesse), QStringLiteral("2"));

    w->close();
    QCOMPARE(f.settings->value(QStringLiteral("Import"), QStringLiteral("chkState"), {}), QStringLiteral("0"));
}

void TestImportExport::border()
{
    Fixture f;
    const auto w = f.open();
    auto *bar = child<QProgressBar>(*w, "picDrop");
    auto *lv = child<QTreeWidget>(*w, "lv");
    const int before = bar->x();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 10));
    const auto moveTo = [&](int x) {
        const QPoint at = bar->mapFrom(w.get(), QPoint(x, 10));
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(bar, &move);
    };
    moveTo(10); // within 20 pixels of the edge: stays
    QCOMPARE(bar->x(), before);
    moveTo(300);
    QCOMPARE(bar->x(), 300 - bar->width() / 2);
    QCOMPARE(child<QTreeWidget>(*w, "tv")->width(), bar->x());
    QCOMPARE(lv->x(), bar->x() + bar->width());
    QCOMPARE(lv->x() + lv->width(), w->width());
    moveTo(w->width() - 10);
    QCOMPARE(bar->x(), 300 - bar->width() / 2);
}

void TestImportExport::exportToSelectedFolder()
{
    Fixture f;
    f.file(QStringLiteral("a.jpg"), QByteArray(1000, 'a'));
    f.info(QStringLiteral("a.jpg"), QStringLiteral("Bonn"));
    f.file(QStringLiteral("b.avi"), QByteArray(5000, 'b'));
    int closedMovie = 0;
    frmSaveFiles w({AlbumPaths{f.path()}, f.drives, f.dialogs, makeSystemFolderSource(), {"a.jpg", "b.avi"},
                    [&] { ++closedMovie; }, &f.question});
    w.show();
    QTest::mouseClick(child<QPushButton>(w, "cmdSave"), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown, QStringList{"Hinweis|Bitte zuerst einen Ordner auswählen, in den gespeichert werden soll."});
    QVERIFY(w.isVisible());
    QCOMPARE(closedMovie, 0);

    QSignalSpy titles(&w, &QWidget::windowTitleChanged);
    QSignalSpy exported(&w, &frmSaveFiles::exported);
    w.tree()->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(child<QPushButton>(w, "cmdSave"), Qt::LeftButton);
    QVERIFY(exported.count() || exported.wait());
    QVERIFY(!w.isVisible());
    QCOMPARE(closedMovie, 1);
    QCOMPARE(titles.first().first().toString(), QStringLiteral("Kopiere: a.jpg"));
    QCOMPARE(titles.last().first().toString(), QStringLiteral("Kopiere: b.avi"));
    for (const char *name : {"a.jpg", "b.avi"}) {
        QFile copy(f.from.filePath(QLatin1String(name)));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), f.bytes(QLatin1String(name)));
    }
    QCOMPARE(child<QProgressBar>(w, "pb")->value(), 2);
}

void TestImportExport::question_data()
{
    QTest::addColumn<QStringList>("actions"); // button names, "" for the close box
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("ja") << QStringList{"cmdYes"} << QStringList{"j"};
    QTest::newRow("ja alle") << QStringList{"cmdYesAll"} << QStringList{"ja"};
    QTest::newRow("nein") << QStringList{"cmdNo"} << QStringList{"n"};
    QTest::newRow("nein alle") << QStringList{"cmdNoAll"} << QStringList{"na"};
    QTest::newRow("close box") << QStringList{""} << QStringList{"n"};
    QTest::newRow("close box after ja alle") << QStringList{"cmdYesAll", ""} << QStringList{"ja", "n"};
}

void TestImportExport::question()
{
    QFETCH(QStringList, actions);
    frmRequest window;
    // Another part of the program keeps running while the question waits.
    int ticks = 0;
    QTimer elsewhere;
    connect(&elsewhere, &QTimer::timeout, [&] { ++ticks; });
    elsewhere.start(1);
    QStringList codes, seen;
    for (const QString &action : actions) {
        // Once the window shows: the button, or the close box.
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!window.isVisible() || seen.size() > codes.size())
                return;
            seen << window.windowTitle() + QLatin1Char('|') + child<QLabel>(window, "lblMSG")->text();
            if (action.isEmpty())
                window.close();
            else
                child<QPushButton>(window, qPrintable(action))->click();
        });
        poll.start(10);
        const int before = ticks;
        codes << window.ReqOverWr(QStringLiteral("bild.jpg"), QStringLiteral("überschreiben?"));
        QVERIFY(ticks > before);
        QVERIFY(!window.isVisible());
    }
    QTEST(codes, "codes");
    QCOMPARE(seen.size(), actions.size());
    QCOMPARE(seen.first(), QStringLiteral("überschreiben?|Soll die Datei bild.jpg mit bild.jpg ersetzt werden?"));
}

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
