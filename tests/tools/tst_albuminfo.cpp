// albuminfo as a user runs it: a real process on a generated album.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

class TestAlbumInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setThenList();
    void failures_data();
    void failures();
};

void TestAlbumInfo::setThenList()
{
    QTemporaryDir album;
    QDir(album.path()).mkpath(QStringLiteral("Bilder/Unterordner"));
    const QString picture = album.filePath(QStringLiteral("Bilder/Fest.JPG"));
    QFile f(picture);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2000, 'j'));
    f.close();
    QFile g(album.filePath(QStringLiteral("Bilder/notiz")));
    QVERIFY(g.open(QIODevice::WriteOnly));
    g.close();
    QVERIFY(QFile::setPermissions(g.fileName(), QFile::ReadOwner));

    Run set = albuminfo({"set", picture, "--ort", "Köln", "--datum", "xx.xx.2001", "--bemerkungen", "Mit € und ß"});
    QCOMPARE(set.exitCode, 0);
    // Fields not given are written empty: a second set replaces the whole trailer.
    set = albuminfo({"set", picture, "--ort", "Köln", "--namen", "Eva", "--anlass", "Kirmes"});
    QCOMPARE(set.exitCode, 0);
    QCOMPARE(QFileInfo(picture).size(), 2914);

    const Run list = albuminfo({"list", album.path()});
    QCOMPARE(list.exitCode, 0);
    QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, (QStringList{"Fest.JPG\t2\t3\t\tKöln\tEva\tKirmes\t\t32", "notiz\t3\t0\t\t\t\t\t\t33"}));
}

void TestAlbumInfo::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no media folder") << QStringList{"list", "/nirgendwo"} << "Kein Bilderordner";
    QTest::newRow("missing file") << QStringList{"set", "/nirgendwo/a.jpg", "--ort", "x"} << "nicht mehr vorhanden";
    QTest::newRow("unknown option") << QStringList{"set", "/tmp/x", "--farbe", "rot"} << "Aufruf";
    QTest::newRow("no command") << QStringList{} << "Aufruf";
}

void TestAlbumInfo::failures()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run run = albuminfo(args);
    QVERIFY(run.exitCode != 0);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(QStringLiteral("/nirgendwo/a.jpg")));
}

QTEST_GUILESS_MAIN(TestAlbumInfo)
#include "tst_albuminfo.moc"
