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
    window_ = window;
    return placeVideo(window, window->rect());
}

bool MpvSession::placeVideo(QWidget *parent, const QRect &geometry)
{
    // One render context per core: the old picture goes before the new one is made, and the
    // video waits for the new context.
    if (widget_) {
        mpv_set_property_string(mpv_, "vid", "no");
        videoDeferred_ = true;
        delete widget_.data();
    }
    auto *widget = new MpvVideoWidget(mpv_, parent); // a child is owned by its parent window
    widget_ = widget;
    connect(widget, &MpvVideoWidget::renderContextReady, this, [this] {
        if (videoDeferred_) {
            videoDeferred_ = false;
            mpv_set_property_string(mpv_, "vid", videoWanted_ ? "auto" : "no");
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
        if (const QScreen *screen = window_ ? window_->screen() : nullptr)
            widget->setGeometry(screen->geometry());
        widget->showFullScreen();
        widget->activateWindow();
        widget->setFocus();
    }
    if (!widget->hasRenderContext() && (!parent || parent->isVisible())) {
        QDeadlineTimer deadline(WindowTimeoutMs);
        while (widget_ && !widget_->hasRenderContext() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    if (!widget_)
        return false;
    if (!widget_->hasRenderContext() && !videoDeferred_) {
        // A hidden window gets its GL context later; the video joins in then.
        videoDeferred_ = true;
        mpv_set_property_string(mpv_, "vid", "no");
    }
    return true;
}

bool MpvSession::showFullScreen()
{
    if (!widget_ || !window_)
        return false;
    if (fullScreen_)
        return true;
    childGeometry_ = widget_->geometry();
    childHidden_ = widget_->isHidden();
    fullScreen_ = true;
    return placeVideo(nullptr, {});
}

void MpvSession::endFullScreen()
{
    if (!fullScreen_)
        return;
    fullScreen_ = false;
    if (!window_) {
        delete widget_.data();
        return;
    }
    placeVideo(window_, childGeometry_);
    if (childHidden_ && widget_)
        widget_->hide();
}

bool MpvSession::eventFilter(QObject *watched, QEvent *event)
{
    // The full screen widget still sends events (hiding) while ~QWidget runs; widget_ must not
    // be looked at then, as it no longer is an MpvVideoWidget.
    if (fullScreen_ && qobject_cast<MpvVideoWidget *>(watched) && watched == widget_) {
        const bool escape = event->type() == QEvent::KeyPress
                            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
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
    videoWanted_ = enabled;
    if (!widget_ || videoDeferred_)
        return;
    mpv_set_property_string(mpv_, "vid", enabled ? "auto" : "no");
}

} // namespace zv
