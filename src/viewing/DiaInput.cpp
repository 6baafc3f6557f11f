#include "DiaInput.h"

#include "platform/FileNames.h"

namespace zv {
namespace {

constexpr int kWheelNotch = 120;

} // namespace

DiaCommand diaCommandForKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape:
        return DiaCommand::End;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return DiaCommand::Forward;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return DiaCommand::Back;
    case Qt::Key_Space:
        return DiaCommand::PlayOrPause;
    default:
        return DiaCommand::None;
    }
}

int WheelSteps::turn(int angleDelta)
{
    m_rest += angleDelta;
    const int steps = m_rest / kWheelNotch; // rounds towards zero: part of a notch stays
    m_rest -= steps * kWheelNotch;
    return -steps;
}

SlideCaptions slideCaptions(const DiaSlide &slide, const QString &remarks)
{
    QString trimmedRemarks = remarks;
    while (!trimmedRemarks.isEmpty() && trimmedRemarks.back().isSpace())
        trimmedRemarks.chop(1);
    return {QStringLiteral("Datei: %1/%2").arg(slide.index).arg(slide.rowCount),
            displayFileName(slide.row.name),
            QStringLiteral("Namen: ") + slide.row.namen,
            QStringLiteral("Ort: ") + slide.row.ort,
            QStringLiteral("Datum: ") + slide.row.datum,
            QStringLiteral("Anlass: ") + slide.row.anlass,
            trimmedRemarks};
}

} // namespace zv
