#include "media/MpvSession.h"

#include "media/MpvVideoWidget.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

#include <mpv/client.h>

namespace zv {
namespace {

constexpr int WindowTimeoutMs = 2000;

} // namespace

bool MpvSession::attachWindow(QWidget *window)
{
    m_window = window;
    return placeVideo(window, window->rect());
}

bool MpvSession::placeVideo(QWidget *parent, const QRect &geometry)
{
    // One render context per core: the old picture goes before the new one is made, and the
    // video waits for the new context.
    if (m_widget) {
        mpv_set_property_string(m_mpv, "vid", "no");
        m_videoDeferred = true;
        delete m_widget.data();
    }
    auto *widget = new MpvVideoWidget(m_mpv, parent); // a child is owned by its parent window
    m_widget = widget;
    connect(widget, &MpvVideoWidget::renderContextReady, this, [this] {
        if (m_videoDeferred) {
            m_videoDeferred = false;
            mpv_set_property_string(m_mpv, "vid", m_videoWanted ? "auto" : "no");
        }
    });
    if (parent) {
        widget->setGeometry(geometry);
        widget->show();
    } else {
        widget->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        widget->setFocusPolicy(Qt::StrongFocus);
        widget->setCursor(Qt::BlankCursor);
        widget->installEventFilter(this);
        // Sized by hand too: without a window manager the full-screen state alone does nothing.
        if (const QScreen *screen = m_window ? m_window->screen() : nullptr)
            widget->setGeometry(screen->geometry());
        widget->showFullScreen();
        widget->activateWindow();
        widget->setFocus();
    }
    if (!widget->hasRenderContext() && (!parent || parent->isVisible())) {
        QDeadlineTimer deadline(WindowTimeoutMs);
        while (m_widget && !m_widget->hasRenderContext() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    if (!m_widget)
        return false;
    if (!m_widget->hasRenderContext() && !m_videoDeferred) {
        // A hidden window gets its GL context later; the video joins in then.
        m_videoDeferred = true;
        mpv_set_property_string(m_mpv, "vid", "no");
    }
    return true;
}

bool MpvSession::showFullScreen()
{
    if (!m_widget || !m_window)
        return false;
    if (m_fullScreen)
        return true;
    m_childGeometry = m_widget->geometry();
    m_childHidden = m_widget->isHidden();
    m_fullScreen = true;
    return placeVideo(nullptr, {});
}

void MpvSession::endFullScreen()
{
    if (!m_fullScreen)
        return;
    m_fullScreen = false;
    if (!m_window) {
        delete m_widget.data();
        return;
    }
    placeVideo(m_window, m_childGeometry);
    if (m_childHidden && m_widget)
        m_widget->hide();
}

bool MpvSession::eventFilter(QObject *watched, QEvent *event)
{
    // The full screen widget still sends events (hiding) while ~QWidget runs; m_widget must not
    // be looked at then, as it no longer is an MpvVideoWidget.
    if (m_fullScreen && qobject_cast<MpvVideoWidget *>(watched) && watched == m_widget) {
        const bool escape =
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
        if (escape || event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Close) {
            // Not from inside the widget's own event handling: it is replaced on the way.
            QMetaObject::invokeMethod(this, &MpvSession::endFullScreen, Qt::QueuedConnection);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MpvSession::setVideoEnabled(bool enabled)
{
    m_videoWanted = enabled;
    if (!m_widget || m_videoDeferred)
        return;
    mpv_set_property_string(m_mpv, "vid", enabled ? "auto" : "no");
}

} // namespace zv
