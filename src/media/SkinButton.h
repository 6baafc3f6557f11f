#pragma once

#include "platform/PictureButton.h"

#include <QPixmap>

namespace zv {

// A button of the player bar; it holds its two faces itself.
class SkinButton final : public PictureButton {
    Q_OBJECT

public:
    explicit SkinButton(QWidget *parent = nullptr);

    // A null face leaves the button without a picture.
    void setFaces(const QPixmap &released, const QPixmap &pressed);
    const QPixmap &releasedFace() const { return m_released; }
    const QPixmap &pressedFace() const { return m_pressed; }

protected:
    void showPressedFace() override { showFace(m_pressed); }
    void showReleasedFace() override { showFace(m_released); }

private:
    void showFace(const QPixmap &face);

    QPixmap m_released;
    QPixmap m_pressed;
};

} // namespace zv
