#include "media/MpvVideoWidget.h"

#include <QOpenGLContext>

#include <mpv/render_gl.h>

namespace zv {
namespace {

void *procAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

} // namespace

MpvVideoWidget::MpvVideoWidget(mpv_handle *mpv, QWidget *parent) : QOpenGLWidget(parent), mpv_(mpv)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

MpvVideoWidget::~MpvVideoWidget()
{
    disconnect(contextGone_);
    freeRenderContext();
}

void MpvVideoWidget::freeRenderContext()
{
    if (!render_)
        return;
    makeCurrent();
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
    doneCurrent();
}

void MpvVideoWidget::initializeGL()
{
    freeRenderContext();
    mpv_opengl_init_params glInit{&procAddress, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_, params) < 0) {
        render_ = nullptr;
        return;
    }
    // Called on mpv's threads: only a queued hop to the UI thread is allowed here.
    mpv_render_context_set_update_callback(
        render_,
        [](void *self) {
            QMetaObject::invokeMethod(static_cast<MpvVideoWidget *>(self),
                                      qOverload<>(&QWidget::update), Qt::QueuedConnection);
        },
        this);
    disconnect(contextGone_);
    contextGone_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                           &MpvVideoWidget::freeRenderContext, Qt::DirectConnection);
    Q_EMIT renderContextReady();
}

void MpvVideoWidget::render()
{
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{int(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void MpvVideoWidget::renderPending()
{
    if (!render_ || !isValid())
        return;
    makeCurrent(); // also binds this widget's framebuffer
    if (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) {
        render();
        frameWaiting_ = true;
        update();
    }
    doneCurrent();
}

void MpvVideoWidget::paintGL()
{
    if (!render_)
        return;
    const bool newFrame = (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) || frameWaiting_;
    frameWaiting_ = false;
    render();
    if (newFrame) {
        ++framesShown_;
        Q_EMIT frameShown();
    }
}

} // namespace zv
