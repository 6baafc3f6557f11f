#include "OverwriteDecision.h"

#include "OverwriteQuestion.h"

namespace zv {

bool OverwriteDecision::replace(const OverwriteFiles &files, OverwriteQuestion &question)
{
    if (m_remembered == QLatin1String("nix") || m_remembered == QLatin1String("j")
        || m_remembered == QLatin1String("n")) {
        m_remembered = question.ReqOverWr(files, kOverwriteTitle);
        return m_remembered != QLatin1String("n") && m_remembered != QLatin1String("na");
    }
    return m_remembered != QLatin1String("na");
}

} // namespace zv
