#pragma once
// The main window over a temporary album, shown, with short ways to reach its controls.

#include "WindowFixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

namespace zv::test {

inline std::unique_ptr<frmDaten> shownWindow(WindowFixture &fx)
{
    auto w = fx.open();
    w->show();
    return QTest::qWaitForWindowExposed(w.get()) ? std::move(w) : nullptr;
}

template <typename T = QWidget>
T *child(const QWidget &w, const char *name)
{
    return w.findChild<T *>(QLatin1String(name));
}

inline void click(const QWidget &w, const char *name)
{
    QTest::mouseClick(child(w, name), Qt::LeftButton);
}

// A drop from another program as the window system delivers it, onto a view's viewport: true
// when it was taken, as a copy.
inline bool dropOnto(QWidget *viewport, const QMimeData &data,
                     Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction)
{
    const QPoint at = viewport->rect().center();
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(at, offered, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    return enter.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

inline bool dropFiles(QWidget *viewport, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    return dropOnto(viewport, data);
}

} // namespace zv::test
