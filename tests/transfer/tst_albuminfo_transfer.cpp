// albuminfo import and export as a user runs them, and a kill in the middle of a copy.
#include "support/TransferChecks.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using namespace zv::test;

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
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

} // namespace

class TestAlbumInfoTransfer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void import_data();
    void import();
    void exportFiles();
    void killedInTheMiddle();
};

void TestAlbumInfoTransfer::import_data()
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

void TestAlbumInfoTransfer::import()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, input);
    QTemporaryDir album, from;
    QDir(album.path()).mkdir(QStringLiteral("Bilder"));
    QVERIFY(writeFile(album.filePath(QStringLiteral("Bilder/alt.jpg")), "old"));
    QVERIFY(writeFile(album.filePath(QStringLiteral("Bilder/000005.pdf")), "pdf"));
    QVERIFY(writeFile(from.filePath(QStringLiteral("alt.jpg")), "new"));
    QVERIFY(writeFile(from.filePath(QStringLiteral("neu.jpg")), "neu"));
    const Run run = albuminfo(QStringList{"import", album.path(), from.filePath("alt.jpg"), from.filePath("neu.jpg")} + options,
                              input);
    QTEST(run.exitCode, "exitCode");
    QTEST(folderNames(album.filePath(QStringLiteral("Bilder"))), "album");
    QTEST(readFile(album.filePath(QStringLiteral("Bilder/alt.jpg"))), "alt");
    if (!input.isEmpty())
        QVERIFY2(run.out.contains(QStringLiteral("Soll die Datei alt.jpg mit alt.jpg ersetzt werden?")), qPrintable(run.out));
    if (run.exitCode == 1)
        QVERIFY2(run.err.contains(QStringLiteral("Die Datei weg.jpg wurde nicht kopiert")), qPrintable(run.err));
}

void TestAlbumInfoTransfer::exportFiles()
{
    QTemporaryDir album, to;
    QDir(album.path()).mkdir(QStringLiteral("Bilder"));
    QByteArray withTrailer(5000, 'x');
    withTrailer.replace(5000 - 914, 8, "FileInfo");
    QVERIFY(writeFile(album.filePath(QStringLiteral("Bilder/a.jpg")), withTrailer));
    QVERIFY(writeFile(album.filePath(QStringLiteral("Bilder/b.mov")), "film"));
    QVERIFY(writeFile(to.filePath(QStringLiteral("b.mov")), "theirs"));
    Run run = albuminfo({"export", album.path(), to.path(), "a.jpg", "b.mov", "--overwrite", "none"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readFile(to.filePath(QStringLiteral("a.jpg"))), withTrailer);
    QCOMPARE(readFile(to.filePath(QStringLiteral("b.mov"))), QByteArray("theirs"));
    run = albuminfo({"export", album.path(), to.path(), "fehlt.jpg", "b.mov"}, "j\n");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("fehlt.jpg")), qPrintable(run.err));
    QVERIFY(run.out.contains(QStringLiteral("Soll die Datei ") + to.filePath(QStringLiteral("b.mov"))));
    QCOMPARE(readFile(to.filePath(QStringLiteral("b.mov"))), QByteArray("film"));
    QCOMPARE(folderNames(to.path()), (QStringList{"a.jpg", "b.mov"}));
}

void TestAlbumInfoTransfer::killedInTheMiddle()
{
    QTemporaryDir album, from;
    const QString media = album.filePath(QStringLiteral("Bilder"));
    QDir(album.path()).mkdir(QStringLiteral("Bilder"));
    QVERIFY(writeFile(media + QStringLiteral("/gross.avi"), "the old film"));
    {
        QFile big(from.filePath(QStringLiteral("gross.avi")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(qint64(1) << 30)); // read as zeros, written out in full
    }
    QProcess p;
    p.start(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"),
            {"import", album.path(), from.filePath(QStringLiteral("gross.avi")), "--overwrite", "all"});
    QVERIFY(p.waitForStarted());
    // Kill once the copy is under way.
    QElapsedTimer clock;
    clock.start();
    QString temp;
    while (temp.isEmpty() && clock.elapsed() < 20000 && p.state() == QProcess::Running) {
        for (const QString &n : folderNames(media))
            if (n.startsWith(QLatin1String(".zvcopy-")) && QFileInfo(media + QLatin1Char('/') + n).size() > 0)
                temp = n;
        ::usleep(1000);
    }
    QVERIFY2(!temp.isEmpty(), "the copy ended before it could be killed");
    ::kill(pid_t(p.processId()), SIGKILL);
    QVERIFY(p.waitForFinished());
    QCOMPARE(readFile(media + QStringLiteral("/gross.avi")), QByteArray("the old film"));
    QCOMPARE(folderNames(media), (QStringList{temp, "gross.avi"}));

    // The next import clears what the killed one left.
    QVERIFY(writeFile(from.filePath(QStringLiteral("klein.jpg")), "k"));
    QCOMPARE(albuminfo({"import", album.path(), from.filePath(QStringLiteral("klein.jpg"))}).exitCode, 0);
    QCOMPARE(folderNames(media), (QStringList{"gross.avi", "klein.jpg"}));
}

QTEST_GUILESS_MAIN(TestAlbumInfoTransfer)
#include "tst_albuminfo_transfer.moc"
