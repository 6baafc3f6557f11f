#pragma once

#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

namespace zv {

// Shows the video of one mpv core through mpv's OpenGL render API. The render context lives
// exactly as long as this widget's GL context; it must be gone before the core is destroyed.
class MpvVideoWidget final : public QOpenGLWidget {
    Q_OBJECT

public:
    MpvVideoWidget(mpv_handle *mpv, QWidget *parent);
    ~MpvVideoWidget() override;

    // Draws a waiting frame now, for callers that block the UI thread while mpv works: mpv's
    // video output stalls until its frame has been drawn.
    void renderPending();

    bool hasRenderContext() const { return m_render != nullptr; }
    // Video frames drawn so far (redraws of the same frame do not count).
    int framesShown() const { return m_framesShown; }

Q_SIGNALS:
    void renderContextReady();
    void frameShown();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void freeRenderContext();
    void render();

    mpv_handle *m_mpv;
    mpv_render_context *m_render = nullptr;
    // QOpenGLWidget's own destructor destroys the GL context, after this class is gone: the
    // connection must not outlive ~MpvVideoWidget.
    QMetaObject::Connection m_contextGone;
    int m_framesShown = 0;
    bool m_frameWaiting = false;
};

} // namespace zv
