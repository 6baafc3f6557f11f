#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace zv {

// A read-only INI file read the way the Windows private-profile reader reads it: sections and
// keys compared without regard to case, the first section of a name and its first key win,
// blanks around keys and values dropped, one pair of enclosing quotes removed, values cut at
// 254 characters. QSettings' INI dialect differs (escapes, commas, quoting), hence this.
class ProfileFile {
public:
    static constexpr int kMaxValueLength = 254;
    // Only this much of a file is read; a skin's colours fit in a few hundred bytes.
    static constexpr qint64 kMaxFileSize = 64 * 1024;

    ProfileFile() = default;
    // A missing or unreadable file reads as empty, so every lookup takes its default; bytes
    // beyond kMaxFileSize are not read.
    static ProfileFile read(const QString &path);
    static ProfileFile parse(const QString &text);

    QString value(QStringView section, QStringView key, const QString &fallback) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    std::vector<Section> m_sections;
};

} // namespace zv
