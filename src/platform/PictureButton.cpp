#include "PictureButton.h"

#include <QMouseEvent>

namespace zv {

PictureButton::PictureButton(QWidget *parent)
    : QLabel(parent)
{
    setScaledContents(true); // image controls stretch their picture to their own size
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    showPressedFace();
    if (event->button() == Qt::LeftButton)
        m_leftDown = true;
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    showReleasedFace();
    const bool left = event->button() == Qt::LeftButton;
    const bool click = left && m_leftDown && rect().contains(event->position().toPoint());
    if (left)
        m_leftDown = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

} // namespace zv
