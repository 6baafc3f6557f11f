#pragma once

#include <QString>
#include <QStringList>

namespace zv {

// The two files a question to replace is about: full paths of the one that is there and the
// one that would take its place.
struct OverwriteFiles {
    QString existing;
    QString incoming;
};

// Whether an existing file is to be replaced: "j" (yes), "ja" (yes to all), "n" (no) or
// "na" (no to all). The window asks a person; the companion asks on the terminal or answers
// for everything at once.
class OverwriteQuestion {
public:
    virtual ~OverwriteQuestion() = default;
    virtual QString ReqOverWr(const OverwriteFiles &files, const QString &titel) = 0;
};

inline const QString kOverwriteTitle = QStringLiteral("überschreiben?");

// "Soll die Datei X mit X ersetzt werden?" with the bare name in both places, then for each file
// a heading, its folder on a line of its own and its size and time, as file managers show them,
// so the user can tell them apart. A file that cannot be looked at gets no size line.
struct OverwriteQuestionText {
    QString sentence;
    struct File {
        QString heading; // "Vorhanden in:", "Neu aus:"
        QString folder;
        QString details; // "2,4 MB, geändert am 13.05.2024 um 09:12", or empty
    };
    File existing, incoming;

    // The window passes how a folder is to be set, so that it breaks only at separators.
    QStringList lines(QString (*folderText)(const QString &) = nullptr) const;
};
OverwriteQuestionText overwriteQuestionText(const OverwriteFiles &files);

// A size as file managers give it: "512 Bytes", "2,4 MB" (units of 1000, German decimal comma).
QString fileSizeText(qint64 bytes);

} // namespace zv
