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
    QString source(const QString &name, const QByteArray &bytes) const
    {
        QFile f(from.filePath(name));
        QDir().mkpath(QFileInfo(f).path());
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
            messages << refused->title + QLatin1Char('|') + refused->text;
            return {1, true};
        }
        const SyncOutcome outcome = runNow(run, [&](const QString &title, const QString &text) {
            messages << title + QLatin1Char('|') + text;
        }, io);
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
    void imports_data();
    void imports();
    void failures_data();
    void failures();
    void numberBox_data();
    void numberBox();
    void importFromTheList();
    void exportToSelectedFolder();
    void question_data();
    void question();
};

void TestImportExport::imports_data()
{
    QTest::addColumn<QStringList>("sources"); // "2/x.jpg": x.jpg from another folder
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("start"); // "-": not numbered
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("copies"); // album name=source
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    const QStringList abc{"a.jpg", "b.jpg", "c.jpg"};
    QTest::newRow("nein, then ja alle") << abc << QStringList{"n", "ja"} << "-" << QStringList{"a.jpg", "b.jpg"}
                                        << QStringList{"b.jpg=b.jpg", "c.jpg=c.jpg"} << "" << "";
    QTest::newRow("ja asks again, a new name")
        << QStringList{"a.jpg", "neu.jpg", "b.jpg"} << QStringList{"j", "n"} << "-" << QStringList{"a.jpg", "b.jpg"}
        << QStringList{"a.jpg=a.jpg", "neu.jpg=neu.jpg"} << "" << "";
    QTest::newRow("nein alle") << QStringList{"a.jpg", "b.jpg", "neu.jpg", "c.jpg"} << QStringList{"na"} << "-"
                               << QStringList{"a.jpg"} << QStringList{"neu.jpg=neu.jpg"} << "" << "";
    // The second is asked about while the first may still be under way.
    QTest::newRow("same name twice, nein") << QStringList{"x.jpg", "2/x.jpg"} << QStringList{"n"} << "-"
                                           << QStringList{"x.jpg"} << QStringList{"x.jpg=x.jpg"} << "" << "";
    QTest::newRow("same name twice, ja") << QStringList{"x.jpg", "2/x.jpg"} << QStringList{"j"} << "-"
                                         << QStringList{"x.jpg"} << QStringList{"x.jpg=2/x.jpg"} << "" << "";
    QTest::newRow("pdf and mp3") << QStringList{"x.pdf", "y.mp3"} << QStringList{} << "-" << QStringList{}
                                 << QStringList{"x.pdf=x.pdf", "y.mp3=y.mp3"} << "" << "";
    const QStringList numbered{"a.JPG", "b.jpg", "c.gif"};
    QTest::newRow("numbered from the box") << numbered << QStringList{} << "000000" << QStringList{}
                                           << QStringList{"000000.JPG=a.JPG", "000001.jpg=b.jpg", "000002.gif=c.gif"} << "3" << "";
    QTest::newRow("empty box is 0") << numbered << QStringList{} << "" << QStringList{}
                                    << QStringList{"000000.JPG=a.JPG", "000001.jpg=b.jpg", "000002.gif=c.gif"} << "3" << "";
    QTest::newRow("skips numbers of other media kinds")
        << numbered << QStringList{} << "5" << QStringList{}
        << QStringList{"000007.JPG=a.JPG", "000008.jpg=b.jpg", "000009.gif=c.gif"} << "10" << "";
    QTest::newRow("past 32 bits") << QStringList{"a.jpg", "b.jpg"} << QStringList{} << "2147483647" << QStringList{}
                                  << QStringList{"2147483647.jpg=a.jpg", "2147483648.jpg=b.jpg"} << "2147483649" << "";
    QTest::newRow("too long a number") << numbered << QStringList{} << "12345678901234567890" << QStringList{}
                                       << QStringList{} << "0" << "Hinweis|Die Startnummer darf höchstens 18 Ziffern haben.";
}

