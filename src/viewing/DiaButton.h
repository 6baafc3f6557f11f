#pragma once

#include "DiaFaces.h"

#include "platform/PictureButton.h"

#include <QPixmap>

namespace zv {

// One button of the slide show's bar. Back, next and end show their pressed face while held
// and act on a click; play and pause act on the press and keep the face of the show's state.
class DiaButton : public PictureButton {
    Q_OBJECT
public:
    enum class Kind { Momentary, Latching };
    DiaButton(const QString &name, DiaSymbol symbol, Kind kind, QWidget *parent);

    // Latching buttons: the active (…1) or inactive (…0) face.
    void setActive(bool active);
    bool isActive() const { return m_active; }

Q_SIGNALS:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void showPressedFace() override;
    void showReleasedFace() override;

private:
    QPixmap m_face0; // released or inactive
    QPixmap m_face1; // pressed or active
    Kind m_kind;
    bool m_active = false;
};

} // namespace zv
