#pragma once

#include "OverwriteQuestion.h"

#include <cstdio>

namespace zv {

// One answer for every file: "ja" replaces all, "na" skips all.
class FixedAnswer final : public OverwriteQuestion {
public:
    explicit FixedAnswer(QString answer)
        : m_answer(std::move(answer))
    { }
    QString ReqOverWr(const OverwriteFiles &, const QString &) override { return m_answer; }

private:
    QString m_answer;
};

// Asks on a terminal in German until one of the four codes is typed; end of input skips.
class TerminalQuestion final : public OverwriteQuestion {
public:
    TerminalQuestion(FILE *in, FILE *out)
        : m_in(in)
        , m_out(out)
    { }
    QString ReqOverWr(const OverwriteFiles &files, const QString &titel) override;

private:
    FILE *m_in;
    FILE *m_out;
};

} // namespace zv
