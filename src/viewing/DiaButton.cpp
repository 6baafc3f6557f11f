#include "DiaButton.h"

#include <QMouseEvent>

namespace zv {

DiaButton::DiaButton(const QString &name, DiaSymbol symbol, Kind kind, QWidget *parent)
    : PictureButton(parent)
    , m_face0(QPixmap::fromImage(drawDiaFace(symbol, false)))
    , m_face1(QPixmap::fromImage(drawDiaFace(symbol, true)))
    , m_kind(kind)
{
    setObjectName(name);
    setPixmap(m_face0);
}

void DiaButton::setActive(bool active)
{
    m_active = active;
    setPixmap(active ? m_face1 : m_face0);
}

void DiaButton::mousePressEvent(QMouseEvent *event)
{
    PictureButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed();
}

void DiaButton::showPressedFace()
{
    if (m_kind == Kind::Momentary)
        setPixmap(m_face1);
}

void DiaButton::showReleasedFace()
{
    if (m_kind == Kind::Momentary)
        setPixmap(m_face0);
}

} // namespace zv
