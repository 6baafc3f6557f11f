#pragma once
// The main window over a temporary album, shown, with short ways to reach its controls.

#include "WindowFixture.h"

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

} // namespace zv::test
