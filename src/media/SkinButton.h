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
    const QPixmap &releasedFace() const { return released_; }
    const QPixmap &pressedFace() const { return pressed_; }

protected:
    void showPressedFace() override { showFace(pressed_); }
    void showReleasedFace() override { showFace(released_); }

private:
    void showFace(const QPixmap &face);

    QPixmap released_;
    QPixmap pressed_;
};

} // namespace zv
