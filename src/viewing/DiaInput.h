#pragma once

#include "DiaShowList.h"

#include <QString>

namespace zv {

// What the slide show does for a key: the keys every slide show answers to.
enum class DiaCommand { None, End, Forward, Back, PlayOrPause };
DiaCommand diaCommandForKey(int qtKey);

// Turns of the mouse wheel into steps: one per notch, towards the user forward. Touchpads send
// parts of a notch, which add up.
class WheelSteps {
public:
    // Positive: that many steps forward; negative: back.
    int turn(int angleDelta);

private:
    int m_rest = 0;
};

// The texts of the information panel for one slide.
struct SlideCaptions {
    QString index;
    QString file;
    QString namen;
    QString ort;
    QString datum;
    QString anlass;
    QString remarks;
};
SlideCaptions slideCaptions(const DiaSlide &slide, const QString &remarks);

} // namespace zv
