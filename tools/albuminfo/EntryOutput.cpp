#include "EntryOutput.h"

#include "platform/FileNames.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace albuminfo {

namespace {

QString hex(uint value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString escapedField(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool pairedLow = i > 0 && text[i - 1].isHighSurrogate();
        switch (c) {
        case u'\\':
            escaped += QLatin1String("\\\\");
            continue;
        case u'\t':
            escaped += QLatin1String("\\t");
            continue;
        case u'\n':
            escaped += QLatin1String("\\n");
            continue;
        case u'\r':
            escaped += QLatin1String("\\r");
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == 0x7F)
            escaped += QLatin1String("\\x") + hex(c, 2);
        else if (c >= 0x80 && c <= 0x9F)
            escaped += QLatin1String("\\u") + hex(c, 4);
        else if (c >= 0xDC80 && c <= 0xDCFF && !pairedLow) // a byte of a name that is not UTF-8
            escaped += QLatin1String("\\x") + hex(c - 0xDC00, 2);
        else
            escaped += text[i];
    }
    return escaped;
}

QString entryLine(const zv::AlbumEntry &e)
{
    const QStringList columns{escapedField(e.name),         QString::number(static_cast<int>(e.kind)),
                              QString::number(e.sizeKB),    escapedField(e.info.datum),
                              escapedField(e.info.ort),     escapedField(e.info.namen),
                              escapedField(e.info.anlass),  escapedField(e.info.bemerkungen),
                              QString::number(e.attributes)};
    return columns.join(QLatin1Char('\t'));
}

QJsonObject entryJson(const zv::AlbumEntry &e)
{
    return {{QStringLiteral("name"), zv::displayFileName(e.name)},
            {QStringLiteral("kind"), static_cast<int>(e.kind)},
            {QStringLiteral("kb"), e.sizeKB},
            {QStringLiteral("datum"), e.info.datum},
            {QStringLiteral("ort"), e.info.ort},
            {QStringLiteral("namen"), e.info.namen},
            {QStringLiteral("anlass"), e.info.anlass},
            {QStringLiteral("bemerkungen"), e.info.bemerkungen},
            {QStringLiteral("attributes"), e.attributes}};
}

void printEntries(const std::vector<const zv::AlbumEntry *> &entries, Format format, QTextStream &out)
{
    if (format == Format::Json) {
        QJsonArray array;
        for (const zv::AlbumEntry *e : entries)
            array.append(entryJson(*e));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return;
    }
    for (const zv::AlbumEntry *e : entries)
        out << entryLine(*e) << '\n';
}

} // namespace albuminfo
