// albuminfo as a user runs it: a real process on a generated album.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run albuminfo(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args);
    p.waitForFinished(10000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QByteArray &nativePath, const QByteArray &bytes)
{
    const int fd = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    ::close(fd);
    return ok;
}

// A trailer field as stored: offsets from the end of the file, trailing blanks removed.
QByteArray storedField(const QString &path, int fromEnd, int width)
{
    const QByteArray bytes = readAll(path);
    return bytes.mid(bytes.size() - fromEnd, width).trimmed();
}

} // namespace

class TestAlbumInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setKeepsWhatIsNotGiven();
    void dateForm_data();
    void dateForm();
    void listEscapesAndJson();
    void readOnly();
    void failures_data();
    void failures();
};

void TestAlbumInfo::setKeepsWhatIsNotGiven()
{
    QTemporaryDir album;
    QDir(album.path()).mkpath(QStringLiteral("Bilder/Unterordner"));
    const QString picture = album.filePath(QStringLiteral("Bilder/Fest.JPG"));
    QVERIFY(writeFile(QFile::encodeName(picture), QByteArray(2000, 'j')));
    QVERIFY(writeFile(QFile::encodeName(album.filePath(QStringLiteral("Bilder/notiz"))), {}));
    QVERIFY(QFile::setPermissions(album.filePath(QStringLiteral("Bilder/notiz")), QFile::ReadOwner));

    QCOMPARE(albuminfo({"set", picture, "--ort", "Köln", "--datum", "xx.xx.2001", "--bemerkungen", "Mit € und ß"}).exitCode, 0);
    QCOMPARE(albuminfo({"set", picture, "--namen", "Eva", "--anlass", "Kirmes", "--bemerkungen", ""}).exitCode, 0);
    QCOMPARE(QFileInfo(picture).size(), 2914);

    const Run list = albuminfo({"list", album.path()});
    QCOMPARE(list.exitCode, 0);
    QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, (QStringList{"Fest.JPG\t2\t3\txx.xx.2001\tKöln\tEva\tKirmes\t\t32", "notiz\t3\t0\t\t\t\t\t\t33"}));
}

void TestAlbumInfo::dateForm_data()
{
    QTest::addColumn<QStringList>("datum"); // the --datum option, or none
    QTest::addColumn<QString>("stored");
    QTest::newRow("not given, no trailer yet") << QStringList() << "xx.xx.xxxx";
    const char *typed[] = {"", "1", "12", "200", "2003", "12003", "5.2003", "05.2003", "1.1.2003", "1.05.2003", "01.05.2003"};
    const char *stored[] = {"xx.xx.xxxx", "xx.xx.xxxx", "xx.xx.xxxx", "xx.xx.xxxx", "xx.xx.2003", "xx.xx.xxxx",
                            "xx.05.2003", "xx.05.2003", "xx.xx.xxxx", "01.05.2003", "01.05.2003"};
    for (int n = 0; n <= 10; ++n)
        QTest::addRow("length %d", n) << QStringList{"--datum", typed[n]} << stored[n];
    QTest::newRow("letters are not examined") << QStringList{"--datum", "abcd"} << "xx.xx.abcd";
}

void TestAlbumInfo::dateForm()
{
    QFETCH(QStringList, datum);
    QFETCH(QString, stored);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.jpg"));
    QVERIFY(writeFile(QFile::encodeName(file), "JPEG"));
    const Run run = albuminfo(QStringList{"set", file, "--ort", "x"} + datum);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(QString::fromLatin1(storedField(file, 650, 10)), stored);
}

