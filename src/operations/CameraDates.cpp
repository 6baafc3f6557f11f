#include "CameraDates.h"

#include "metadata/CameraMoment.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"

#include <cerrno>

namespace zv {
namespace {

CameraDateResult failed(QString message)
{
    CameraDateResult result;
    result.result = CameraDateResult::Result::Failed;
    result.message = std::move(message);
    return result;
}

QString fileNameOf(const QString &path)
{
    return displayFileName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}

} // namespace

CameraDateResult cameraDateFor(const QString &path)
{
    const PictureReadResult read = ReadPictureInfo(path);
    if (read.error)
        return failed(read.error.message);
    PictureInfo info = trimmed(read.info);
    // What the user typed, even a partly known date, is never replaced by a camera's clock.
    if (!info.datum.isEmpty() && info.datum != QLatin1String("xx.xx.xxxx"))
        return {CameraDateResult::Result::HadDate, {}, {}};
    const std::optional<unsigned int> mode = fileMode(path);
    if (!mode) {
        const int error = errno;
        return failed(
            QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2.").arg(fileNameOf(path), errorText(error)));
    }
    if (isReadOnlyMode(*mode))
        return {CameraDateResult::Result::ReadOnly, {}, {}};
    const std::optional<QDateTime> moment = cameraMoment(path);
    if (!moment || !moment->date().isValid())
        return {CameraDateResult::Result::NoMoment, {}, {}};
    info.datum = moment->date().toString(QStringLiteral("dd.MM.yyyy"));
    return {CameraDateResult::Result::Dated, info, {}};
}

CameraDateResult takeCameraDate(const QString &path, const QString &folder)
{
    CameraDateResult result = cameraDateFor(path);
    if (result.result != CameraDateResult::Result::Dated)
        return result;
    if (const TrailerError error = WritePictureInfo(path, result.stored, folder))
        return failed(error.message);
    return result;
}

void count(CameraDateCounts &counts, const CameraDateResult &result)
{
    switch (result.result) {
    case CameraDateResult::Result::Dated:
        ++counts.dated;
        break;
    case CameraDateResult::Result::NoMoment:
        ++counts.noMoment;
        break;
    case CameraDateResult::Result::HadDate:
        ++counts.hadDate;
        break;
    case CameraDateResult::Result::ReadOnly:
        ++counts.readOnly;
        break;
    case CameraDateResult::Result::Failed:
        ++counts.failed;
        counts.failures << result.message;
        break;
    }
}

QString cameraDateSummary(const CameraDateCounts &counts)
{
    struct Part {
        int n;
        const char *one;
        const char *many;
    };
    const Part parts[] = {
        {counts.dated, "hat ein Datum erhalten", "haben ein Datum erhalten"},
        {counts.noMoment, "hatte kein Aufnahmedatum", "hatten kein Aufnahmedatum"},
        {counts.hadDate, "hatte schon ein Datum", "hatten schon ein Datum"},
        {counts.readOnly, "ist schreibgeschützt", "sind schreibgeschützt"},
        {counts.failed, "konnte nicht bearbeitet werden", "konnten nicht bearbeitet werden"},
    };
    QStringList said;
    for (const Part &part : parts) {
        if (part.n <= 0)
            continue;
        // Only the first part names the files; the others lean on it.
        const QString noun = !said.isEmpty() ? QString()
                             : part.n == 1   ? QStringLiteral(" Datei")
                                             : QStringLiteral(" Dateien");
        said << QStringLiteral("%1%2 %3").arg(part.n).arg(noun, QString::fromUtf8(part.n == 1 ? part.one : part.many));
    }
    if (said.isEmpty())
        return QStringLiteral("Keine Datei hat ein Datum erhalten.");
    QString summary = said.join(QLatin1String(", ")) + QLatin1Char('.');
    for (const QString &failure : counts.failures)
        summary += QLatin1Char('\n') + failure;
    return summary;
}

} // namespace zv
