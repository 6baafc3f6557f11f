#include "PictureImage.h"

#include <QPainter>

namespace zv {

PictureImage::PictureImage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("imgDia"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents); // clicks and the wheel belong to the window
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
    const QImage stretched = m_image.size() == size()
        ? m_image
        : m_image.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_shown = QPixmap::fromImage(stretched);
}

QImage PictureImage::shownImage() const
{
    if (m_stale)
        prepare();
    return m_shown.toImage();
}

void PictureImage::paintEvent(QPaintEvent *)
{
    if (m_stale)
        prepare();
    QPainter p(this);
    if (m_shown.isNull())
        p.fillRect(rect(), Qt::black);
    else
        p.drawPixmap(0, 0, m_shown);
}

} // namespace zv
