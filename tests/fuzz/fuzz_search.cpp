// Search words: splitting never makes an empty word or one with a separator in it, and the
// window's in-place check of a row agrees with the rule's word lists on any two texts.
#include "FuzzCheck.h"

#include "model/AlbumListModel.h"
#include "operations/modSuche.h"
#include "operations/SearchList.h"

#include <algorithm>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype cut = text.indexOf(QChar(u'|'));
    const QString box = cut < 0 ? text : text.left(cut);
    const QString cell = cut < 0 ? QString() : text.mid(cut + 1);

    QStringList boxWords, cellWords;
    SplitWords(box.toLower(), boxWords);
    SplitWords(cell.toLower(), cellWords);
    for (const QString &word : boxWords) {
        FUZZ_CHECK(!word.isEmpty());
        for (const QChar c : word)
            FUZZ_CHECK(!separatorCharacters().contains(c));
    }
    PictureInfo boxes;
    boxes.anlass = box;
    ListRow row;
    row.anlass = cell;
    // A box of blanks asks nothing; any other box asks for all its words.
    const bool asks = std::any_of(box.begin(), box.end(), [](QChar c) { return c != QLatin1Char(' '); });
    const bool byRule = !asks || AllWordsFound(boxWords, cellWords);
    FUZZ_CHECK(SearchQuery::fromBoxes(boxes).matches(row) == byRule);
    FUZZ_CHECK(AllWordsFound({}, cellWords));
    return 0;
}
