#include "ImageButton.h"

#include "SkinImages.h"

namespace zv {

ImageButton::ImageButton(const QString &objectName, QString pressedKey, QString releasedKey, const SkinImages &images,
                         QWidget *parent)
    : PictureButton(parent)
    , m_pressedKey(std::move(pressedKey))
    , m_releasedKey(std::move(releasedKey))
    , m_images(images)
{
    setObjectName(objectName);
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

} // namespace zv
