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

MpvVideoWidget::MpvVideoWidget(mpv_handle *mpv, QWidget *parent)
    : QOpenGLWidget(parent)
    , m_mpv(mpv)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

MpvVideoWidget::~MpvVideoWidget()
{
    disconnect(m_contextGone);
    freeRenderContext();
}

void MpvVideoWidget::freeRenderContext()
{
    if (!m_render)
        return;
    makeCurrent();
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
    m_render = nullptr;
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
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr;
        return;
    }
    // Called on mpv's threads: only a queued hop to the UI thread is allowed here.
    mpv_render_context_set_update_callback(
        m_render,
        [](void *self) {
            QMetaObject::invokeMethod(static_cast<MpvVideoWidget *>(self), qOverload<>(&QWidget::update),
                                      Qt::QueuedConnection);
        },
        this);
    disconnect(m_contextGone);
    m_contextGone = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvVideoWidget::freeRenderContext,
                            Qt::DirectConnection);
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
    mpv_render_context_render(m_render, params);
}

void MpvVideoWidget::renderPending()
{
    if (!m_render || !isValid())
        return;
    makeCurrent(); // also binds this widget's framebuffer
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) {
        render();
        m_frameWaiting = true;
        update();
    }
    doneCurrent();
}

void MpvVideoWidget::paintGL()
{
    if (!m_render)
        return;
    const bool newFrame = (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) || m_frameWaiting;
    m_frameWaiting = false;
    render();
    if (newFrame) {
        ++m_framesShown;
        Q_EMIT frameShown();
    }
}

} // namespace zv
