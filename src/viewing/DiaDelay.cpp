#include "DiaDelay.h"

namespace zv {

int DiaDelay(const QString &text)
{
    // The setting is stored unchecked and may have been edited by hand. Anything that is not
    // a whole number the slider could have set gives the default, so the show neither races
    // nor stands still, and the slider can show the value it runs with.
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < kDiaDelayMin || value > kDiaDelayMax)
        return kDiaDelayDefault;
    return value;
}

} // namespace zv
