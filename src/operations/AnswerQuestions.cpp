#include "AnswerQuestions.h"

namespace zv {

QString TerminalQuestion::ReqOverWr(const OverwriteFiles &files, const QString &titel)
{
    const QString question = titel + QLatin1Char(' ') + overwriteQuestionText(files).lines().join(QLatin1Char('\n'))
                             + QStringLiteral("\n[j = ja, ja = ja alle, n = nein, na = nein alle] ");
    for (;;) {
        std::fputs(qPrintable(question), m_out);
        std::fflush(m_out);
        char line[64];
        if (!std::fgets(line, sizeof line, m_in))
            return QStringLiteral("n");
        const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
        if (answer == QLatin1String("j") || answer == QLatin1String("ja") || answer == QLatin1String("n")
            || answer == QLatin1String("na"))
            return answer;
    }
}

} // namespace zv
