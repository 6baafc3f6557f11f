#include "modSuche.h"

namespace zv {
namespace {

constexpr QStringView kSeparatorCharacters = u"! ,./\\:;&()[]{}?";

bool isSeparator(QChar c)
{
    return kSeparatorCharacters.contains(c);
}

} // namespace

QStringView separatorCharacters()
{
    return kSeparatorCharacters;
}

const QStringList &InitSeparators()
{
    static const QStringList separators = [] {
        QStringList list;
        for (const QChar c : kSeparatorCharacters)
            list << QString(c);
        list << QString(); // position 17: the character one past the end of a text
        return list;
    }();
    return separators;
}

void SplitWords(const QString &text, QStringList &words)
{
    // Positions as the splitting rule counts them: s is where the current word starts, n its
    // length so far; the character before the first and the one past the end are empty, and
    // the empty entry of the separators matches them.
    qsizetype s = 0;
    qsizetype n = -1;
    bool previousIsSeparator = true;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i <= length; ++i) {
        ++n;
        const bool pastEnd = i == length;
        const bool separator = pastEnd || isSeparator(text[i]);
        if (separator) {
            if (previousIsSeparator) {
                --n;
                ++s;
            } else {
                // Blanks are separators, so a word has none to trim at its ends.
                words << text.mid(s, n);
                n = -1;
                s = i + 1;
            }
        }
        previousIsSeparator = separator;
    }
}

bool AllWordsFound(const QStringList &searchWords, const QStringList &fieldWords)
{
    for (const QString &wanted : searchWords)
        if (!fieldWords.contains(wanted))
            return false;
    return true;
}

} // namespace zv
