#include "media/SkinButton.h"

namespace zv {

SkinButton::SkinButton(QWidget *parent) : PictureButton(parent) {}

void SkinButton::setFaces(const QPixmap &released, const QPixmap &pressed)
{
    released_ = released;
    pressed_ = pressed;
    showFace(released_);
}

void SkinButton::showFace(const QPixmap &face)
{
    if (face.isNull())
        clear();
    else
        setPixmap(face);
}

} // namespace zv
