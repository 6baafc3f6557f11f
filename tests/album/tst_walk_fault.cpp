// The walk against an album library that saves into the selected row instead of the shown file:
// it must notice within a bounded number of steps, or it would not notice the real thing either.
#include "AlbumWalk.h"
#include "WalkSettings.h"

#include <QTest>

using namespace zv::test::walk;

class TestWalkFault : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savingIntoTheSelectedRowIsFound()
    {
        constexpr int kBudget = 1500; // steps over all seeds
        int spent = 0;
        QStringList otherBreaks;
        for (quint32 seed = 1; spent < kBudget; ++seed) {
            const Outcome outcome = walk(seed, std::min(stepsPerWalk() * 2, kBudget - spent));
            spent += int(outcome.walked.size());
            // Another broken promise ends a walk early; only a write into the wrong file counts.
            const bool wrongFile = outcome.invariant == QLatin1String("(b) bytes")
                                   || outcome.invariant == QLatin1String("(b) saved elsewhere");
            if (outcome.failed && wrongFile) {
                qInfo("found after %d steps (seed %u, step %lld of its walk): %s", spent, seed,
                      qlonglong(outcome.walked.size()), qPrintable(outcome.message));
                return;
            }
            if (outcome.failed)
                otherBreaks << outcome.invariant;
        }
        QFAIL(qPrintable(QStringLiteral("no write into a file other than the shown one in %1 steps; other breaks: %2")
                             .arg(spent)
                             .arg(otherBreaks.join(QStringLiteral(", ")))));
    }
};

QTEST_MAIN(TestWalkFault)
#include "tst_walk_fault.moc"
