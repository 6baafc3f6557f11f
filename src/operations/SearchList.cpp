#include "SearchList.h"

#include "modSuche.h"

#include "model/AlbumListModel.h"

namespace zv {
namespace {

bool hasTextAfterTrailingBlanks(const QString &text)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (text[i] != QLatin1Char(' '))
            return true;
    return false;
}

// The characters themselves rather than InitSeparators' list: its empty entry stands for the
// text's ends, which containsWord checks by position.
bool isSeparatorChar(QChar c)
{
    return separatorCharacters().contains(c);
}

// Whether word (non-empty, free of separators) equals one of the words SplitWords would make of
// text: it stands in the text between separators or the text's ends. Checked in place, as a
// hundred thousand rows of word lists would cost more than the search may; so no row lists are
// split, compared with AllWordsFound or emptied with ClearCollection.
bool containsWord(const QString &text, const QString &word)
{
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        const bool startsWord = at == 0 || isSeparatorChar(text[at - 1]);
        const bool endsWord = end == text.size() || isSeparatorChar(text[end]);
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

bool allWordsIn(const QStringList &words, const QString &cell)
{
    if (words.isEmpty())
        return true;
    const QString lowered = cell.toLower();
    for (const QString &word : words)
        if (!containsWord(lowered, word))
            return false;
    return true;
}

} // namespace

SearchQuery SearchQuery::fromBoxes(const PictureInfo &boxes)
{
    SearchQuery query;
    SplitWords(boxes.anlass.toLower(), query.anlass);
    SplitWords(boxes.namen.toLower(), query.namen);
    SplitWords(boxes.ort.toLower(), query.ort);
    query.datum = boxes.datum;
    if (query.datum.size() == 6 || query.datum.size() == 9)
        query.datum.prepend(QLatin1Char('0'));
    query.byDatum = hasTextAfterTrailingBlanks(boxes.datum);
    query.byAnlass = hasTextAfterTrailingBlanks(boxes.anlass);
    query.byNamen = hasTextAfterTrailingBlanks(boxes.namen);
    query.byOrt = !boxes.ort.isEmpty();
    return query;
}

bool SearchQuery::matches(const ListRow &row) const
{
    if (byDatum && !row.datum.endsWith(datum))
        return false;
    if (byAnlass && !allWordsIn(anlass, row.anlass))
        return false;
    if (byNamen && !allWordsIn(namen, row.namen))
        return false;
    if (byOrt && !allWordsIn(ort, row.ort))
        return false;
    return true;
}

int runSearch(AlbumListModel &list, const SearchQuery &query, const std::function<void(int, int)> &progress)
{
    const int total = list.rowCount();
    int examined = 0;
    list.removeRowsIf([&](const ListRow &row) {
        const bool drop = !query.matches(row);
        if (progress)
            progress(++examined, total);
        return drop;
    });
    return list.rowCount();
}

} // namespace zv
