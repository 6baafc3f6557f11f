// Skin.ini as any bytes: the reader stays within its cap, values within 254 characters, and
// ParseColour accepts a text that starts with six hexadecimal digits and reads only those.
#include "FuzzCheck.h"

#include "skins/ParseColour.h"
#include "skins/ProfileFile.h"

#include <QByteArray>
#include <QFile>

#include <cstdlib>

using namespace zv;

namespace {

bool startsWithSixHexDigits(QStringView text)
{
    if (text.size() < 6)
        return false;
    for (QChar c : text.first(6))
        if (!isxdigit(c.unicode()) || c.unicode() > 0x7F)
            return false;
    return true;
}

void checkColour(QStringView text)
{
    const std::optional<QColor> colour = ParseColour(text);
    FUZZ_CHECK(colour.has_value() == startsWithSixHexDigits(text));
    if (colour)
        FUZZ_CHECK(colour->name(QColor::HexRgb).mid(1).compare(text.first(6), Qt::CaseInsensitive) == 0);
}

QString scratchPath()
{
    return QString::fromStdString(scratchFile("Skin.ini"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile f(scratchPath());
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(bytes) == bytes.size());
    }
    const ProfileFile ini = ProfileFile::read(scratchPath());
    const char16_t *keys[] = {u"OrtBG", u"HintergrundWert", u"SchriftFarbe", u"x"};
    for (const char16_t *section : {u"Farben", u"Liste", u""}) {
        for (const char16_t *key : keys) {
            const QString value = ini.value(section, key, QStringLiteral("-"));
            FUZZ_CHECK(value.size() <= ProfileFile::kMaxValueLength);
            checkColour(value);
        }
    }
    checkColour(QString::fromLatin1(bytes));
    return 0;
}
