#pragma once

#include <QString>

namespace zv {

// Whether an existing file is to be replaced: "j" (yes), "ja" (yes to all), "n" (no) or
// "na" (no to all). The window asks a person; the companion asks on the terminal or answers
// for everything at once.
class OverwriteQuestion {
public:
    virtual ~OverwriteQuestion() = default;
    virtual QString ReqOverWr(const QString &DateiName, const QString &titel) = 0;
};

inline const QString kOverwriteTitle = QStringLiteral("überschreiben?");

// "Soll die Datei X mit X ersetzt werden?": the existing and the incoming file share the name.
inline QString overwriteQuestionText(const QString &DateiName)
{
    return QStringLiteral("Soll die Datei ") + DateiName + QStringLiteral(" mit ") + DateiName
           + QStringLiteral(" ersetzt werden?");
}

} // namespace zv
