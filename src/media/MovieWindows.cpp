#include "media/MovieWindows.h"

#include <QHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPointer>
#include <QWidget>

namespace zv::movieWindows {
namespace {

constexpr int FirstHandle = 0x40000000;

// UI thread only, like every widget.
QHash<int, QPointer<QWidget>> &handles()
{
    static QHash<int, QPointer<QWidget>> map;
    return map;
}

} // namespace

int handleOf(QWidget *widget)
{
    auto &map = handles();
    for (auto it = map.begin(); it != map.end();) {
        if (it.value() == widget)
            return it.key();
        it = it.value() ? std::next(it) : map.erase(it);
    }
    static int next = FirstHandle;
    const int handle = next++;
    map.insert(handle, widget);
    return handle;
}

QWidget *find(long long handle)
{
    if (handle >= FirstHandle && handle <= 0x7fffffff)
        return handles().value(int(handle)).data();
    return handle > 0 ? QWidget::find(WId(handle)) : nullptr;
}

void prepareForVideo(QWidget *widget)
{
    static const QString Name = QStringLiteral("zvGlComposition");
    if (!widget || widget->findChild<QOpenGLWidget *>(Name, Qt::FindDirectChildrenOnly))
        return;
    auto *keeper = new QOpenGLWidget(widget);
    keeper->setObjectName(Name);
    keeper->hide();
}

void warmUpGl()
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (context.create() && context.makeCurrent(&surface))
        context.doneCurrent();
}

} // namespace zv::movieWindows
