#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zv::thumbnails {

// Which thumbnails to make, in which order: only those of rows on screen, the first row on
// screen first, a few at a time. Scrolling hands in the new rows; work for rows that left is
// dropped before it starts, and running work for them is named so it can be cancelled.
// Widget-free: the window says what is shown, the maker asks what to start.
class ThumbnailQueue {
public:
    explicit ThumbnailQueue(int parallel)
        : m_parallel(parallel)
    { }

    // The names now on screen, in screen order; `done` says which need no work (made or failed
    // already). Returns the running names no longer on screen.
    QStringList setShown(const QStringList &shown, const std::function<bool(const QString &)> &done);
    // The next name to make, when a slot is free; it counts as running until finished().
    std::optional<QString> take();
    void finished(const QString &name);

    bool isWaiting(const QString &name) const { return m_waiting.contains(name); }
    int running() const { return int(m_running.size()); }
    int waiting() const { return int(m_waiting.size()); }

private:
    int m_parallel;
    QStringList m_waiting; // in screen order
    QSet<QString> m_running;
};

} // namespace zv::thumbnails
