#include "ImageButton.h"

#include "SkinImages.h"

#include <QMouseEvent>

namespace zv {

ImageButton::ImageButton(const QString &objectName, QString pressedKey, QString releasedKey,
                         const SkinImages &images, QWidget *parent)
    : QLabel(parent), m_pressedKey(std::move(pressedKey)), m_releasedKey(std::move(releasedKey)), m_images(images)
{
    setObjectName(objectName);
    // Image controls stretch their picture to the control's size.
    setScaledContents(true);
}

bool ImageButton::showReleased()
{
    return showPicture(m_releasedKey);
}

bool ImageButton::showPicture(const QString &key)
{
    const auto picture = m_images.find(key);
    if (!picture)
        return false;
    setPixmap(*picture);
    return true;
}

void ImageButton::mousePressEvent(QMouseEvent *event)
{
    showPicture(m_pressedKey);
    if (event->button() == Qt::LeftButton)
        m_leftDown = true;
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    showPicture(m_releasedKey);
    const bool click = event->button() == Qt::LeftButton && m_leftDown && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftDown = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

} // namespace zv
