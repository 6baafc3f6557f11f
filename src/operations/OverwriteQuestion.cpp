#include "OverwriteQuestion.h"

#include "platform/FileNames.h"
#include "platform/PathStatus.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>

namespace zv {
namespace {

OverwriteQuestionText::File describe(const QString &heading, const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    OverwriteQuestionText::File file{
        heading, QDir::toNativeSeparators(displayFileName(slash > 0 ? path.left(slash) : path.left(1))), {}};
    const PathStatus status = pathStatus(path);
    if (status.isFile())
        file.details = fileSizeText(status.size)
                       + QDateTime::fromSecsSinceEpoch(status.modifiedSecs)
                             .toString(QStringLiteral(", 'geändert am' dd.MM.yyyy 'um' HH:mm"));
    return file;
}

} // namespace

QString fileSizeText(qint64 bytes)
{
    if (bytes == 1)
        return QStringLiteral("1 Byte");
    if (bytes < 1000)
        return QStringLiteral("%1 Bytes").arg(bytes);
    static const char *const units[] = {"kB", "MB", "GB", "TB"};
    double value = double(bytes);
    int unit = -1;
    // 999,95 kB rounds to "1000,0 kB" at one place: such a size is shown in the next unit.
    while ((value >= 999.95 || unit < 0) && unit + 1 < int(std::size(units))) {
        value /= 1000.0;
        ++unit;
    }
    return QLocale(QLocale::German).toString(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(units[unit]);
}

OverwriteQuestionText overwriteQuestionText(const OverwriteFiles &files)
{
    const QString name = displayFileName(files.existing.mid(files.existing.lastIndexOf(QLatin1Char('/')) + 1));
    return {QStringLiteral("Soll die Datei ") + name + QStringLiteral(" mit ") + name
                + QStringLiteral(" ersetzt werden?"),
            describe(QStringLiteral("Vorhanden in:"), files.existing),
            describe(QStringLiteral("Neu aus:"), files.incoming)};
}

QStringList OverwriteQuestionText::lines(QString (*folderText)(const QString &)) const
{
    QStringList all{sentence};
    for (const File *file : {&existing, &incoming}) {
        all << QString() << file->heading << (folderText ? folderText(file->folder) : file->folder);
        if (!file->details.isEmpty())
            all << file->details;
    }
    return all;
}

} // namespace zv