void TestAlbumInfo::listEscapesAndJson()
{
    QTemporaryDir album;
    QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
    const QByteArray folder = QFile::encodeName(album.filePath(QStringLiteral("Bilder/")));
    QVERIFY(writeFile(folder + "a\tb\nc\\d\x1b[31m.jpg", "x"));
    QVERIFY(writeFile(folder + "caf\xe9.jpg", "x")); // Latin-1, not UTF-8
    const QString tricky = QString::fromUtf8(folder + "a\tb\nc\\d\x1b[31m.jpg");
    QCOMPARE(albuminfo({"set", tricky, "--ort", "Zeile 1\r\nZeile 2", "--namen", "\x1b]0;x\x07\x7f"}).exitCode, 0);

    const Run list = albuminfo({"list", album.path()});
    QCOMPARE(list.exitCode, 0);
    QVERIFY(!list.out.contains(QChar(0x1B)) && !list.out.contains(QChar(0x7F)) && !list.out.contains(QChar('\r')));
    QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, (QStringList{"a\\tb\\nc\\\\d\\x1B[31m.jpg\t2\t1\txx.xx.xxxx\tZeile 1\\r\\nZeile 2\t\\x1B]0;x\\x07\\x7F\t\t\t32",
                                 "caf\\xE9.jpg\t2\t0\t\t\t\t\t\t32"}));

    const Run json = albuminfo({"list", album.path(), "--json"});
    QCOMPARE(json.exitCode, 0);
    QJsonParseError error;
    const QJsonArray entries = QJsonDocument::fromJson(json.out.toUtf8(), &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(entries.size(), 2);
    for (const QJsonValue &value : entries) {
        const QJsonObject e = value.toObject();
        QCOMPARE(e.keys().size(), 9);
        if (e[QStringLiteral("name")].toString() == QStringLiteral("café.jpg"))
            continue;
        QCOMPARE(e[QStringLiteral("name")].toString(), QString::fromUtf8("a\tb\nc\\d\x1b[31m.jpg"));
        QCOMPARE(e[QStringLiteral("ort")].toString(), QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(e[QStringLiteral("kb")].toInt(), 1);
        QCOMPARE(e[QStringLiteral("datum")].toString(), QStringLiteral("xx.xx.xxxx"));
    }
}

void TestAlbumInfo::readOnly()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fest.jpg"));
    QVERIFY(writeFile(QFile::encodeName(file), "JPEG"));
    QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
    const Run refused = albuminfo({"set", file, "--ort", "Bonn"});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("schreibgeschützt")), qPrintable(refused.err));
    QCOMPARE(readAll(file), QByteArray("JPEG"));

    QCOMPARE(albuminfo({"set", file, "--ort", "Bonn", "--schreibgeschuetzt"}).exitCode, 0);
    QCOMPARE(storedField(file, 778, 128), QByteArray("Bonn"));
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(file).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 0777, 0444u);
}

void TestAlbumInfo::failures_data()
{
    QTest::addColumn<QStringList>("args"); // FILE stands for a 4-byte file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no media folder") << QStringList{"list", "/nirgendwo"} << 1 << "Kein Bilderordner";
    QTest::newRow("missing file") << QStringList{"set", "/nirgendwo/a.jpg", "--ort", "x"} << 1 << "nicht mehr vorhanden";
    QTest::newRow("Chinese") << QStringList{"set", "FILE", "--ort", "x", "--namen", "李小龙 und 李"} << 1
                             << "Im Feld Namen stehen Zeichen, die nicht gespeichert werden können: \"李\", \"小\", \"龙\"";
    QTest::newRow("emoji") << QStringList{"set", "FILE", "--anlass", "Party 🎉"} << 1 << "\"🎉\"";
    QTest::newRow("unknown option") << QStringList{"set", "FILE", "--farbe", "rot"} << 2 << "Aufruf";
    QTest::newRow("option without value") << QStringList{"set", "FILE", "--ort"} << 2 << "Aufruf";
    QTest::newRow("list of two folders") << QStringList{"list", "/a", "/b"} << 2 << "Aufruf";
    QTest::newRow("no command") << QStringList{} << 2 << "Aufruf";
}

void TestAlbumInfo::failures()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.jpg"));
    QVERIFY(writeFile(QFile::encodeName(file), "JPEG"));
    args.replaceInStrings(QStringLiteral("FILE"), file);
    const Run run = albuminfo(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(readAll(file), QByteArray("JPEG"));
    QVERIFY(!QFile::exists(QStringLiteral("/nirgendwo/a.jpg")));
}

QTEST_GUILESS_MAIN(TestAlbumInfo)
#include "tst_albuminfo.moc"
