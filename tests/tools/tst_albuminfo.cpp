// albuminfo as a user runs it: a real process on a generated album, and its import and export.
#include "support/CoreChecks.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

using zv::test::readAll;
using zv::test::writeAll;

namespace {

constexpr uid_t kNobody = 65534;

struct Run {
    int exitCode;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

Run albuminfo(const QStringList &args, const QByteArray &input = {}, bool asOtherUser = false)
{
    QProcess p;
    // Root reads whatever the permissions say; an ordinary user is what such a test is about.
    if (asOtherUser && ::geteuid() == 0)
        p.setChildProcessModifier([] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(99);
        });
    p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// A copy left half done would show as a hidden file.
QStringList files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Four files, three of them with information set by albuminfo itself. Each test gets its own,
// so one that changes a file leaves the others alone.
void makeSampleAlbum(const QTemporaryDir &album)
{
    QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
    const struct {
        const char *name, *datum, *ort, *namen;
        int bytes;
    } files[] = {{"a.jpg", "2003", "Köln", "Anna", 5000},
                 {"b.jpg", "01.05.2001", "Bonn", "Bert", 100},
                 {"c.mpg", "1.05.2003", "Köln Dom", "Anna, Bert", 3000},
                 {"d.txt", "", "", "", 0}};
    for (const auto &f : files) {
        const QString path = album.filePath(QStringLiteral("Bilder/") + QLatin1String(f.name));
        QVERIFY(writeAll(path, QByteArray(f.bytes, 'x')));
        if (*f.ort)
            QCOMPARE(albuminfo({"set", path, "--datum", QString::fromUtf8(f.datum), "--ort", QString::fromUtf8(f.ort),
                                "--namen", QString::fromUtf8(f.namen)})
                         .exitCode,
                     0);
    }
}

} // namespace

class TestAlbumInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The album window's search and sort from a script.
    void findAndSort_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("place, names and month")
            << QStringList{"find", "--ort", "köln", "--namen", "bert", "--datum", "5.2003"} << QStringList{"c.mpg"}
            << 0;
        QTest::newRow("date by caption") << QStringList{"list", "--sort", "Datum"}
                                         << QStringList{"d.txt", "b.jpg", "c.mpg", "a.jpg"} << 0;
        QTest::newRow("size by index, descending")
            << QStringList{"list", "--sort", "2", "--desc"} << QStringList{"a.jpg", "c.mpg", "b.jpg", "d.txt"} << 0;
        QTest::newRow("not a column") << QStringList{"list", "--sort", "Schreibschutz"} << QStringList{} << 2;
    }
    void findAndSort()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, names);
        QFETCH(int, exitCode);
        QTemporaryDir album;
        makeSampleAlbum(album);
        if (QTest::currentTestFailed())
            return;
        args.insert(1, album.path());
        const Run run = albuminfo(args);
        QCOMPARE(run.exitCode, exitCode);
        QStringList got;
        for (const QString &line : run.lines())
            got << line.section(QLatin1Char('\t'), 0, 0);
        QCOMPARE(got, names);
    }

    // A read-only file is refused unless asked for, and stays read-only; a second set changes
    // only what it is given.
    void setKeepsWhatIsNotGiven()
    {
        QTemporaryDir album;
        makeSampleAlbum(album);
        if (QTest::currentTestFailed())
            return;
        const QString a = album.filePath(QStringLiteral("Bilder/a.jpg"));
        QVERIFY(::chmod(QFile::encodeName(a).constData(), 0444) == 0);
        const Run refused = albuminfo({"set", a, "--ort", "Bonn"});
        QVERIFY(refused.exitCode == 1 && refused.err.contains(QStringLiteral("schreibgeschützt")));
        const Run run =
            albuminfo({"set", a, "--anlass", "Kirmes", "--bemerkungen", "Mit € und ß", "--schreibgeschuetzt"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(QFileInfo(a).size(), 5914);
        struct stat st { };
        QVERIFY(::stat(QFile::encodeName(a).constData(), &st) == 0 && (st.st_mode & 0777) == 0444);
        QCOMPARE(sorted(albuminfo({"list", album.path()}).lines()).value(0),
                 QStringLiteral("a.jpg\t2\t6\txx.xx.2003\tKöln\tAnna\tKirmes\tMit € und ß\t33"));
    }

    void listEscapesAndJson()
    {
        QTemporaryDir album;
        QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
        const QByteArray folder = QFile::encodeName(album.filePath(QStringLiteral("Bilder/")));
        QVERIFY(zv::test::writeNative(folder + "a\tb\nc\\d\x1b[31m.jpg", "x"));
        QVERIFY(zv::test::writeNative(folder + "caf\xe9.jpg", "x")); // Latin-1, not UTF-8
        const QString tricky = QString::fromUtf8(folder + "a\tb\nc\\d\x1b[31m.jpg");
        QCOMPARE(albuminfo({"set", tricky, "--ort", "Zeile 1\r\nZeile 2", "--namen", "\x1b]0;x\x07\x7f"}).exitCode, 0);

        QCOMPARE(sorted(albuminfo({"list", album.path()}).lines()),
                 (QStringList{
                     "a\\tb\\nc\\\\d\\x1B[31m.jpg\t2\t1\txx.xx.xxxx\tZeile 1\\r\\nZeile 2\t\\x1B]0;x\\x07\\x7F\t\t\t32",
                     "caf\\xE9.jpg\t2\t0\t\t\t\t\t\t32"}));

        const QJsonArray entries =
            QJsonDocument::fromJson(albuminfo({"list", album.path(), "--json"}).out.toUtf8()).array();
        QCOMPARE(entries.size(), 2);
        const int at = entries[0].toObject()[QStringLiteral("ort")].toString().isEmpty() ? 1 : 0;
        const QJsonObject e = entries[at].toObject();
        QCOMPARE(e[QStringLiteral("name")].toString(), tricky.mid(tricky.lastIndexOf(u'/') + 1));
        QCOMPARE(e[QStringLiteral("ort")].toString(), QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(e[QStringLiteral("kb")].toInt(), 1);
        QCOMPARE(e[QStringLiteral("datum")].toString(), QStringLiteral("xx.xx.xxxx"));
        QCOMPARE(entries[1 - at].toObject()[QStringLiteral("name")].toString(), QStringLiteral("café.jpg"));
    }

    // Each verb on an album of a.jpg, b.jpg and c.jpg. FROM holds a.jpg ("new") and neu.jpg; NEW
    // stands for a new album's folder. A failure names its cause and leaves a.jpg as it was; a set
    // stores the date form of what --datum typed, and says so when that is no date.
    void verbs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("left"); // in Bilder afterwards
        QTest::addColumn<QByteArray>("a"); // what a.jpg holds afterwards, or the date a set stored
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("out");
        const QStringList all{"a.jpg", "b.jpg", "c.jpg"};
        const QStringList imported{"a.jpg", "b.jpg", "c.jpg", "neu.jpg"};
        // The terminal gets the window's lines: where each file lies, then its size and time.
        const QString asked = QStringLiteral("Soll die Datei a.jpg mit a.jpg ersetzt werden?\n\nVorhanden in:\n");
        const QByteArray none, old("a.jpg"), fresh("new");
        QTest::newRow("rename") << QStringList{"rename", "ALBUM", "a.jpg", "Köln 1.jpg"} << none << 0
                                << QStringList{"Köln 1.jpg", "b.jpg", "c.jpg"} << none << ""
                                << "";
        QTest::newRow("rename what is not there")
            << QStringList{"rename", "ALBUM", "x.jpg", "y.jpg"} << none << 1 << all << old << "Nicht im Album: x.jpg"
            << "";
        QTest::newRow("delete two") << QStringList{"delete", "ALBUM", "c.jpg", "a.jpg"} << none << 0
                                    << QStringList{"b.jpg"} << none << ""
                                    << "";
        QTest::newRow("a mistyped name deletes nothing")
            << QStringList{"delete", "ALBUM", "a.jpg", "x.jpg"} << none << 1 << all << old << "Es wurde nichts gelöscht"
            << "";
        QTest::newRow("new album") << QStringList{"newalbum", "ALBUM", "NEW", "c.jpg", "a.jpg"} << none << 0 << all
                                   << old << ""
                                   << "NEW/zidoverev\n";
        QTest::newRow("new album under a file") << QStringList{"newalbum", "ALBUM", "FROM/neu.jpg/neu"} << none << 1
                                                << all << old << "konnte nicht angelegt werden"
                                                << "";
        QTest::newRow("new album in the album's Skins")
            << QStringList{"newalbum", "ALBUM", "ALBUM/Bilder/../Skins/neu", "a.jpg"} << none << 1 << all << old
            << "liegt im Album"
            << "";
        QTest::newRow("new album onto the album")
            << QStringList{"newalbum", "ALBUM", "ALBUM/", "a.jpg"} << none << 1 << all << old << "ist das Album selbst"
            << "";
        QTest::newRow("import numbered") << QStringList{"import",       "ALBUM",    "FROM/a.jpg",
                                                        "FROM/neu.jpg", "--number", "5"}
                                         << none << 0
                                         << QStringList{"000005.jpg", "000006.jpg", "a.jpg", "b.jpg", "c.jpg"} << old
                                         << ""
                                         << "2 Dateien hinzugefügt\n";
        QTest::newRow("import a number with a letter")
            << QStringList{"import", "ALBUM", "FROM/a.jpg", "--number", "12a"} << none << 1 << all << old
            << "Die Startnummer muss eine Zahl sein."
            << "";
        QTest::newRow("import of any kind, counted")
            << QStringList{"import", "ALBUM", "FROM/neu.jpg", "FROM/notiz.txt"} << none << 0
            << QStringList{"a.jpg", "b.jpg", "c.jpg", "neu.jpg", "notiz.txt"} << old << ""
            << "2 Dateien hinzugefügt, davon 1 vom Typ „unbekannt“\n";
        QTest::newRow("import, overwrite none")
            << QStringList{"import", "ALBUM", "FROM/a.jpg", "FROM/neu.jpg", "--overwrite", "none"} << none << 0
            << imported << old << ""
            << "";
        QTest::newRow("import asks, nein") << QStringList{"import", "ALBUM", "FROM/a.jpg", "FROM/neu.jpg"}
                                           << QByteArray("n\n") << 0 << imported << old << "" << asked;
        QTest::newRow("import asks again, ja") << QStringList{"import", "ALBUM", "FROM/a.jpg", "--overwrite", "ask"}
                                               << QByteArray("vielleicht\nj\n") << 0 << all << fresh << "" << asked;
        QTest::newRow("import a vanished file")
            << QStringList{"import", "ALBUM", "FROM/a.jpg", "/nirgendwo/weg.jpg", "--overwrite", "all"} << none << 1
            << all << fresh << "Die Datei weg.jpg wurde nicht kopiert"
            << "";
        QTest::newRow("import, bad option") << QStringList{"import", "ALBUM", "FROM/a.jpg", "--overwrite", "immer"}
                                            << none << 2 << all << old << "Aufruf"
                                            << "";
        QTest::newRow("no media folder") << QStringList{"list", "/nirgendwo"} << none << 1 << all << old
                                         << "Kein Bilderordner"
                                         << "";
        QTest::newRow("missing file") << QStringList{"set", "/nirgendwo/a.jpg", "--ort", "x"} << none << 1 << all << old
                                      << "nicht mehr vorhanden"
                                      << "";
        QTest::newRow("Chinese")
            << QStringList{"set", "A", "--ort", "x", "--namen", "李小龙 und 李"} << none << 1 << all << old
            << "Im Feld Namen stehen Zeichen, die nicht gespeichert werden können: \"李\", \"小\", \"龙\""
            << "";
        QTest::newRow("emoji") << QStringList{"set", "A", "--anlass", "Party 🎉"} << none << 1 << all << old << "\"🎉\""
                               << "";
        QTest::newRow("unknown option") << QStringList{"set", "A", "--farbe", "rot"} << none << 2 << all << old
                                        << "Aufruf"
                                        << "";
        QTest::newRow("option without value") << QStringList{"set", "A", "--ort"} << none << 2 << all << old << "Aufruf"
                                              << "";
        QTest::newRow("list of two folders") << QStringList{"list", "/a", "/b"} << none << 2 << all << old << "Aufruf"
                                             << "";
        QTest::newRow("no command") << QStringList{} << none << 2 << all << old << "Aufruf"
                                    << "";
        // typed, stored, and the warning a date the album cannot read leaves on standard error
        const char *dates[][3] = {
            {"", "xx.xx.xxxx", ""},
            {"2003", "xx.xx.2003", ""},
            {"12003", "xx.xx.xxxx", "Das eingegebene Datum „12003“ wird als „xx.xx.xxxx“ gespeichert"},
            {"5.2003", "xx.05.2003", ""},
            {"05.2003", "xx.05.2003", ""},
            {"1.1.2003", "xx.xx.xxxx", "Das eingegebene Datum „1.1.2003“ wird als „xx.xx.xxxx“ gespeichert"},
            {"12.5.2003", "012.5.2003", "Das eingegebene Datum „12.5.2003“ wird als „012.5.2003“ gespeichert"},
            {"1.05.2003", "01.05.2003", ""},
            {"01.05.2003", "01.05.2003", ""},
            {"31.04.2003", "31.04.2003", "„31.04.2003“ wird als „31.04.2003“ gespeichert"},
            {"abcd", "xx.xx.abcd", "„abcd“ wird als „xx.xx.abcd“ gespeichert"}};
        for (const auto &date : dates)
            QTest::addRow("date %s", date[0]) << QStringList{"set", "A", "--ort", "x", "--datum", date[0]} << none << 0
                                              << all << QByteArray(date[1]) << QString::fromUtf8(date[2]) << "";
    }
    void verbs()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        QFETCH(QString, out);
        QTemporaryDir album, from, target;
        for (const char *folder : {"Bilder", "Skins/Main", "Hilfe"})
            QVERIFY(QDir(album.path()).mkpath(QLatin1String(folder)));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Skins/Main/Skin.ini")), "[Skin]\n"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Hilfe/Hilfe.html")), "<html/>"));
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/") + QLatin1String(name)), name));
        QVERIFY(writeAll(from.filePath(QStringLiteral("a.jpg")), "new"));
        QVERIFY(writeAll(from.filePath(QStringLiteral("neu.jpg")), "neu"));
        QVERIFY(writeAll(from.filePath(QStringLiteral("notiz.txt")), "notiz"));
        const QString fresh = target.filePath(QStringLiteral("Urlaub"));
        args.replaceInStrings(QStringLiteral("ALBUM"), album.path())
            .replaceInStrings(QStringLiteral("FROM"), from.path());
        args.replaceInStrings(QStringLiteral("NEW"), fresh);
        const QString a = album.filePath(QStringLiteral("Bilder/a.jpg"));
        if (args.value(1) == QLatin1String("A"))
            args[1] = a;
        out.replace(QStringLiteral("NEW"), fresh);

        const Run run = albuminfo(args, input);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QVERIFY2(run.err.contains(error) && run.err.isEmpty() == error.isEmpty(), qPrintable(run.err));
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QTEST(files(album.filePath(QStringLiteral("Bilder"))), "left");
        const bool stored = args.value(0) == QLatin1String("set") && exitCode == 0;
        QTEST(stored ? readAll(a).right(650).left(10) : readAll(a), "a"); // the date field, 650 bytes from the end
        if (args.value(0) == QLatin1String("newalbum") && exitCode == 0)
            QCOMPARE(files(fresh + QStringLiteral("/Bilder")), (QStringList{"a.jpg", "c.jpg"}));
        if (args.value(0) == QLatin1String("newalbum") && exitCode != 0) {
            const auto entries = [](const QString &folder) {
                return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
            };
            QCOMPARE(entries(album.path()), (QStringList{"Bilder", "Hilfe", "Skins"}));
            QCOMPARE(entries(album.filePath(QStringLiteral("Skins"))), QStringList{"Main"});
        }
    }

    // set --datum-aus-kamera over several files, and import with it: Bilder holds a.jpg and
    // c.jpg (read-only) taken on 14.07.2024 and b.jpg without EXIF; FROM holds f.jpg, taken the same day.
    void cameraDates_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("dates"); // a.jpg, b.jpg, c.jpg and f.jpg as listed afterwards
        const QStringList untouched{"", "", "", ""};
        QTest::newRow("several files") << QStringList{"set", "A", "B", "C", "--datum-aus-kamera"} << 0
                                       << "1 Datei hat ein Datum erhalten, 1 hatte kein Aufnahmedatum, 1 ist "
                                          "schreibgeschützt.\n"
                                       << "" << QStringList{"14.07.2024", "", "", ""};
        QTest::newRow("one file, option first")
            << QStringList{"set", "--datum-aus-kamera", "A"} << 0 << "1 Datei hat ein Datum erhalten.\n"
            << "" << QStringList{"14.07.2024", "", "", ""};
        QTest::newRow("a missing file fails, the others are dated")
            << QStringList{"set", "A", "/nirgendwo/x.jpg", "--datum-aus-kamera"} << 1
            << "1 Datei hat ein Datum erhalten, 1 konnte nicht bearbeitet werden.\n"
            << "\"x.jpg\" ist nicht mehr vorhanden" << QStringList{"14.07.2024", "", "", ""};
        QTest::newRow("no other field with it")
            << QStringList{"set", "A", "--datum-aus-kamera", "--ort", "Köln"} << 2 << ""
            << "Aufruf" << untouched;
        QTest::newRow("no file") << QStringList{"set", "--datum-aus-kamera"} << 2 << ""
                                 << "Aufruf" << untouched;
        QTest::newRow("import") << QStringList{"import", "ALBUM", "FROM/f.jpg", "--datum-aus-kamera"} << 0
                                << "1 Datei hinzugefügt\n1 Datei hat ein Datum erhalten.\n"
                                << "" << QStringList{"", "", "", "14.07.2024"};
        QTest::newRow("import without it")
            << QStringList{"import", "ALBUM", "FROM/f.jpg"} << 0 << "1 Datei hinzugefügt\n"
            << "" << untouched;
    }
    void cameraDates()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, error);
        QTemporaryDir album, from;
        QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
        const auto photo = [](const QString &path, bool withMoment) {
            QProcess tool;
            tool.start(QStringLiteral("ffmpeg"),
                       {"-loglevel", "error", "-f", "lavfi", "-i", "color=c=red:s=32x32", "-frames:v", "1", path});
            if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
                return false;
            if (!withMoment)
                return true;
            tool.start(QStringLiteral("exiv2"),
                       {"-M", "set Exif.Photo.DateTimeOriginal Ascii 2024:07:14 09:30:00", path});
            return tool.waitForFinished(30000) && tool.exitCode() == 0;
        };
        const QString bilder = album.filePath(QStringLiteral("Bilder/"));
        QVERIFY(photo(bilder + QStringLiteral("a.jpg"), true));
        QVERIFY(photo(bilder + QStringLiteral("b.jpg"), false));
        QVERIFY(photo(bilder + QStringLiteral("c.jpg"), true));
        QVERIFY(::chmod(QFile::encodeName(bilder + QStringLiteral("c.jpg")).constData(), 0444) == 0);
        QVERIFY(photo(from.filePath(QStringLiteral("f.jpg")), true));
        for (QString &arg : args) {
            if (arg.size() == 1 && arg[0].isUpper())
                arg = bilder + arg.toLower() + QStringLiteral(".jpg");
            arg.replace(QStringLiteral("ALBUM"), album.path()).replace(QStringLiteral("FROM"), from.path());
        }

        const Run run = albuminfo(args);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QCOMPARE(run.out, out);
        QVERIFY2(run.err.contains(error) && run.err.isEmpty() == error.isEmpty(), qPrintable(run.err));
        QStringList dates;
        const QStringList listed = sorted(albuminfo({"list", album.path()}).lines());
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "f.jpg"}) {
            const QStringList line = listed.filter(QRegularExpression(QLatin1Char('^') + QLatin1String(name)));
            dates << line.value(0).section(QLatin1Char('\t'), 3, 3);
        }
        QTEST(dates, "dates");
    }

    // Bilder holds a.jpg, innen.jpg (a link to it) and notizen.jpg, a link to a file of the
    // user's outside the album, which an album from someone else may hold: it is listed, but
    // neither written, nor its mode changed, nor renamed; deleting it removes the link alone.
    void linksOutOfTheAlbum_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("outsideMode");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("left"); // in Bilder afterwards
        QTest::addColumn<int>("aGrew");
        const QString out = QStringLiteral("außerhalb");
        const QStringList all{"a.jpg", "innen.jpg", "notizen.jpg"};
        QTest::newRow("set") << QStringList{"set", "ALBUM/Bilder/notizen.jpg", "--ort", "x"} << 0644 << 1 << out << all
                             << 0;
        QTest::newRow("set, even if read-only")
            << QStringList{"set", "ALBUM/Bilder/notizen.jpg", "--ort", "x", "--schreibgeschuetzt"} << 0444 << 1 << out
            << all << 0;
        QTest::newRow("rename") << QStringList{"rename", "ALBUM", "notizen.jpg", "n.jpg"} << 0644 << 1 << out << all
                                << 0;
        QTest::newRow("delete a read-only target") << QStringList{"delete", "ALBUM", "notizen.jpg"} << 0444 << 0 << ""
                                                   << QStringList{"a.jpg", "innen.jpg"} << 0;
        QTest::newRow("list") << QStringList{"list", "ALBUM"} << 0644 << 0 << "" << all << 0;
        QTest::newRow("set through a link inside")
            << QStringList{"set", "ALBUM/Bilder/innen.jpg", "--ort", "x"} << 0644 << 0 << "" << all << 914;
    }
    void linksOutOfTheAlbum()
    {
        QFETCH(QStringList, args);
        QFETCH(int, outsideMode);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        QTemporaryDir album, home;
        QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
        const QString a = album.filePath(QStringLiteral("Bilder/a.jpg"));
        const QString notes = home.filePath(QStringLiteral("notizen.txt"));
        QVERIFY(writeAll(a, "bild"));
        QVERIFY(writeAll(notes, "Termine"));
        QVERIFY(::chmod(QFile::encodeName(notes).constData(), mode_t(outsideMode)) == 0);
        QVERIFY(QFile::link(QStringLiteral("a.jpg"), album.filePath(QStringLiteral("Bilder/innen.jpg"))));
        QVERIFY(QFile::link(notes, album.filePath(QStringLiteral("Bilder/notizen.jpg"))));

        const Run run = albuminfo(args.replaceInStrings(QStringLiteral("ALBUM"), album.path()));
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QVERIFY2(run.err.contains(error) && run.err.isEmpty() == error.isEmpty(), qPrintable(run.err));
        if (args.first() == QLatin1String("list"))
            QVERIFY2(run.out.contains(QStringLiteral("notizen.jpg")), qPrintable(run.out));
        QTEST(QDir(album.filePath(QStringLiteral("Bilder")))
                  .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
              "left");
        QCOMPARE(readAll(notes), QByteArray("Termine"));
        struct stat st { };
        QVERIFY(::stat(QFile::encodeName(notes).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 07777), outsideMode);
        QTEST(int(QFileInfo(a).size()) - 4, "aGrew");
    }

    // A media folder that cannot be read is no empty album: each verb that reads it says why.
    void unreadableMediaFolder_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("bilder"); // "000": a folder nobody may read; "file": a file instead
        QTest::addColumn<QString>("error");
        const QString unreadable = QStringLiteral("kann nicht gelesen werden: keine Berechtigung.");
        QTest::newRow("list") << QStringList{"list", "ALBUM"} << "000" << unreadable;
        QTest::newRow("list as JSON") << QStringList{"list", "ALBUM", "--json"} << "000" << unreadable;
        QTest::newRow("list sorted") << QStringList{"list", "ALBUM", "--sort", "Datum"} << "000" << unreadable;
        QTest::newRow("find") << QStringList{"find", "ALBUM", "--ort", "Köln"} << "000" << unreadable;
        QTest::newRow("delete") << QStringList{"delete", "ALBUM", "a.jpg"} << "000" << unreadable;
        QTest::newRow("a file instead") << QStringList{"list", "ALBUM"} << "file"
                                        << "an seiner Stelle liegt eine Datei";
    }
    void unreadableMediaFolder()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, bilder);
        QFETCH(QString, error);
        QTemporaryDir album;
        const QString media = album.filePath(QStringLiteral("Bilder"));
        if (bilder == QLatin1String("file")) {
            QVERIFY(writeAll(media, "x"));
        } else {
            QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
            QVERIFY(writeAll(media + QStringLiteral("/a.jpg"), "bild"));
            QVERIFY(::chmod(QFile::encodeName(media).constData(), 0) == 0);
        }
        QVERIFY(::chmod(QFile::encodeName(album.path()).constData(), 0755) == 0); // the other user gets that far
        const Run run = albuminfo(args.replaceInStrings(QStringLiteral("ALBUM"), album.path()), {}, true);
        ::chmod(QFile::encodeName(media).constData(), 0755);
        QVERIFY2(run.exitCode != 99, "could not run as another user");
        QVERIFY2(run.exitCode == 1 && run.err.contains(error), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    void exportFiles()
    {
        QTemporaryDir album, to;
        QDir(album.path()).mkdir(QStringLiteral("Bilder"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/a.jpg")), "bild"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/b.mov")), "film"));
        QVERIFY(writeAll(to.filePath(QStringLiteral("b.mov")), "theirs"));
        Run run = albuminfo({"export", album.path(), to.path(), "a.jpg", "b.mov", "--overwrite", "none"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readAll(to.filePath(QStringLiteral("a.jpg"))), QByteArray("bild"));
        QCOMPARE(readAll(to.filePath(QStringLiteral("b.mov"))), QByteArray("theirs"));
        run = albuminfo({"export", album.path(), to.path(), "fehlt.jpg", "b.mov"}, "j\n");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("fehlt.jpg")), qPrintable(run.err));
        QVERIFY2(run.out.contains(QStringLiteral("Soll die Datei b.mov mit b.mov ersetzt werden?\n\nVorhanden in:\n")
                                  + to.path() + QStringLiteral("\n6 Bytes, ")),
                 qPrintable(run.out));
        QCOMPARE(readAll(to.filePath(QStringLiteral("b.mov"))), QByteArray("film"));
    }

    // A kill in the middle of a large copy, into the album or out of it, leaves the old file
    // under its name and nothing else: the copy had no name yet.
    void killedInTheMiddle_data()
    {
        QTest::addColumn<QString>("verb");
        QTest::newRow("import") << "import";
        QTest::newRow("export") << "export";
    }
    void killedInTheMiddle()
    {
        QFETCH(QString, verb);
        QTemporaryDir album, outside;
        const QString media = album.filePath(QStringLiteral("Bilder"));
        QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
        const bool import = verb == QLatin1String("import");
        const QString source = (import ? outside.path() : media) + QStringLiteral("/gross.avi");
        const QString target = (import ? media : outside.path()) + QStringLiteral("/gross.avi");
        QVERIFY(writeAll(target, "the old film"));
        QVERIFY(writeAll(source, {}));
        QVERIFY(QFile::resize(source, qint64(1) << 30)); // zeros, written out in full
        QProcess p;
        p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"),
                import ? QStringList{"import", album.path(), source, "--overwrite", "all"}
                       : QStringList{"export", album.path(), outside.path(), "gross.avi", "--overwrite", "all"});
        QVERIFY(p.waitForStarted());
        // The copy is open for writing in the target's folder: nameless, or under a hidden name.
        const QString fds = QStringLiteral("/proc/%1/fd").arg(p.processId());
        const QString folder = QFileInfo(target).path() + QLatin1Char('/');
        bool copying = false;
        for (int waited = 0; !copying && waited < 20000 && p.state() == QProcess::Running; ++waited) {
            for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
                char link[4096];
                const ssize_t n = ::readlink(QFile::encodeName(fds + u'/' + fd).constData(), link, sizeof link);
                const QString open = QString::fromUtf8(link, std::max<ssize_t>(n, 0));
                copying =
                    copying || (open.startsWith(folder) && open != target && QFileInfo(open).fileName() != "gross.avi");
            }
            QTest::qSleep(1);
        }
        QVERIFY2(copying, "the copy ended before it could be killed");
        ::kill(pid_t(p.processId()), SIGKILL);
        QVERIFY(p.waitForFinished());
        QCOMPARE(readAll(target), QByteArray("the old film"));
        QStringList left = files(QFileInfo(target).path());
        // A file system without nameless files leaves a hidden copy, which the next run into
        // that folder clears.
        if (left.size() > 1) {
            QVERIFY(writeAll(outside.filePath(QStringLiteral("klein.jpg")), "k"));
            QVERIFY(writeAll(media + QStringLiteral("/klein.jpg"), "k"));
            QCOMPARE(albuminfo(import ? QStringList{"import", album.path(), outside.filePath("klein.jpg")}
                                      : QStringList{"export", album.path(), outside.path(), "klein.jpg"})
                         .exitCode,
                     0);
            left = files(QFileInfo(target).path()).filter(QStringLiteral("zvcopy"));
            QCOMPARE(left, QStringList());
        } else {
            QCOMPARE(left, QStringList{"gross.avi"});
        }
    }

    // Two imports at once with running numbers: each file gets a number of its own, whichever
    // placed its copy first.
    void twoImportsAtOnce()
    {
        for (int round = 0; round < 10; ++round) {
            QTemporaryDir album, from;
            const QString media = album.filePath(QStringLiteral("Bilder"));
            QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
            QVERIFY(writeAll(from.filePath(QStringLiteral("x1.jpg")), "eins"));
            QVERIFY(writeAll(from.filePath(QStringLiteral("x2.jpg")), "zwei"));
            QProcess one, two;
            const QString program = qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo");
            one.start(program, {"import", album.path(), from.filePath("x1.jpg"), "--number", "1"});
            two.start(program, {"import", album.path(), from.filePath("x2.jpg"), "--number", "1"});
            QVERIFY(one.waitForFinished(30000) && two.waitForFinished(30000));
            QCOMPARE(one.exitCode(), 0);
            QCOMPARE(two.exitCode(), 0);
            QCOMPARE(files(media), (QStringList{"000001.jpg", "000002.jpg"}));
            QCOMPARE(sorted({QString::fromUtf8(readAll(media + "/000001.jpg")),
                             QString::fromUtf8(readAll(media + "/000002.jpg"))}),
                     (QStringList{"eins", "zwei"}));
        }
    }

    // Over the process's file-size limit a copy fails with a German reason; the program is not
    // killed, and no part of the copy stays.
    void fileSizeLimit()
    {
        QTemporaryDir album, from;
        const QString media = album.filePath(QStringLiteral("Bilder"));
        QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
        QVERIFY(writeAll(from.filePath(QStringLiteral("gross.jpg")), QByteArray(300 * 1024, 'g')));
        QProcess p;
        p.setChildProcessModifier([] {
            const rlimit limit{100 * 1024, 100 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"),
                {"import", album.path(), from.filePath("gross.jpg")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("größer, als der Datenträger oder das System eine Datei erlaubt")),
                 qPrintable(err));
        QCOMPARE(files(media), QStringList());
    }

    // "newalbum" into a folder that is an album already replaces its pictures only when told.
    void newAlbumIntoAnAlbum_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("a");
        QTest::newRow("none") << QStringList{"--overwrite", "none"} << QByteArray() << QByteArray("theirs");
        QTest::newRow("all") << QStringList{"--overwrite", "all"} << QByteArray() << QByteArray("ours");
        QTest::newRow("asked, nein") << QStringList{} << QByteArray("n\n") << QByteArray("theirs");
        QTest::newRow("asked, ja") << QStringList{} << QByteArray("j\n") << QByteArray("ours");
    }
    void newAlbumIntoAnAlbum()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, input);
        QTemporaryDir album, other;
        for (const QTemporaryDir *dir : {&album, &other})
            QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("Bilder")));
        QVERIFY(QDir(album.path()).mkpath(QStringLiteral("Skins/Main"))
                && QDir(album.path()).mkpath(QStringLiteral("Hilfe")));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/a.jpg")), "ours"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/b.jpg")), "b"));
        QVERIFY(writeAll(other.filePath(QStringLiteral("Bilder/a.jpg")), "theirs"));
        const Run run =
            albuminfo(QStringList{"newalbum", album.path(), other.path(), "a.jpg", "b.jpg"} + options, input);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QTEST(readAll(other.filePath(QStringLiteral("Bilder/a.jpg"))), "a");
        QCOMPARE(readAll(other.filePath(QStringLiteral("Bilder/b.jpg"))), QByteArray("b"));
    }
};

QTEST_GUILESS_MAIN(TestAlbumInfo)
#include "tst_albuminfo.moc"
