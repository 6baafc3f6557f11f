// The companion runs where there is no desktop: over ssh, in a cron job, on a server holding the
// album. Its layers link QtCore only, and these checks keep it so.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCompanion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linksNoDesktopLibrary_data();
    void linksNoDesktopLibrary();
    void listsWithoutDisplay_data();
    void listsWithoutDisplay();

private:
    static QString program() { return qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"); }
};

void TestCompanion::linksNoDesktopLibrary_data()
{
    QTest::addColumn<QString>("library");
    QTest::newRow("widgets") << QStringLiteral("libQt6Widgets");
    QTest::newRow("gui") << QStringLiteral("libQt6Gui");
    QTest::newRow("opengl") << QStringLiteral("libQt6OpenGL");
    QTest::newRow("mpv") << QStringLiteral("libmpv");
}

void TestCompanion::linksNoDesktopLibrary()
{
    QFETCH(QString, library);
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {program()});
    QVERIFY2(ldd.waitForFinished(30000), "ldd did not finish");
    QCOMPARE(ldd.exitCode(), 0);
    const QString loaded = QString::fromUtf8(ldd.readAllStandardOutput());
    QVERIFY2(loaded.contains(QStringLiteral("libQt6Core")), qPrintable(loaded)); // ldd saw the program
    QVERIFY2(!loaded.contains(library), qPrintable(loaded));
}

void TestCompanion::listsWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("album order") << QStringList{} << QStringList{"b.jpg", "a.jpg"};
    QTest::newRow("sorted through the list") << QStringList{"--sort", "Dateiname"} << QStringList{"a.jpg", "b.jpg"};
}

void TestCompanion::listsWithoutDisplay()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, names);
    QTemporaryDir album;
    QVERIFY(QDir(album.path()).mkdir(QStringLiteral("Bilder")));
    for (const QString &name : {QStringLiteral("b.jpg"), QStringLiteral("a.jpg")}) {
        QFile file(album.filePath(QStringLiteral("Bilder/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("x") == 1);
    }
    // Directory order is the file system's; "album order" compares as a set.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(program(), QStringList{QStringLiteral("list"), album.path()} + options);
    QVERIFY(run.waitForFinished(30000));
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, run.readAllStandardError().constData());
    QStringList listed;
    for (const QString &line :
         QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        listed << line.section(QLatin1Char('\t'), 0, 0);
    if (options.isEmpty()) {
        listed.sort();
        names.sort();
    }
    QCOMPARE(listed, names);
}

QTEST_GUILESS_MAIN(TestCompanion)
#include "tst_companion.moc"
