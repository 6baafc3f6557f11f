#pragma once

#include <QString>
#include <QStringList>

namespace zv {

// The search words and how they are split: the sixteen separators and one empty entry, which
// the splitting relies on at the start and one past the end of a text.
const QStringList &InitSeparators();
// The sixteen separators as one text, for testing a character.
QStringView separatorCharacters();

// Appends the words of text to words (not emptied first): runs of separators, leading and
// trailing ones give no empty words. Tab, hyphen, apostrophe and quotes are part of words.
void SplitWords(const QString &text, QStringList &words);

// True when every search word equals at least one field word; true without search words.
bool AllWordsFound(const QStringList &searchWords, const QStringList &fieldWords);

// Empties a keyed collection from its last entry to its first.
template <typename Collection>
void ClearCollection(Collection &collection)
{
    while (!collection.isEmpty())
        collection.removeLast();
}

} // namespace zv
