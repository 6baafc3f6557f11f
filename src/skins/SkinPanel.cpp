#include "SkinPanel.h"

#include <QPainter>

namespace zv {

SkinPanel::SkinPanel(const QString &objectName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinPanel::setBackdrop(const QPixmap &backdrop)
{
    m_backdrop = backdrop;
    update();
}

void SkinPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Before the first skin arrives the panel shows the window colour.
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, m_backdrop);
}

} // namespace zv
