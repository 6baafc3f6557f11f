// An album that other programs write while the window runs: the folder watch, bringing the album
// in line with what it reports, the three-way merge before Speichern, and the window beside the
// companion albuminfo running as a real process.
#include "model/AlbumLoader.h"
#include "operations/FolderChanges.h"
#include "operations/FolderFollower.h"
#include "operations/RenameEntry.h"
#include "operations/SaveInformation.h"
#include "platform/FolderWatch.h"
#include "support/AlbumWindow.h"

#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <QSignalSpy>

using namespace zv;
using namespace zv::test;

namespace {

const QString a = QStringLiteral("a.jpg");
const QString b = QStringLiteral("b.jpg");

// Datum|Ort|Namen|Anlass|Bemerkungen
PictureInfo infoOf(const QString &fields)
{
    const QStringList f = fields.split(QLatin1Char('|'));
    PictureInfo info;
    info.datum = f.value(0);
    info.ort = f.value(1);
    info.namen = f.value(2);
    info.anlass = f.value(3);
    info.bemerkungen = f.value(4);
    return info;
}

QString fieldsOf(const PictureInfo &info)
{
    return QStringList{info.datum, info.ort, info.namen, info.anlass, info.bemerkungen}.join(QLatin1Char('|'));
}

struct Companion {
    int exitCode = -1;
    QString err;
};

// albuminfo as another program: its own process, writing the same folder.
Companion albuminfo(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

// Events in short: "+n" appeared, "-n" vanished, "~n" rewritten, "n>m" renamed.
QList<FolderEvent> eventsOf(const QString &text)
{
    QList<FolderEvent> events;
    for (const QString &e : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (e.contains(QLatin1Char('>')))
            events.append(
                {FolderEvent::Kind::Renamed, e.section(QLatin1Char('>'), 0, 0), e.section(QLatin1Char('>'), 1)});
        else if (e.startsWith(QLatin1Char('+')))
            events.append({FolderEvent::Kind::Appeared, e.mid(1), {}});
        else if (e.startsWith(QLatin1Char('-')))
            events.append({FolderEvent::Kind::Vanished, e.mid(1), {}});
        else
            events.append({FolderEvent::Kind::Rewritten, e.mid(1), {}});
    }
    return events;
}

QString eventText(const QList<FolderEvent> &events)
{
    QStringList parts;
    for (const FolderEvent &e : events) {
        switch (e.kind) {
        case FolderEvent::Kind::Appeared:
            parts << QLatin1Char('+') + e.name;
            break;
        case FolderEvent::Kind::Vanished:
            parts << QLatin1Char('-') + e.name;
            break;
        case FolderEvent::Kind::Rewritten:
            parts << QLatin1Char('~') + e.name;
            break;
        case FolderEvent::Kind::Renamed:
            parts << e.name + QLatin1Char('>') + e.newName;
            break;
        }
    }
    return parts.join(QLatin1Char(';'));
}

// a.jpg with Ort Köln (the shown file), b.jpg without a trailer; the list follows the album.
struct Shared : WindowFixture {
    Shared()
    {
        file(a, QByteArray(3000, 'a'));
        info(a, QStringLiteral("Köln"));
        file(b, QByteArray(2000, 'b'));
        list.follow(album);
        album = loadAlbum(media({}));
        list.fill(album);
        state.CurrentFile = media(a);
    }
    AlbumContext context() { return {AlbumPaths{path()}, album, state, nullptr}; }

    // What another program, or this one, does to the folder: "ort a.jpg Bonn", "add c.jpg Rom",
    // "rm a.jpg", "mv a.jpg z.jpg", "mkdir d", and the program's own "save a.jpg Ulm" and
    // "ownmv a.jpg z.jpg".
    void apply(const QString &script)
    {
        for (const QString &step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList w = step.split(QLatin1Char(' '));
            const QString verb = w.value(0), name = w.value(1), arg = w.value(2);
            if (verb == QLatin1String("ort") || verb == QLatin1String("add")) {
                if (verb == QLatin1String("add"))
                    file(name, QByteArray(1500, 'n'));
                if (!arg.isEmpty())
                    info(name, arg);
            } else if (verb == QLatin1String("rm")) {
                QVERIFY(QFile::remove(media(name)));
            } else if (verb == QLatin1String("mv")) {
                // Over an existing file too, as mv does.
                QCOMPARE(std::rename(media(name).toLocal8Bit().constData(), media(arg).toLocal8Bit().constData()), 0);
            } else if (verb == QLatin1String("mkdir")) {
                QVERIFY(QDir().mkdir(media(name)));
            } else if (verb == QLatin1String("save")) {
                AlbumContext c = context();
                PictureInfo typed = album.find(name)->info;
                typed.ort = arg;
                QCOMPARE(saveInformation(c, name, typed, [] { return true; }).result, SaveOutcome::Result::Saved);
            } else if (verb == QLatin1String("ownmv")) {
                AlbumContext c = context();
                QVERIFY(!renameEntry(c, name, arg));
            }
        }
    }
    // "name=Ort" per entry, sorted: the album's order is the file system's.
    QStringList entries() const
    {
        QStringList texts;
        for (const AlbumEntry &e : album.entries())
            texts << e.name + QLatin1Char('=') + e.info.ort;
        texts.sort();
        return texts;
    }
    QStringList rows() const
    {
        QStringList texts;
        for (int r = 0; r < list.rowCount(); ++r)
            texts << list.text(r, AlbumListModel::Dateiname) + QLatin1Char('=') + list.text(r, AlbumListModel::Ort);
        texts.sort();
        return texts;
    }
};

QString countsOf(const FolderReconcile &r)
{
    return QStringLiteral("%1/%2/%3/%4").arg(r.appended).arg(r.changed).arg(r.renamed).arg(r.removed);
}

} // namespace

class TestShared : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The texts a save stores when the file changed since the boxes were filled.
    void merge_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("merged");
        QTest::addColumn<QString>("conflicts"); // field:mine:theirs, by commas
        QTest::newRow("nothing changed anywhere") << "xx.05.1990|Köln|||"
                                                  << "xx.05.1990|Köln|||"
                                                  << "xx.05.1990|Köln|||"
                                                  << "xx.05.1990|Köln|||"
                                                  << "";
        QTest::newRow("a field the user left takes theirs") << "xx.05.1990|Köln|||"
                                                            << "xx.05.1990|Köln|Anna||"
                                                            << "xx.05.1990|Bonn|||"
                                                            << "xx.05.1990|Bonn|Anna||"
                                                            << "";
        QTest::newRow("a field only the user changed keeps mine") << "xx.05.1990|Köln|||"
                                                                  << "xx.05.1990|Ulm|||"
                                                                  << "xx.05.1990|Köln|Bert||"
                                                                  << "xx.05.1990|Ulm|Bert||"
                                                                  << "";
        QTest::newRow("both changed the same field") << "xx.05.1990|Köln|||"
                                                     << "xx.05.1990|Ulm|||"
                                                     << "xx.05.1990|Bonn|||"
                                                     << "xx.05.1990|Ulm|||"
                                                     << "Ort:Ulm:Bonn";
        QTest::newRow("both changed it to the same text") << "xx.05.1990|Köln|||"
                                                          << "xx.05.1990|Bonn|||"
                                                          << "xx.05.1990|Bonn|||"
                                                          << "xx.05.1990|Bonn|||"
                                                          << "";
        QTest::newRow("trailing blanks are no change") << "xx.05.1990|Köln|||"
                                                       << "xx.05.1990|Köln  |||"
                                                       << "xx.05.1990|Bonn|||"
                                                       << "xx.05.1990|Bonn|||"
                                                       << "";
        QTest::newRow("a date typed in another form that stores alike is no change") << "xx.xx.2003||||"
                                                                                     << "2003||||"
                                                                                     << "01.05.2003||||"
                                                                                     << "01.05.2003||||"
                                                                                     << "";
        QTest::newRow("a date both changed, mine in its stored form") << "xx.xx.2003||||"
                                                                      << "5.2003||||"
                                                                      << "01.01.1999||||"
                                                                      << "5.2003||||"
                                                                      << "Datum:xx.05.2003:01.01.1999";
        QTest::newRow("a date typed that stores as theirs is no conflict") << "xx.xx.2003||||"
                                                                           << "5.2003||||"
                                                                           << "xx.05.2003||||"
                                                                           << "5.2003||||"
                                                                           << "";
        QTest::newRow("no trailer until the other program wrote one") << "||||"
                                                                      << "|||Fest|"
                                                                      << "xx.xx.xxxx|Bonn|||"
                                                                      << "|Bonn||Fest|"
                                                                      << "";
        QTest::newRow("two conflicts and a taken field") << "|Köln|Anna||alt"
                                                         << "|Ulm|Bert||alt"
                                                         << "|Bonn|Carl|Fest|neu"
                                                         << "|Ulm|Bert|Fest|neu"
                                                         << "Ort:Ulm:Bonn,Namen:Bert:Carl";
    }
    void merge()
    {
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, onDisk);
        QFETCH(QString, merged);
        QFETCH(QString, conflicts);
        const MergedInformation result = mergeInformation(infoOf(shown), infoOf(typed), infoOf(onDisk));
        QCOMPARE(fieldsOf(result.info), merged);
        QStringList listed;
        for (const FieldConflict &c : result.conflicts)
            listed << QStringList{fieldCaption(c.field), c.mine, c.theirs}.join(QLatin1Char(':'));
        QCOMPARE(listed.join(QLatin1Char(',')), conflicts);
    }

    // What the album makes of reported names: the disk is what counts, and what the album
    // already holds (the program's own writes among it) changes nothing.
    void reconcile_data()
    {
        QTest::addColumn<QString>("disk");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("counts"); // appended/changed/renamed/removed
        QTest::addColumn<QString>("currentFile");
        QTest::addColumn<bool>("shownRemoved");
        const QStringList before{"a.jpg=Köln", "b.jpg="};
        QTest::newRow("another program's Ort")
            << "ort a.jpg Bonn"
            << "~a.jpg" << QStringList{"a.jpg=Bonn", "b.jpg="} << "0/1/0/0" << a << false;
        QTest::newRow("the program's own save")
            << "save a.jpg Ulm"
            << "~a.jpg" << QStringList{"a.jpg=Ulm", "b.jpg="} << "0/0/0/0" << a << false;
        QTest::newRow("a new file with its trailer")
            << "add c.jpg Rom"
            << "+c.jpg;~c.jpg" << QStringList{"a.jpg=Köln", "b.jpg=", "c.jpg=Rom"} << "1/0/0/0" << a << false;
        QTest::newRow("a removed file") << "rm b.jpg"
                                        << "-b.jpg" << QStringList{"a.jpg=Köln"} << "0/0/0/1" << a << false;
        QTest::newRow("the shown file removed: CurrentFile stays for Speichern to name")
            << "rm a.jpg"
            << "-a.jpg" << QStringList{"b.jpg="} << "0/0/0/1" << a << true;
        QTest::newRow("the shown file renamed: entry in place, CurrentFile follows")
            << "mv a.jpg z.jpg"
            << "a.jpg>z.jpg" << QStringList{"z.jpg=Köln", "b.jpg="} << "0/0/1/0"
            << "z.jpg" << false;
        QTest::newRow("the program's own rename") << "ownmv a.jpg z.jpg"
                                                  << "a.jpg>z.jpg" << QStringList{"z.jpg=Köln", "b.jpg="} << "0/0/0/0"
                                                  << "z.jpg" << false;
        QTest::newRow("events the album already reflects")
            << ""
            << "~a.jpg;+b.jpg;-x.jpg" << before << "0/0/0/0" << a << false;
        QTest::newRow("renamed over another file")
            << "mv a.jpg b.jpg"
            << "a.jpg>b.jpg" << QStringList{"b.jpg=Köln"} << "0/1/0/1" << a << true;
        QTest::newRow("renamed, then removed before the reconcile")
            << "mv a.jpg z.jpg;rm z.jpg"
            << "a.jpg>z.jpg;-z.jpg" << QStringList{"b.jpg="} << "0/0/0/1" << a << true;
        QTest::newRow("a copy under way") << "add .zvcopy-1.part"
                                          << "+.zvcopy-1.part" << before << "0/0/0/0" << a << false;
        QTest::newRow("a folder is no file") << "mkdir d"
                                             << "+d" << before << "0/0/0/0" << a << false;
        QTest::newRow("moved in from outside, then written")
            << "add c.jpg;ort c.jpg Rom"
            << "+c.jpg;~c.jpg" << QStringList{"a.jpg=Köln", "b.jpg=", "c.jpg=Rom"} << "1/0/0/0" << a << false;
    }
    void reconcile()
    {
        QFETCH(QString, disk);
        QFETCH(QString, events);
        QFETCH(QStringList, entries);
        QFETCH(QString, counts);
        QFETCH(QString, currentFile);
        QFETCH(bool, shownRemoved);
        entries.sort();
        Shared s;
        const auto place = s.album.indexOf(a);
        s.apply(disk);
        AlbumContext c = s.context();
        const FolderReconcile outcome = reconcileFolderChanges(c, eventsOf(events));
        QCOMPARE(s.entries(), entries);
        if (currentFile != a) // a rename keeps the entry where it was
            QCOMPARE(s.album.indexOf(currentFile), place);
        QCOMPARE(s.rows(), entries); // the list followed the album
        QCOMPARE(countsOf(outcome), counts);
        QCOMPARE(s.state.CurrentFile, s.media(currentFile));
        QCOMPARE(outcome.shownFileRemoved, shownRemoved);
        // The same events again change nothing more.
        QCOMPARE(countsOf(reconcileFolderChanges(c, eventsOf(events))), QStringLiteral("0/0/0/0"));
    }

    // An import lands its file, the follower enters it first, then the import appends it too:
    // still one entry and one row, with the file's texts.
    void importAfterTheFollowerKeepsOneEntry()
    {
        Shared s;
        s.apply(QStringLiteral("add c.jpg Rom"));
        AlbumContext c = s.context();
        QCOMPARE(countsOf(reconcileFolderChanges(c, eventsOf(QStringLiteral("+c.jpg")))), QStringLiteral("1/0/0/0"));
        s.apply(QStringLiteral("ort c.jpg Ulm"));
        s.album.append(*loadEntry(s.media({}), QStringLiteral("c.jpg")));
        QCOMPARE(s.entries(), (QStringList{"a.jpg=Köln", "b.jpg=", "c.jpg=Ulm"}));
        QCOMPARE(s.rows(), s.entries());
    }

    // Lost events: every name on disk and in the album is looked at.
    void wholeFolder()
    {
        Shared s;
        s.apply(QStringLiteral("rm b.jpg;add c.jpg Rom;ort a.jpg Bonn"));
        AlbumContext c = s.context();
        QCOMPARE(countsOf(reconcileWholeFolder(c)), QStringLiteral("1/1/0/1"));
        QCOMPARE(s.entries(), (QStringList{"a.jpg=Bonn", "c.jpg=Rom"}));
    }

    // The watch reports each kind of change by name, a move within the folder as one rename.
    void watch_data()
    {
        QTest::addColumn<QString>("disk");
        QTest::addColumn<QString>("reported");
        QTest::newRow("created and written") << "add c.jpg"
                                             << "+c.jpg;~c.jpg";
        QTest::newRow("removed") << "rm b.jpg"
                                 << "-b.jpg";
        QTest::newRow("renamed") << "mv a.jpg z.jpg"
                                 << "a.jpg>z.jpg";
        QTest::newRow("a trailer written") << "ort b.jpg Rom"
                                           << "~b.jpg";
        QTest::newRow("a folder made is no file's business") << "mkdir d"
                                                             << "";
    }
    void watch()
    {
        QFETCH(QString, disk);
        QFETCH(QString, reported);
        Shared s;
        FolderWatch watch;
        QCOMPARE(watch.watch(s.media({})), 0);
        QList<FolderEvent> seen;
        connect(&watch, &FolderWatch::changed, &watch, [&](const QList<FolderEvent> &events) { seen += events; });
        s.apply(disk);
        // Something surely reported last, so a change not reported shows as missing from before it.
        s.file(QStringLiteral("ende"));
        QTRY_VERIFY_WITH_TIMEOUT(!seen.isEmpty() && seen.last().name == QLatin1String("ende"), 5000);
        QString text = eventText(seen);
        text.remove(QRegularExpression(QStringLiteral(";?\\+ende.*$")));
        // Writing a file may report it rewritten more than once; each kind counts once here.
        QStringList kinds = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        kinds.removeDuplicates();
        QCOMPARE(kinds.join(QLatin1Char(';')), reported);
    }

    // ---- the window beside the companion, a process of its own ----

    // The companion changes Ort while the user types Namen: Speichern keeps both.
    void companionAndUserChangeDifferentFields()
    {
        Window s;
        QVERIFY(s.window);
        s.typeInto("txtNamen", QStringLiteral("Anna"));
        QCOMPARE(albuminfo({"set", s.media(a), "--ort", "Bonn"}).exitCode, 0);
        click(*s.window, "cmdAktual");
        const PictureInfo stored = ReadPictureInfo(s.media(a)).info;
        QCOMPARE(withoutTrailingSpaces(stored.ort), QStringLiteral("Bonn"));
        QCOMPARE(withoutTrailingSpaces(stored.namen), QStringLiteral("Anna"));
        QCOMPARE(s.field(*s.window, "txtOrt"), QStringLiteral("Bonn")); // the boxes show what was stored
        QCOMPARE(s.field(*s.window, "txtNamen"), QStringLiteral("Anna"));
        QVERIFY(s.dialogs.shown.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(s.list.text(s.rowOf(a), AlbumListModel::Ort), QStringLiteral("Bonn"), 5000);
    }

    // Both change Ort: the question shows both texts, and the answer is what is stored.
    void bothChangeTheSameField_data()
    {
        QTest::addColumn<int>("answerCode");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Ja keeps the user's") << int(MessageAnswer::Yes) << "Ulm";
        QTest::newRow("Nein takes the companion's") << int(MessageAnswer::No) << "Bonn";
        QTest::newRow("Abbrechen stores nothing") << int(MessageAnswer::Cancel) << "Bonn";
    }
    void bothChangeTheSameField()
    {
        QFETCH(int, answerCode);
        QFETCH(QString, stored);
        const auto answer = MessageAnswer(answerCode);
        Window s;
        QVERIFY(s.window);
        s.typeInto("txtOrt", QStringLiteral("Ulm"));
        s.typeInto("txtNamen", QStringLiteral("Anna"));
        QCOMPARE(albuminfo({"set", s.media(a), "--ort", "Bonn"}).exitCode, 0);
        const QByteArray companions = s.bytes(a);
        s.dialogs.answers = {answer};
        click(*s.window, "cmdAktual");
        QCOMPARE(s.dialogs.shown.size(), 1);
        const QString question = s.dialogs.shown.first();
        QVERIFY2(question.contains(QStringLiteral("„Ulm“")) && question.contains(QStringLiteral("„Bonn“"))
                     && question.contains(QStringLiteral("anderes Programm")),
                 qPrintable(question));
        QCOMPARE(withoutTrailingSpaces(ReadPictureInfo(s.media(a)).info.ort), stored);
        if (answer == MessageAnswer::Cancel) {
            QCOMPARE(s.bytes(a), companions);
            QCOMPARE(s.field(*s.window, "txtOrt"), QStringLiteral("Ulm")); // the typing stays
        } else {
            QCOMPARE(withoutTrailingSpaces(ReadPictureInfo(s.media(a)).info.namen), QStringLiteral("Anna"));
            QCOMPARE(s.field(*s.window, "txtOrt"), stored);
        }
    }

    // A file the companion brings in shows up as a row, selection and rows kept.
    void companionAddsAFile()
    {
        Window s;
        QVERIFY(s.window);
        QTemporaryDir from;
        QVERIFY(writePictureFile(from.filePath(QStringLiteral("neu.jpg"))));
        QCOMPARE(albuminfo({"import", s.path(), from.filePath(QStringLiteral("neu.jpg"))}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(s.rowOf(QStringLiteral("neu.jpg")) >= 0, 5000);
        QCOMPARE(s.list.rowCount(), 3);
        QCOMPARE(s.album.size(), std::size_t(3));
        QCOMPARE(s.selectedName(), a);
    }

    // The companion renames the shown file: the boxes still belong to it, and Speichern writes it.
    void companionRenamesTheShownFile()
    {
        Window s;
        QVERIFY(s.window);
        s.typeInto("txtNamen", QStringLiteral("Anna"));
        QCOMPARE(albuminfo({"rename", s.path(), a, "z.jpg"}).exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(s.state.CurrentFile, s.media(QStringLiteral("z.jpg")), 5000);
        QCOMPARE(s.rowOf(a), -1);
        QCOMPARE(s.field(*s.window, "txtNamen"), QStringLiteral("Anna"));
        click(*s.window, "cmdAktual");
        QVERIFY(s.dialogs.shown.isEmpty());
        QCOMPARE(withoutTrailingSpaces(ReadPictureInfo(s.media(QStringLiteral("z.jpg"))).info.namen),
                 QStringLiteral("Anna"));
    }

    // The companion deletes the shown file: the row goes, the typing stays, Speichern says why.
    void companionDeletesTheShownFile()
    {
        Window s;
        QVERIFY(s.window);
        s.typeInto("txtNamen", QStringLiteral("Anna"));
        QCOMPARE(albuminfo({"delete", s.path(), a}).exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(s.rowOf(a), -1, 5000);
        click(*s.window, "cmdAktual");
        QCOMPARE(s.dialogs.shown.size(), 1);
        QVERIFY2(s.dialogs.shown.first().contains(QStringLiteral("gibt es nicht mehr")),
                 qPrintable(s.dialogs.shown.first()));
        QCOMPARE(s.field(*s.window, "txtNamen"), QStringLiteral("Anna"));
        QVERIFY(!QFile::exists(s.media(a)));
    }

private:
    // The window shows a.jpg, the album follows its folder as the program makes it do.
    struct Window : WindowFixture {
        Window()
        {
            file(a, QByteArray(3000, 'a'));
            info(a, QStringLiteral("Köln"));
            file(b, QByteArray(2000, 'b'));
            window = shownWindow(*this);
            if (!window)
                return;
            follower = std::make_unique<FolderFollower>(AlbumContext{AlbumPaths{path()}, album, state, nullptr});
            if (follower->start() != 0) {
                window.reset();
                return;
            }
            clickRow(*window, rowOf(a));
            if (state.CurrentFile != media(a))
                window.reset();
        }
        void typeInto(const char *box, const QString &text) const
        {
            auto *line = child<QLineEdit>(*window, box);
            line->setFocus();
            line->selectAll();
            QTest::keyClicks(line, text);
        }
        QString selectedName() const
        {
            const QModelIndexList rows = child<QTreeView>(*window, "lstBilder")->selectionModel()->selectedRows();
            return rows.size() == 1 ? list.row(rows.first().row()).name : QString();
        }
        std::unique_ptr<frmDaten> window;
        std::unique_ptr<FolderFollower> follower;
    };

    static bool writePictureFile(const QString &path)
    {
        QImage image(QSize(40, 30), QImage::Format_RGB32);
        image.fill(Qt::blue);
        return image.save(path, "JPEG");
    }
};

QTEST_MAIN(TestShared)
#include "tst_shared.moc"
