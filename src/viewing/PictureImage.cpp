#include "PictureImage.h"

#include "PixelRect.h"

#include "platform/BoxFit.h"

#include <QPainter>

namespace zv {

QRectF PictureImage::showFitted(const LoadedPicture &picture, const QSize &box)
{
    if (picture.image.isNull())
        return geometry();
    const QRectF fitted = fitIntoBox(picture.naturalSize, box);
    setGeometry(pixelRect(fitted));
    setImage(picture.image);
    show();
    return fitted;
}

PictureImage::PictureImage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("imgDia"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents); // clicks and the wheel belong to the window
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (!m_rough)
            return;
        m_stale = true;
        update();
    });
}

void PictureImage::setImage(const QImage &image)
{
    m_image = image;
    m_stale = true;
    update();
}

void PictureImage::resizeEvent(QResizeEvent *)
{
    m_stale = true;
    if (m_smoothWhenSettled && !m_shown.isNull()) { // a picture already drawn, being resized
        m_rough = true;
        m_settle.start();
    }
}

void PictureImage::prepare() const
{
    m_stale = false;
    if (m_image.isNull() || size().isEmpty()) {
        m_shown = {};
        return;
    }
    // Decoded pictures come at their place's size already; only the picture window's
    // resizing and enlarged small pictures are stretched here.
    // Kept as an image: drawing one in the screen's format is a plain copy, and converting it
    // to a pixmap first would copy it once more.
    const bool rough = m_rough && m_settle.isActive();
    m_rough = rough;
    m_shown = m_image.size() == size() ? m_image
                                       : m_image.scaled(size(), Qt::IgnoreAspectRatio,
                                                        rough ? Qt::FastTransformation : Qt::SmoothTransformation);
}

QImage PictureImage::shownImage() const
{
    if (m_stale)
        prepare();
    return m_shown;
}

void PictureImage::paintEvent(QPaintEvent *)
{
    if (m_stale)
        prepare();
    QPainter p(this);
    if (m_shown.isNull())
        p.fillRect(rect(), Qt::black);
    else
        p.drawImage(0, 0, m_shown);
}

} // namespace zv
