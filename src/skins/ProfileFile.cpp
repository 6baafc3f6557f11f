#include "ProfileFile.h"

#include <QFile>
#include <QStringDecoder>

namespace zv {

namespace {

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    // Profile files are written in the ANSI code page.
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

QString unquote(QString value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile ProfileFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(decode(file.read(kMaxFileSize)));
}

ProfileFile ProfileFile::parse(const QString &text)
{
    ProfileFile profile;
    // Lines before the first header belong to a nameless section no lookup reaches.
    profile.m_sections.push_back({});
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
            profile.m_sections.push_back({name.trimmed().toString(), {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        Entry entry;
        entry.key = (equals < 0 ? line : line.left(equals)).trimmed().toString();
        if (equals >= 0)
            entry.value = unquote(line.mid(equals + 1).trimmed().toString());
        profile.m_sections.back().entries.push_back(std::move(entry));
    }
    return profile;
}

QString ProfileFile::value(QStringView section, QStringView key, const QString &fallback) const
{
    for (const Section &s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Entry &e : s.entries) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value.left(kMaxValueLength);
        }
        return fallback.left(kMaxValueLength);
    }
    return fallback.left(kMaxValueLength);
}

} // namespace zv
