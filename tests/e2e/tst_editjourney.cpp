// A user edits the album in the real program: a date typed and saved, and nothing else touched.
#include "support/ProgramRun.h"
#include "support/XDo.h"

#include <QImage>
#include <QTest>

using namespace zv::test;

class TestEditJourney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typedDateIsSavedIntoTheSecondFile();
};

void TestEditJourney::typedDateIsSavedIntoTheSecondFile()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(QFile::copy(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"),
                        run.album.filePath(QStringLiteral("albuminfo"))));
    for (const char *name : {"eins.jpg", "zwei.jpg", "drei.jpg"}) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(run.media(QString::fromLatin1(name))));
    }
    const QStringList order = QDir(run.album.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files, QDir::Unsorted);
    QMap<QString, QByteArray> before;
    for (const QString &name : order) {
        QFile f(run.media(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        before[name] = f.readAll();
    }
    QVERIFY(run.start());
    const QRect window = awaitMainWindow();
    QVERIFY(!window.isEmpty());

    QVERIFY(pressKeys({QStringLiteral("Down")})); // the list has the focus: the second row
    QVERIFY(clickAt(window.topLeft() + QPoint(540, 90))); // txtDatum
    QVERIFY(pressKeys({QStringLiteral("ctrl+a")}));
    QVERIFY(typeText(QStringLiteral("2003")));
    QVERIFY(clickAt(window.topLeft() + QPoint(94, 244))); // "Speichern"
    QTest::qWait(500);
    QVERIFY(clickAt(window.topLeft() + QPoint(776, 23))); // cmdX
    QVERIFY(run.process.waitForFinished(10000));

    QProcess info;
    info.start(run.album.filePath(QStringLiteral("albuminfo")), {QStringLiteral("list"), run.album.path()});
    QVERIFY(info.waitForFinished());
    QMap<QString, QString> dates;
    for (const QByteArray &line : info.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            dates[QString::fromUtf8(line.split('\t').value(0))] = QString::fromUtf8(line.split('\t').value(3));
    QCOMPARE(dates.value(order[1]), QStringLiteral("xx.xx.2003"));
    for (const QString &name : {order[0], order[2]}) {
        QFile f(run.media(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before[name]);
    }
}

QTEST_MAIN(TestEditJourney)
#include "tst_editjourney.moc"
