#pragma once
// A person at the keyboard, mouse and screen of the X server, through xdotool.

#include "app/MainWindowLayout.h"

#include <algorithm>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QTest>

namespace zv::test {

inline bool xdotool(const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    return true;
}

// Asks again every 50 ms until the answer is yes or the time is up.
template <typename Check>
bool waitUntil(Check check, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!check()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The ids of the visible windows with exactly this title (of one process when given); the
// search is blind to letter case.
inline QStringList windowIds(const QString &title, qint64 pid = 0)
{
    QStringList args{"search", "--onlyvisible"};
    if (pid)
        args << "--pid" << QString::number(pid);
    QByteArray ids;
    if (!xdotool(args << "--name" << QLatin1Char('^') + title + QLatin1Char('$'), &ids))
        return {};
    return QString::fromLatin1(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The on-screen geometry of the first such window, or an empty rect.
inline QRect windowNamed(const QString &title)
{
    const QString id = windowIds(title).value(0);
    QByteArray shell;
    if (id.isEmpty() || !xdotool({"getwindowgeometry", "--shell", id}, &shell))
        return {};
    QMap<QByteArray, int> values;
    for (const QByteArray &line : shell.split('\n'))
        values[line.split('=').value(0)] = line.split('=').value(1).toInt();
    return {values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

// Button 3 is the right one.
inline bool clickAt(const QPoint &screen, int count = 1, int button = 1)
{
    return xdotool({"mousemove", QString::number(screen.x()), QString::number(screen.y()), "click", "--repeat",
                    QString::number(count), "--delay", "60", QString::number(button)});
}

inline bool pressKeys(const QStringList &keys)
{
    return xdotool(QStringList{"key", "--delay", "60"} + keys);
}

inline bool typeText(const QString &text)
{
    return xdotool({"type", "--delay", "40", text});
}

inline QImage screenShot(const QRect &area = QRect(0, 0, -1, -1))
{
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

inline QColor colourAt(const QPoint &screen)
{
    return screenShot(QRect(screen, QSize(1, 1))).pixelColor(0, 0);
}

inline bool near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return qAbs(a.red() - b.red()) < tolerance && qAbs(a.green() - b.green()) < tolerance
           && qAbs(a.blue() - b.blue()) < tolerance;
}

// Waits until a visible window with exactly this title is there; its geometry, or an empty rect.
inline QRect awaitWindow(const QString &title, int timeoutMs = 10000)
{
    QRect r;
    waitUntil([&] { return !(r = windowNamed(title)).isEmpty(); }, timeoutMs);
    return r;
}

inline bool awaitWindowGone(const QString &title, int timeoutMs = 10000)
{
    return waitUntil([&] { return windowIds(title).isEmpty(); }, timeoutMs);
}

// The main window once it has its size, and half a second more: the first file is shown on its
// first activation. Empty when it did not come.
inline QRect awaitMainWindow(int timeoutMs = 15000)
{
    QRect window;
    const bool up =
        waitUntil([&] { return (window = windowNamed("Zidoverev")).size() == zv::layout::kWindow; }, timeoutMs);
    QTest::qWait(500);
    return up ? window : QRect();
}

// The ids of every visible window on the screen, whatever its title.
inline QStringList visibleWindows()
{
    QByteArray ids;
    xdotool({"search", "--onlyvisible", "--name", ""}, &ids);
    return QString::fromLatin1(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Opens the popup menu with a right click and walks it with keys once it is there. The menu is
// known by its own window coming up: the pixels where it opens may still show the last menu, as
// nothing repaints them while the program is busy with that menu's command.
inline bool chooseFromMenu(const QPoint &at, const QStringList &keys)
{
    const QStringList before = visibleWindows();
    const auto menuIsUp = [&] {
        const QStringList now = visibleWindows();
        return std::any_of(now.begin(), now.end(), [&](const QString &id) { return !before.contains(id); });
    };
    // A program busy with the last command (slower still under the sanitizers) opens it late.
    if (!clickAt(at, 1, 3) || !waitUntil(menuIsUp, 10000))
        return false;
    QTest::qWait(100);
    return pressKeys(keys);
}

// Waits for a message or input box that is not one of the windows there before, clicks its
// margin so it has the keyboard (without a window manager it may come up without), and presses
// the keys.
inline bool answerBox(const QString &title, const QStringList &keys, const QStringList &before = {})
{
    QString box;
    const auto boxIsUp = [&] {
        for (const QString &id : windowIds(title))
            box = before.contains(id) ? box : id;
        return !box.isEmpty();
    };
    QByteArray focused;
    const auto hasKeyboard = [&] {
        return xdotool({"getwindowfocus"}, &focused) && focused.trimmed() == box.toLatin1();
    };
    return waitUntil(boxIsUp, 10000) && xdotool({"mousemove", "--window", box, "3", "3", "click", "1"})
           && waitUntil(hasKeyboard, 5000) && pressKeys(keys);
}

} // namespace zv::test
