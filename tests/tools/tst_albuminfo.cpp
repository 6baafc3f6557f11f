// albuminfo as a user runs it: a real process on a generated album, and its import and export.
#include "support/CoreChecks.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using zv::test::readAll;
using zv::test::writeAll;

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

Run albuminfo(const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// A trailer field as stored: offsets from the end of the file, trailing blanks removed.
QByteArray storedField(const QString &path, int fromEnd, int width)
{
    const QByteArray bytes = readAll(path);
    return bytes.mid(bytes.size() - fromEnd, width).trimmed();
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

} // namespace

class TestAlbumInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir(m_album.path()).mkdir(QStringLiteral("Bilder")));
        const struct {
            const char *name, *datum, *ort, *namen;
            int bytes;
        } files[] = {{"a.jpg", "2003", "Köln", "Anna", 5000},
                     {"b.jpg", "01.05.2001", "Bonn", "Bert", 100},
                     {"c.mpg", "1.05.2003", "Köln Dom", "Anna, Bert", 3000},
                     {"d.txt", "", "", "", 0}};
        for (const auto &f : files) {
            const QString path = m_album.filePath(QStringLiteral("Bilder/") + QLatin1String(f.name));
            QVERIFY(writeAll(path, QByteArray(f.bytes, 'x')));
            if (*f.ort)
                QCOMPARE(albuminfo({"set", path, "--datum", QString::fromUtf8(f.datum), "--ort", QString::fromUtf8(f.ort),
                                    "--namen", QString::fromUtf8(f.namen)})
                             .exitCode,
                         0);
        }
    }

    // The album window's search and sort from a script.
    void findAndSort_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("place") << QStringList{"find", "--ort", "köln"} << QStringList{"a.jpg", "c.mpg"} << 0;
        QTest::newRow("names and month") << QStringList{"find", "--namen", "bert", "--datum", "5.2003"}
                                         << QStringList{"c.mpg"} << 0;
        QTest::newRow("no box keeps all") << QStringList{"find"} << QStringList{"a.jpg", "b.jpg", "c.mpg", "d.txt"} << 0;
        QTest::newRow("date by caption") << QStringList{"list", "--sort", "Datum"}
                                         << QStringList{"d.txt", "b.jpg", "c.mpg", "a.jpg"} << 0;
        QTest::newRow("size by index, descending") << QStringList{"list", "--sort", "2", "--desc"}
                                                   << QStringList{"a.jpg", "c.mpg", "b.jpg", "d.txt"} << 0;
        QTest::newRow("not a column") << QStringList{"list", "--sort", "Schreibschutz"} << QStringList{} << 2;
    }
    void findAndSort()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, names);
        QFETCH(int, exitCode);
        args.insert(1, m_album.path());
        const Run run = albuminfo(args);
        QCOMPARE(run.exitCode, exitCode);
        QStringList got;
        for (const QString &line : run.lines())
            got << line.section(QLatin1Char('\t'), 0, 0);
        QCOMPARE(args[0] == QLatin1String("find") ? sorted(got) : got, names); // the search keeps the directory's order
    }

    // A second set changes only what it is given, and a read-only file stays read-only.
    void setKeepsWhatIsNotGiven()
    {
        const QString a = m_album.filePath(QStringLiteral("Bilder/a.jpg"));
        QVERIFY(::chmod(QFile::encodeName(a).constData(), 0444) == 0);
        const Run run =
            albuminfo({"set", a, "--anlass", "Kirmes", "--bemerkungen", "Mit € und ß", "--schreibgeschuetzt"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(QFileInfo(a).size(), 5914);
        struct stat st{};
        QVERIFY(::stat(QFile::encodeName(a).constData(), &st) == 0 && (st.st_mode & 0777) == 0444);
        const Run list = albuminfo({"list", m_album.path()});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(sorted(list.lines()).value(0), QStringLiteral("a.jpg\t2\t6\txx.xx.2003\tKöln\tAnna\tKirmes\tMit € und ß\t33"));
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

        const Run list = albuminfo({"list", album.path()});
        QCOMPARE(list.exitCode, 0);
        QVERIFY(!list.out.contains(QChar(0x1B)) && !list.out.contains(QChar(0x7F)) && !list.out.contains(QChar('\r')));
        QCOMPARE(sorted(list.lines()),
                 (QStringList{"a\\tb\\nc\\\\d\\x1B[31m.jpg\t2\t1\txx.xx.xxxx\tZeile 1\\r\\nZeile 2\t\\x1B]0;x\\x07\\x7F\t\t\t32",
                              "caf\\xE9.jpg\t2\t0\t\t\t\t\t\t32"}));

        const Run json = albuminfo({"list", album.path(), "--json"});
        QCOMPARE(json.exitCode, 0);
        QJsonParseError error;
        const QJsonArray entries = QJsonDocument::fromJson(json.out.toUtf8(), &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(entries.size(), 2);
        const int at = entries[0].toObject()[QStringLiteral("ort")].toString().isEmpty() ? 1 : 0;
        const QJsonObject e = entries[at].toObject();
        QCOMPARE(e.keys().size(), 9);
        QCOMPARE(e[QStringLiteral("name")].toString(), tricky.mid(tricky.lastIndexOf(u'/') + 1));
        QCOMPARE(e[QStringLiteral("ort")].toString(), QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(e[QStringLiteral("kb")].toInt(), 1);
        QCOMPARE(e[QStringLiteral("datum")].toString(), QStringLiteral("xx.xx.xxxx"));
        QCOMPARE(entries[1 - at].toObject()[QStringLiteral("name")].toString(), QStringLiteral("café.jpg"));
    }

    // The window's rename, delete and new album from a script, on an album of a.jpg (with its
    // information), b.jpg and c.jpg. NEW stands for a new album's folder.
    void editVerbs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("left"); // in Bilder afterwards
        QTest::addColumn<QString>("error");
        const QStringList all{"a.jpg", "b.jpg", "c.jpg"};
        QTest::newRow("rename") << QStringList{"rename", "a.jpg", "Köln 1.jpg"} << 0
                                << QStringList{"Köln 1.jpg", "b.jpg", "c.jpg"} << "";
        QTest::newRow("rename onto another, letter case aside") << QStringList{"rename", "a.jpg", "B.JPG"} << 1 << all
                                                                << "bereits vorhanden";
        QTest::newRow("rename what is not there") << QStringList{"rename", "x.jpg", "y.jpg"} << 1 << all
                                                  << "Nicht im Album: x.jpg";
        QTest::newRow("delete two") << QStringList{"delete", "c.jpg", "a.jpg"} << 0 << QStringList{"b.jpg"} << "";
        QTest::newRow("a mistyped name deletes nothing") << QStringList{"delete", "a.jpg", "x.jpg"} << 1 << all
                                                         << "Es wurde nichts gelöscht";
        QTest::newRow("new album") << QStringList{"newalbum", "NEW", "c.jpg", "a.jpg"} << 0 << all << "";
        QTest::newRow("new album under a file") << QStringList{"newalbum", "ALBUM/Bilder/b.jpg/neu"} << 1 << all
                                                << "konnte nicht angelegt werden";
    }
    void editVerbs()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, left);
        QFETCH(QString, error);
        QTemporaryDir album, target;
        for (const char *folder : {"Bilder", "Skins/Main", "Hilfe"})
            QVERIFY(QDir(album.path()).mkpath(QLatin1String(folder)));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Skins/Main/Skin.ini")), "[Skin]\n"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Hilfe/Hilfe.html")), "<html/>"));
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/") + QLatin1String(name)), name));
        const QString a = album.filePath(QStringLiteral("Bilder/a.jpg"));
        QCOMPARE(albuminfo({"set", a, "--ort", "Rom"}).exitCode, 0);
        const QByteArray aBytes = readAll(a);
        const QString fresh = target.filePath(QStringLiteral("Urlaub"));
        args.replaceInStrings(QStringLiteral("NEW"), fresh).replaceInStrings(QStringLiteral("ALBUM"), album.path());
        args.insert(1, album.path());

        const Run run = albuminfo(args);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QVERIFY2(run.err.contains(error) && run.err.isEmpty() == error.isEmpty(), qPrintable(run.err));
        QCOMPARE(files(album.filePath(QStringLiteral("Bilder"))), left);
        if (args[0] == QLatin1String("rename") && exitCode == 0) // the information went with the name
            QCOMPARE(readAll(album.filePath(QStringLiteral("Bilder/Köln 1.jpg"))), aBytes);
        if (args[0] == QLatin1String("newalbum") && exitCode == 0) {
            QCOMPARE(run.lines(), QStringList{fresh + QStringLiteral("/zidoverev")});
            QCOMPARE(files(fresh + QStringLiteral("/Bilder")), (QStringList{"a.jpg", "c.jpg"}));
            QCOMPARE(readAll(fresh + QStringLiteral("/Bilder/a.jpg")), aBytes);
            for (const char *file : {"zidoverev", "albuminfo", "Skins/Main/Skin.ini", "Hilfe/Hilfe.html"})
                QVERIFY2(QFile::exists(fresh + u'/' + QLatin1String(file)), file);
        }
    }

    // FILE stands for a 4-byte file. A failure names its cause and leaves FILE as it was; a set
    // stores the date form of what --datum typed.
    void verbs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("readOnly"); // of FILE
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // on standard error, or the date stored
        QTest::newRow("no media folder") << QStringList{"list", "/nirgendwo"} << false << 1 << "Kein Bilderordner";
        QTest::newRow("missing file") << QStringList{"set", "/nirgendwo/a.jpg", "--ort", "x"} << false << 1
                                      << "nicht mehr vorhanden";
        QTest::newRow("read-only file") << QStringList{"set", "FILE", "--ort", "Bonn"} << true << 1 << "schreibgeschützt";
        QTest::newRow("Chinese") << QStringList{"set", "FILE", "--ort", "x", "--namen", "李小龙 und 李"} << false << 1
                                 << "Im Feld Namen stehen Zeichen, die nicht gespeichert werden können: \"李\", \"小\", \"龙\"";
        QTest::newRow("emoji") << QStringList{"set", "FILE", "--anlass", "Party 🎉"} << false << 1 << "\"🎉\"";
        QTest::newRow("unknown option") << QStringList{"set", "FILE", "--farbe", "rot"} << false << 2 << "Aufruf";
        QTest::newRow("option without value") << QStringList{"set", "FILE", "--ort"} << false << 2 << "Aufruf";
        QTest::newRow("list of two folders") << QStringList{"list", "/a", "/b"} << false << 2 << "Aufruf";
        QTest::newRow("no command") << QStringList{} << false << 2 << "Aufruf";
        QTest::newRow("no date, no trailer yet") << QStringList{"set", "FILE", "--ort", "x"} << false << 0 << "xx.xx.xxxx";
        const char *typed[] = {"", "1", "12", "200", "2003", "12003", "5.2003", "05.2003", "1.1.2003", "1.05.2003", "01.05.2003"};
        const char *stored[] = {"xx.xx.xxxx", "xx.xx.xxxx", "xx.xx.xxxx", "xx.xx.xxxx", "xx.xx.2003", "xx.xx.xxxx",
                                "xx.05.2003", "xx.05.2003", "xx.xx.xxxx", "01.05.2003", "01.05.2003"};
        for (int n = 0; n <= 10; ++n)
            QTest::addRow("date of length %d", n) << QStringList{"set", "FILE", "--ort", "x", "--datum", typed[n]} << false
                                                  << 0 << stored[n];
        QTest::newRow("letters are not examined") << QStringList{"set", "FILE", "--datum", "abcd"} << false << 0
                                                  << "xx.xx.abcd";
    }
    void verbs()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, readOnly);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.jpg"));
        QVERIFY(writeAll(file, "JPEG"));
        QVERIFY(!readOnly || ::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        args.replaceInStrings(QStringLiteral("FILE"), file);
        const Run run = albuminfo(args);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QVERIFY(!QFile::exists(QStringLiteral("/nirgendwo/a.jpg")));
        if (exitCode == 0) {
            QCOMPARE(QString::fromLatin1(storedField(file, 650, 10)), expected);
            return;
        }
        QVERIFY2(run.err.contains(expected), qPrintable(run.err));
        QCOMPARE(readAll(file), QByteArray("JPEG"));
    }

    // An album of alt.jpg and 000005.pdf; alt.jpg and neu.jpg are imported.
    void import_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("album");
        QTest::addColumn<QByteArray>("alt"); // what alt.jpg holds afterwards
        QTest::newRow("numbered") << QStringList{"--number", "5"} << QByteArray() << 0
                                  << QStringList{"000005.pdf", "000006.jpg", "000007.jpg", "alt.jpg"} << QByteArray("old");
        QTest::newRow("overwrite none") << QStringList{"--overwrite", "none"} << QByteArray() << 0
                                        << QStringList{"000005.pdf", "alt.jpg", "neu.jpg"} << QByteArray("old");
        QTest::newRow("asked, nein") << QStringList{} << QByteArray("n\n") << 0
                                     << QStringList{"000005.pdf", "alt.jpg", "neu.jpg"} << QByteArray("old");
        QTest::newRow("asked, ja") << QStringList{"--overwrite", "ask"} << QByteArray("vielleicht\nj\n") << 0
                                   << QStringList{"000005.pdf", "alt.jpg", "neu.jpg"} << QByteArray("new");
        QTest::newRow("a vanished file") << QStringList{"--overwrite", "all", "/nirgendwo/weg.jpg"} << QByteArray() << 1
                                         << QStringList{"000005.pdf", "alt.jpg", "neu.jpg"} << QByteArray("new");
        QTest::newRow("bad option") << QStringList{"--overwrite", "immer"} << QByteArray() << 2
                                    << QStringList{"000005.pdf", "alt.jpg"} << QByteArray("old");
    }

    void import()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, input);
        QTemporaryDir album, from;
        QDir(album.path()).mkdir(QStringLiteral("Bilder"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/alt.jpg")), "old"));
        QVERIFY(writeAll(album.filePath(QStringLiteral("Bilder/000005.pdf")), "pdf"));
        QVERIFY(writeAll(from.filePath(QStringLiteral("alt.jpg")), "new"));
        QVERIFY(writeAll(from.filePath(QStringLiteral("neu.jpg")), "neu"));
        const Run run = albuminfo(QStringList{"import", album.path(), from.filePath("alt.jpg"), from.filePath("neu.jpg")} + options,
                                  input);
        QTEST(run.exitCode, "exitCode");
        QTEST(files(album.filePath(QStringLiteral("Bilder"))), "album");
        QTEST(readAll(album.filePath(QStringLiteral("Bilder/alt.jpg"))), "alt");
        if (!input.isEmpty())
            QVERIFY2(run.out.contains(QStringLiteral("Soll die Datei alt.jpg mit alt.jpg ersetzt werden?")), qPrintable(run.out));
        if (run.exitCode == 1)
            QVERIFY2(run.err.contains(QStringLiteral("Die Datei weg.jpg wurde nicht kopiert")), qPrintable(run.err));
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
        QVERIFY(run.out.contains(QStringLiteral("Soll die Datei ") + to.filePath(QStringLiteral("b.mov"))));
        QCOMPARE(readAll(to.filePath(QStringLiteral("b.mov"))), QByteArray("film"));
        QCOMPARE(files(to.path()), (QStringList{"a.jpg", "b.mov"}));
    }

private:
    QTemporaryDir m_album;
};

QTEST_GUILESS_MAIN(TestAlbumInfo)
#include "tst_albuminfo.moc"
