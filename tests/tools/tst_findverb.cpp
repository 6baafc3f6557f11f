// albuminfo find and list --sort as processes: the album window's search and sort from a script.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList run(const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args);
    p.waitForFinished(10000);
    if (exitCode)
        *exitCode = p.exitCode();
    QStringList names;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            names << QString::fromUtf8(line.split('\t').value(0));
    return names;
}

} // namespace

class TestFindVerb : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void answers_data();
    void answers();

private:
    QTemporaryDir m_album;
};

void TestFindVerb::initTestCase()
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
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(f.bytes, 'x'));
        file.close();
        if (*f.ort)
            QCOMPARE(run({"set", path, "--datum", QString::fromUtf8(f.datum), "--ort", QString::fromUtf8(f.ort),
                          "--namen", QString::fromUtf8(f.namen)}),
                     QStringList());
    }
}

void TestFindVerb::answers_data()
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

void TestFindVerb::answers()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, names);
    QFETCH(int, exitCode);
    args.insert(1, m_album.path());
    int code = -1;
    QStringList got = run(args, &code);
    QCOMPARE(code, exitCode);
    if (args[0] == QLatin1String("find"))
        got.sort(); // the search keeps the directory's order
    QCOMPARE(got, names);
}

QTEST_GUILESS_MAIN(TestFindVerb)
#include "tst_findverb.moc"
