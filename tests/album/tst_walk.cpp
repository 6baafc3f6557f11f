// The main window walked at random under several seeds, and every walk that once broke one of
// its promises replayed step by step.
#include "AlbumWalk.h"
#include "WalkSettings.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace zv::test::walk;

class TestWalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void seeded_data()
    {
        QTest::addColumn<quint32>("seed");
        for (const quint32 seed : seeds(QStringLiteral("1-8")))
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void seeded()
    {
        QFETCH(quint32, seed);
        const Outcome outcome = walk(seed, stepsPerWalk());
        qInfo("seed %u: %lld steps in %.1f s, %.0f steps/s", seed, qlonglong(outcome.walked.size()), outcome.seconds,
              outcome.walked.size() / std::max(outcome.seconds, 0.001));
        if (outcome.failed && qEnvironmentVariableIntValue("ZV_WALK_MINIMISE"))
            qInfo("%s",
                  qPrintable(QStringLiteral("shortest found:\n") + toText(minimise(outcome.walked, outcome.kind()))));
        // Qt Test cuts long failure texts; the whole step list goes out first.
        if (outcome.failed)
            qInfo("%s", qPrintable(outcome.report(QStringLiteral("seed %1").arg(seed))));
        QVERIFY2(!outcome.failed, qPrintable(outcome.report(QStringLiteral("seed %1").arg(seed)).left(400)));
    }

    void replayed_data()
    {
        QTest::addColumn<QString>("file");
        const QDir walks(qEnvironmentVariable("ZV_SOURCE_DIR") + QStringLiteral("/tests/album/walks"));
        const QStringList files = walks.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(walks.path()));
        for (const QString &name : files)
            QTest::newRow(qPrintable(name)) << walks.filePath(name);
    }

    void replayed()
    {
        QFETCH(QString, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QString bad;
        const auto steps = parseSteps(QString::fromUtf8(f.readAll()), &bad);
        QVERIFY2(steps, qPrintable(QStringLiteral("unreadable step: ") + bad));
        const Outcome outcome = replay(*steps);
        if (outcome.failed)
            qInfo("%s", qPrintable(outcome.report(QFileInfo(file).fileName())));
        QVERIFY2(!outcome.failed, qPrintable(outcome.report(QFileInfo(file).fileName()).left(400)));
    }
};

QTEST_MAIN(TestWalk)
#include "tst_walk.moc"