void TestImportExport::imports()
{
    QFETCH(QStringList, sources);
    QFETCH(QStringList, answers);
    QFETCH(QString, start);
    QFETCH(QStringList, copies);
    QFETCH(QString, message);
    Fixture f;
    const QStringList old{"a.jpg", "b.jpg", "c.jpg"};
    for (const QString &name : old)
        f.file(name, "old");
    // Numbers taken by media of other kinds; a text file takes none.
    for (const char *name : {"000005.pdf", "000006.mpeg", "000008.txt"})
        f.file(QLatin1String(name));
    f.load();
    f.settings->setValue(kImportSection, kNumberKey, QStringLiteral("0"));
    const int before = f.album.EntryCount;
    const int rowOfB = f.list.rowOf(QStringLiteral("b.jpg"));
    QHash<QString, QByteArray> bytes;
    QStringList paths;
    f.drives.drive.freeBytes = 0;
    for (const QString &s : sources) {
        paths << f.source(s, QByteArray(3000, 'n') + s.toUtf8());
        PictureInfo info;
        info.ort = s;
        QVERIFY(!WritePictureInfo(paths.last(), info));
        bytes[s] = f.read(paths.last());
        f.drives.drive.freeBytes = std::max<qint64>(f.drives.drive.freeBytes, bytes[s].size()); // exactly fits
    }
    f.question.answers.assign(answers.begin(), answers.end());
    QSignalSpy resets(&f.list, &QAbstractItemModel::modelReset);

    f.import(paths, {start != QLatin1String("-"), start});
    QCOMPARE(f.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    QFETCH(QStringList, asked);
    for (QString &name : asked)
        name.prepend(QStringLiteral("überschreiben?|"));
    QCOMPARE(f.question.asked, asked);
    QStringList added;
    for (const QString &copy : copies) {
        const QString name = copy.section(QLatin1Char('='), 0, 0);
        const QString source = copy.section(QLatin1Char('='), 1);
        QCOMPARE(f.bytes(name), bytes[source]);
        QVERIFY2(f.album.find(name), qPrintable(name));
        QCOMPARE(f.album.find(name)->info.ort, source);
        QCOMPARE(f.album.find(name)->sizeKB, 4);
        const int row = f.list.rowOf(name);
        QCOMPARE(f.list.text(row, AlbumListModel::Ort), source);
        QCOMPARE(f.list.text(row, AlbumListModel::Groesse), QStringLiteral("4"));
        if (name.endsWith(QLatin1String(".pdf")) || name.endsWith(QLatin1String(".mp3")))
            QCOMPARE(f.album.find(name)->kind, MediaKind::Unbekannt);
        if (!old.contains(name))
            added << name;
    }
    for (const QString &name : old)
        if (!copies.contains(name + QLatin1Char('=') + name))
            QCOMPARE(f.bytes(name), QByteArray("old"));
    // Replaced files keep their place; only new names add entries and rows, at the end.
    const int count = before + int(added.size());
    QCOMPARE(f.list.rowOf(QStringLiteral("b.jpg")), rowOfB);
    QCOMPARE(f.album.EntryCount, count);
    QCOMPARE(int(f.album.size()), count);
    QCOMPARE(f.list.rowCount(), count);
    QCOMPARE(resets.count(), 0);
    QVERIFY(f.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().endsWith(QStringLiteral("[%1 Dateien geladen]").arg(count)));
    if (!added.isEmpty())
        QCOMPARE(AlbumListModel::rowKey(f.list.row(f.list.rowOf(added.last()))), QStringLiteral("D%1").arg(count));
    QFETCH(QString, stored);
    if (!stored.isEmpty())
        QCOMPARE(f.settings->value(kImportSection, kNumberKey, {}), stored);
}

void TestImportExport::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("names");
    const QString notCopied = QStringLiteral("Fehler beim Kopieren|Die Datei b.jpg wurde nicht kopiert: ");
    const QStringList abc{"a.jpg", "b.jpg", "c.jpg"};
    QTest::newRow("vanished source") << "vanished" << notCopied + "die Quelldatei ist nicht mehr vorhanden." << abc;
    QTest::newRow("write-protected album file") << "protected" << notCopied + "die Zieldatei ist schreibgeschützt." << abc;
    QTest::newRow("disk fills up") << "full" << notCopied + "auf dem Datenträger ist nicht genügend Platz." << abc;
    QTest::newRow("the album file itself") << "self" << notCopied + "Quelle und Ziel sind dieselbe Datei." << abc;
    QTest::newRow("one byte too little room")
        << "room" << "Kein Platz|Auf dem Datenträger ist nicht\r\ngenügend Platz für die Datei:\r\nb.jpg"
        << QStringList{"a.jpg", "b.jpg"};
}

void TestImportExport::failures()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, names);
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
    if (fault == QLatin1String("room"))
        f.drives.drive.freeBytes = (2 << 20) - 1;
    f.question.answers = {"ja"};
    SmallDiskIo io(fault == QLatin1String("full") ? 1 << 20 : 1 << 30);
    f.import({f.source("a.jpg", "a"), b, f.source("c.jpg", "c")}, {}, io);
    QTEST(f.messages.join(QLatin1Char(';')), "message");
    QCOMPARE(f.mediaNames(), names); // and nothing half-done
    QCOMPARE(f.bytes("b.jpg"), QByteArray("old"));
    QCOMPARE(f.album.EntryCount, names.size());
    QCOMPARE(f.list.rowCount(), names.size());
    QCOMPARE(f.album.find("b.jpg")->sizeKB, 0);
}

void TestImportExport::numberBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("box");
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
