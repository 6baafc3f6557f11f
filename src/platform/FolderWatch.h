#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace zv {

// One change of a name directly in the watched folder, as the kernel reported it.
struct FolderEvent {
    enum class Kind {
        Appeared, // created, or moved in from elsewhere
        Vanished, // removed, or moved out
        Renamed, // moved within the folder: name became newName
        Rewritten, // written and closed, or its mode changed
    };
    Kind kind = Kind::Appeared;
    QString name; // decoded as the album decodes names
    QString newName; // Renamed only

    bool operator==(const FolderEvent &) const = default;
};

// Watches one folder (not each file in it) for names that appear, vanish, are renamed or
// rewritten, by any program, this one included. It sees what this machine's kernel does: a
// network share written by other machines reports nothing.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    explicit FolderWatch(QObject *parent = nullptr);
    ~FolderWatch() override;
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    // 0 once the folder is watched, errno otherwise; a second call watches the new folder instead.
    int watch(const QString &folder);
    bool isWatching() const { return m_watch >= 0; }

Q_SIGNALS:
    // The events of one read, in the order they happened.
    void changed(const QList<zv::FolderEvent> &events);
    // The kernel dropped events, or the folder itself went away: names may have changed unseen.
    void lost();

private:
    void readEvents();
    void stop();

    int m_fd = -1;
    int m_watch = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace zv
