#include "PreviewBox.h"

#include "platform/BoxFit.h"
#include "viewing/PictureLoader.h"

#include <QLabel>
#include <QMouseEvent>

namespace zv {

PreviewBox::PreviewBox(QWidget *parent)
    : SkinPanel(QStringLiteral("picVorschau"), parent)
    , imgvorschau(new QLabel(this))
{
    imgvorschau->setObjectName(QStringLiteral("imgvorschau"));
    imgvorschau->setScaledContents(true);
    imgvorschau->hide();
    imgvorschau->installEventFilter(this);
}

void PreviewBox::showPicture(const QString &path)
{
    if (auto picture = loadPicture(path, size())) {
        m_buffer = std::move(picture->image);
        m_natural = picture->naturalSize;
    }
    imgvorschau->hide();
    if (m_buffer.isNull())
        return;
    m_pictureRect = fitIntoBox(m_natural, size());
    imgvorschau->setGeometry(m_pictureRect.toRect());
    imgvorschau->setPixmap(QPixmap::fromImage(m_buffer));
    imgvorschau->show();
}

void PreviewBox::hidePicture()
{
    imgvorschau->hide();
}

void PreviewBox::clear()
{
    imgvorschau->hide();
    imgvorschau->clear();
    m_buffer = {};
    m_natural = {};
    m_pictureRect = {};
}

bool PreviewBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == imgvorschau && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT doubleClicked();
        return true;
    }
    return SkinPanel::eventFilter(watched, event);
}

void PreviewBox::mousePressEvent(QMouseEvent *event)
{
    event->accept(); // the box is not a handle for moving the window
}

void PreviewBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT doubleClicked();
}

} // namespace zv
