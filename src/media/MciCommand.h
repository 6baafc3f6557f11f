#pragma once

#include <QString>
#include <QStringList>

namespace zv {

// One MCI command string split into its words: "verb device arguments... [wait] [notify]".
// A word in double quotes keeps its blanks; the flags wait and notify are taken out.
struct MciCommand {
    QString verb; // lower case
    QString device; // as written (the file element of an open), quotes removed
    QStringList args; // lower case
    QStringList rawArgs; // as written, for numbers and names
    bool wait = false;
    bool notify = false;
    int error = 0; // a syntax error code, 0 when the words could be split

    static MciCommand parse(const QString &text);

    // The argument words from index on, joined by single blanks.
    QString joined(int from = 0) const { return args.mid(from).join(u' '); }
};

} // namespace zv
