#pragma once

#include "OverwriteQuestion.h"

#include <QString>

namespace zv {

// The remembered answer of one import or export run. "ja" and "na" answer for the rest of the
// run; "j" and "n" only for one file, so the next existing file is asked about again.
class OverwriteDecision {
public:
    // True when the existing file is to be replaced; asks only when no answer covers it.
    bool replace(const OverwriteFiles &files, OverwriteQuestion &question);
    const QString &remembered() const { return m_remembered; }

private:
    QString m_remembered = QStringLiteral("nix");
};

} // namespace zv
