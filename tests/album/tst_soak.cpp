// Two companion processes and the window on one album at once, for ZV_SOAK_SECONDS (15 by
// default): imports, sets, renames, deletes and exports from the companions, clicks and saves
// in the window. Afterwards every file is there once with a whole trailer over unchanged media
// bytes, and list, album and disk agree.
#include "model/AlbumLoader.h"
#include "operations/FolderFollower.h"
#include "support/AlbumWindow.h"
#include "support/CoreChecks.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

using namespace zv;
using namespace zv::test;

namespace {

constexpr int kSources = 6;

// Media bytes of source i: each source its own, so a copy shows which file it came from.
QByteArray payload(int i)
{
    QByteArray bytes = mediaBytes(2000 + 700 * i);
    bytes[0] = char('A' + i);
    return bytes;
}

QStringList mediaNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// One companion process after another, as a script would run them.
struct Lane {
    QProcess process;
    QString verb;
    QMap<QString, int> done; // verb -> runs
    int failed = 0; // runs that ended with a reason (a file another writer took away first)
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoCompanionsAndTheWindow();
};

void TestSoak::twoCompanionsAndTheWindow()
{
    WindowFixture fx;
    QTemporaryDir sources, exported;
    for (int i = 0; i < kSources; ++i) {
        const QString path = sources.filePath(QStringLiteral("q%1.jpg").arg(i));
        QVERIFY(writeAll(path, payload(i)));
        PictureInfo info;
        info.ort = QStringLiteral("Quelle %1").arg(i);
        QVERIFY(!WritePictureInfo(path, info));
        QVERIFY(QFile::copy(path, fx.media(QStringLiteral("start%1.jpg").arg(i))));
    }
    const auto window = shownWindow(fx);
    QVERIFY(window);
    FolderFollower follower(AlbumContext{AlbumPaths{fx.path()}, fx.album, fx.state, nullptr});
    QCOMPARE(follower.start(), 0);

    const quint32 seed = quint32(qEnvironmentVariableIntValue("ZV_SOAK_SEED")) + 1;
    QRandomGenerator random(seed);
    const QString program = qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo");
    const QString media = fx.media({});
    int renamed = 0;
    const auto startNext = [&](Lane &lane, int laneNumber) {
        const QStringList present = mediaNames(media);
        const QString some = present.isEmpty() ? QStringLiteral("fehlt.jpg") : present[random.bounded(present.size())];
        const QString source = sources.filePath(QStringLiteral("q%1.jpg").arg(random.bounded(kSources)));
        QStringList args;
        switch (random.bounded(present.size() > 12 ? 6 : 3)) {
        case 0:
            args = {"import", fx.path(), source, "--number", QString::number(1 + random.bounded(40))};
            break;
        case 1:
            args = {"import", fx.path(), source, "--overwrite", "none"};
            break;
        case 2:
            args = {"set", media + some, "--ort", QStringLiteral("Ort %1").arg(random.bounded(1000))};
            break;
        case 3:
            args = {"rename", fx.path(), some, QStringLiteral("r%1_%2.jpg").arg(laneNumber).arg(++renamed)};
            break;
        case 4:
            args = {"delete", fx.path(), some};
            break;
        default:
            args = {"export", fx.path(), exported.path(), some, "--overwrite", "all"};
            break;
        }
        lane.verb = args[0];
        lane.process.start(program, args);
        lane.process.closeWriteChannel();
    };

    Lane lanes[2];
    int saves = 0, clicks = 0;
    QElapsedTimer running;
    running.start();
    const qint64 duration =
        1000
        * qint64(qEnvironmentVariableIntValue("ZV_SOAK_SECONDS") > 0 ? qEnvironmentVariableIntValue("ZV_SOAK_SECONDS")
                                                                     : 15);
    bool stopping = false;
    while (true) {
        stopping = running.elapsed() >= duration;
        bool busy = false;
        for (int l = 0; l < 2; ++l) {
            Lane &lane = lanes[l];
            if (lane.process.state() != QProcess::NotRunning) {
                busy = true;
                continue;
            }
            if (!lane.verb.isEmpty()) {
                // A companion may fail for a reason (the file was taken away first), never crash.
                QCOMPARE(lane.process.exitStatus(), QProcess::NormalExit);
                QVERIFY2(lane.process.exitCode() <= 1, qPrintable(lane.process.readAllStandardError()));
                ++lane.done[lane.verb];
                lane.failed += lane.process.exitCode();
                lane.verb.clear();
            }
            if (!stopping) {
                startNext(lane, l);
                busy = true;
            }
        }
        if (stopping && !busy)
            break;
        if (!stopping && fx.list.rowCount() > 0 && random.bounded(3) == 0) {
            // The user clicks a file and sometimes saves a place for it.
            fx.clickRow(*window, random.bounded(fx.list.rowCount()));
            ++clicks;
            if (random.bounded(2) == 0) {
                auto *ort = child<QLineEdit>(*window, "txtOrt");
                ort->setFocus();
                ort->selectAll();
                QTest::keyClicks(ort, QStringLiteral("Fenster %1").arg(random.bounded(1000)));
                click(*window, "cmdAktual");
                ++saves;
            }
        }
        QTest::qWait(10);
    }

    // The album catches up with the last writes.
    const auto albumNames = [&] {
        QStringList names;
        for (std::size_t i = 0; i < fx.album.size(); ++i)
            names << fx.album.at(i).name;
        names.sort();
        return names;
    };
    QTRY_COMPARE_WITH_TIMEOUT(albumNames(), mediaNames(media), 10000);
    // Names can agree while the last rewrites still wait to be gathered: wait for the texts too.
    const auto textsAgree = [&] {
        for (const QString &name : mediaNames(media)) {
            const AlbumEntry *entry = fx.album.find(name);
            if (!entry || entry->info.ort != trimmed(ReadPictureInfo(fx.media(name)).info).ort)
                return false;
        }
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(textsAgree(), 10000);

    QSet<QByteArray> payloads;
    for (int i = 0; i < kSources; ++i)
        payloads.insert(payload(i));
    const auto whole = [&](const QString &path) {
        const QByteArray bytes = readAll(path);
        return bytes.size() > PictureInfo::TrailerSize
               && payloads.contains(bytes.left(bytes.size() - PictureInfo::TrailerSize))
               && bytes.mid(bytes.size() - PictureInfo::TrailerSize).startsWith("FileInfo");
    };
    const QStringList onDisk = mediaNames(media);
    for (const QString &name : onDisk) {
        QVERIFY2(!name.startsWith(QLatin1Char('.')), qPrintable(name)); // no copy left half done
        QVERIFY2(whole(fx.media(name)), qPrintable(name));
        const AlbumEntry *entry = fx.album.find(name);
        QVERIFY(entry);
        QCOMPARE(entry->info.ort, trimmed(ReadPictureInfo(fx.media(name)).info).ort);
        const int row = fx.list.rowOf(name);
        QVERIFY2(row >= 0, qPrintable(name));
        QCOMPARE(fx.list.text(row, AlbumListModel::Ort), entry->info.ort);
    }
    QCOMPARE(int(fx.album.size()), int(onDisk.size()));
    QCOMPARE(fx.list.rowCount(), int(onDisk.size()));
    for (const QString &name : mediaNames(exported.path()))
        QVERIFY2(!name.startsWith(QLatin1Char('.')) && whole(exported.filePath(name)), qPrintable(name));

    QStringList counts;
    int operations = saves;
    for (const Lane &lane : lanes)
        for (auto it = lane.done.begin(); it != lane.done.end(); ++it) {
            counts << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
            operations += it.value();
        }
    qInfo().noquote() << QStringLiteral("soak: %1 s, seed %2: %3 operations (%4; %5 saves and %6 clicks in the "
                                        "window), %7 files at the end")
                             .arg(duration / 1000)
                             .arg(seed - 1)
                             .arg(operations)
                             .arg(counts.join(QStringLiteral(", ")))
                             .arg(saves)
                             .arg(clicks)
                             .arg(onDisk.size());
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
