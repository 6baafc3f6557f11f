#pragma once
// A seeded random walk through the real main window. Steps are drawn from what a user does and
// are concrete once drawn, so a walk replays without the generator; after every step the
// window's promises are checked against a model kept beside it and against the files on disk.

#include <QList>
#include <QString>

#include <optional>

namespace zv::test::walk {

struct Step {
    QString action; // the name of its row in the step table
    int a = 0;
    int b = 0;
    quint32 answers = 0; // bit i answers the step's i-th Yes/No question: 1 Yes, 0 No
    QString text;

    // One line, "Action a b answers text", the text percent-encoded ("-" when empty).
    QString toText() const;
    static std::optional<Step> fromText(const QString &line);
};

QString toText(const QList<Step> &steps);
// Lines starting with '#' and blank lines are comments; nullopt names the first bad line.
std::optional<QList<Step>> parseSteps(const QString &text, QString *badLine = nullptr);

struct Outcome {
    bool failed = false;
    QString invariant; // short tag of the first broken promise, e.g. "(b) bytes"
    QString message;
    QList<Step> walked; // every step performed, the failing one last
    double seconds = 0;

    QString report(const QString &origin) const;
    // The broken promise and the step that broke it: walks with the same kind found the same fault.
    QString kind() const
    {
        return walked.isEmpty() ? invariant : invariant + QStringLiteral(" on ") + walked.last().action;
    }
};

// Draws and performs up to `steps` steps; stops at the first broken promise.
Outcome walk(quint32 seed, int steps);
Outcome replay(const QList<Step> &steps);
// A shorter list breaking the same promise: whole chunks, then single steps, are left out.
QList<Step> minimise(const QList<Step> &steps, const QString &kind);

} // namespace zv::test::walk
