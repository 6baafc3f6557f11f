#pragma once

#include <QStringList>
#include <QTextStream>

#include <memory>

namespace zv {
class OverwriteQuestion;
}

// One function per verb; each gets the words after the verb and answers with the exit code:
// 0 done, 1 failed (the reason on err), 2 not called correctly.
namespace albuminfo {

int usage(QTextStream &err);
int list(const QStringList &args, QTextStream &out, QTextStream &err);
int set(const QStringList &args, QTextStream &err);
int rotate(const QStringList &args, QTextStream &err);
int find(const QStringList &args, QTextStream &out, QTextStream &err);
int rename(const QStringList &args, QTextStream &err);
int remove(const QStringList &args, QTextStream &err);
int newAlbum(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace albuminfo

// Copying into and out of an album, with the import browser's and export dialog's rules.
int importVerb(const QStringList &args);
int exportVerb(const QStringList &args);

// The overwrite answer of --overwrite: "ask" on the terminal, "all" or "none"; null for anything else.
std::unique_ptr<zv::OverwriteQuestion> overwriteAnswerer(const QString &mode);
