#include "media/SkinButton.h"

namespace zv {

SkinButton::SkinButton(QWidget *parent)
    : PictureButton(parent)
{ }

void SkinButton::setFaces(const QPixmap &released, const QPixmap &pressed)
{
    m_released = released;
    m_pressed = pressed;
    showFace(m_released);
}

void SkinButton::showFace(const QPixmap &face)
{
    if (face.isNull())
        clear();
    else
        setPixmap(face);
}

} // namespace zv
