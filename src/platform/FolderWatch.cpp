#include "FolderWatch.h"

#include "FileNames.h"

#include <QHash>
#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace zv {

FolderWatch::FolderWatch(QObject *parent)
    : QObject(parent)
{ }

FolderWatch::~FolderWatch()
{
    stop();
}

void FolderWatch::stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_watch = -1;
}

int FolderWatch::watch(const QString &folder)
{
    stop();
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return errno;
    // IN_CLOSE_WRITE rather than IN_MODIFY: a file is looked at once it is written, not at every
    // block of a long copy.
    const uint32_t mask = IN_CREATE | IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
                          | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
    m_watch = ::inotify_add_watch(m_fd, nativePath(folder).constData(), mask);
    if (m_watch < 0) {
        const int error = errno;
        stop();
        return error;
    }
    m_notifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatch::readEvents);
    return 0;
}

void FolderWatch::readEvents()
{
    alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
    QList<FolderEvent> events;
    // A move within the folder comes as a pair sharing a cookie; the half still waiting for its
    // other half, by cookie, and where its event stands in the list.
    QHash<uint32_t, qsizetype> movedFrom;
    bool lostSome = false;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char *name = buffer + at + sizeof event;
            at += ssize_t(sizeof event + event.len);
            if (event.mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                if (event.mask & IN_IGNORED)
                    m_watch = -1; // the kernel ended the watch
                lostSome = true;
                continue;
            }
            if (event.len == 0 || (event.mask & IN_ISDIR))
                continue;
            const QString decoded = decodeFileName(name);
            if (event.mask & IN_MOVED_FROM) {
                movedFrom.insert(event.cookie, events.size());
                events.append({FolderEvent::Kind::Vanished, decoded, {}});
            } else if (event.mask & IN_MOVED_TO) {
                const auto pair = movedFrom.constFind(event.cookie);
                if (pair == movedFrom.constEnd()) {
                    events.append({FolderEvent::Kind::Appeared, decoded, {}});
                } else {
                    FolderEvent &from = events[*pair];
                    from.kind = FolderEvent::Kind::Renamed;
                    from.newName = decoded;
                    movedFrom.erase(pair);
                }
            } else if (event.mask & IN_CREATE) {
                events.append({FolderEvent::Kind::Appeared, decoded, {}});
            } else if (event.mask & IN_DELETE) {
                events.append({FolderEvent::Kind::Vanished, decoded, {}});
            } else if (event.mask & (IN_CLOSE_WRITE | IN_ATTRIB)) {
                events.append({FolderEvent::Kind::Rewritten, decoded, {}});
            }
        }
    }
    if (!events.isEmpty())
        Q_EMIT changed(events);
    if (lostSome) {
        // The folder itself was removed or moved away: nothing more will come from this watch.
        Q_EMIT lost();
    }
}

} // namespace zv
