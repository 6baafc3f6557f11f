#pragma once
// A person at the keyboard and mouse of the X server, through xdotool.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QPoint>
#include <QProcess>
#include <QRect>
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

// The on-screen geometry of the first visible window with exactly this title, or an empty rect.
inline QRect windowNamed(const QString &title)
{
    QByteArray ids;
    if (!xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + title + QLatin1Char('$')},
                 &ids))
        return {};
    const QString id = QString::fromLatin1(ids.split('\n').value(0));
    QByteArray shell;
    if (id.isEmpty() || !xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id}, &shell))
        return {};
    QRect r;
    for (const QByteArray &line : shell.split('\n')) {
        const auto value = [&](const char *key) { return line.mid(qstrlen(key)).toInt(); };
        if (line.startsWith("X="))
            r.moveLeft(value("X="));
        else if (line.startsWith("Y="))
            r.moveTop(value("Y="));
        else if (line.startsWith("WIDTH="))
            r.setWidth(value("WIDTH="));
        else if (line.startsWith("HEIGHT="))
            r.setHeight(value("HEIGHT="));
    }
    return r;
}

inline bool clickAt(const QPoint &screen, int count = 1)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(screen.x()), QString::number(screen.y()),
                    QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(count), QStringLiteral("1")});
}

inline bool pressKeys(const QStringList &keys)
{
    return xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} + keys);
}

inline bool typeText(const QString &text)
{
    return xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

inline bool rightClickAt(const QPoint &screen)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(screen.x()), QString::number(screen.y()),
                    QStringLiteral("click"), QStringLiteral("3")});
}

// Waits until a visible window with exactly this title is there; its geometry, or an empty rect.
inline QRect awaitWindow(const QString &title, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    QRect r;
    while ((r = windowNamed(title)).isEmpty() && !deadline.hasExpired())
        QTest::qWait(50);
    return r;
}

// Waits until no visible window has this title any more.
inline bool awaitWindowGone(const QString &title, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!windowNamed(title).isEmpty()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

// True when a process shows a visible window with exactly this title.
inline bool hasWindow(qint64 pid, const QString &title)
{
    QByteArray ids;
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                    QString::number(pid), QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')},
                   &ids)
        && !ids.trimmed().isEmpty();
}

// The ids of the visible windows with this title; the search is blind to letter case.
inline QStringList windowIds(const QString &title)
{
    QByteArray ids;
    if (!xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + title + QLatin1Char('$')},
                 &ids))
        return {};
    return QString::fromLatin1(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline bool clickInWindow(const QString &id, const QPoint &at)
{
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QString::number(at.x()),
                    QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// Waits until the keyboard goes to this window (without a window manager only a click on it, or
// the program itself, moves it there).
inline bool awaitFocus(const QString &id, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray focused;
    while (!xdotool({QStringLiteral("getwindowfocus")}, &focused) || QString::fromLatin1(focused).trimmed() != id) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The main window once it has its size, and half a second more: the first file is shown on its
// first activation. Empty when it did not come.
inline QRect awaitMainWindow(int timeoutMs = 15000)
{
    const QDeadlineTimer deadline(timeoutMs);
    QRect window;
    while ((window = windowNamed(QStringLiteral("Zidoverev"))).size() != QSize(799, 600) && !deadline.hasExpired())
        QTest::qWait(50);
    QTest::qWait(500);
    return window.size() == QSize(799, 600) ? window : QRect();
}

} // namespace zv::test
