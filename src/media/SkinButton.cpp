#include "media/SkinButton.h"

#include <QMouseEvent>

namespace zv {

SkinButton::SkinButton(QWidget *parent) : QLabel(parent)
{
    setScaledContents(true);
}

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

void SkinButton::mousePressEvent(QMouseEvent *event)
{
    showFace(pressed_);
    event->accept();
}

void SkinButton::mouseReleaseEvent(QMouseEvent *event)
{
    showFace(released_);
    event->accept();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace zv
