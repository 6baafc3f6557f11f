#pragma once

#include "AlbumContext.h"
#include "FolderChanges.h"

#include "platform/FolderWatch.h"

#include <QObject>
#include <QTimer>

namespace zv {

// Keeps the album in line with its media folder while the program runs: it watches the folder,
// gathers what happens for a moment (a copy is many events) and then brings the album in line
// with the names they touched.
class FolderFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int kGatherMs = 200;

    explicit FolderFollower(AlbumContext context, QObject *parent = nullptr);

    // 0 once the media folder is watched, errno otherwise; the album is then only as fresh as
    // its loading, and Speichern's own check is the guard.
    int start();

Q_SIGNALS:
    // After each reconcile that changed the album.
    void followed(const zv::FolderReconcile &outcome);

private:
    void gather(const QList<FolderEvent> &events);
    void reconcile();

    AlbumContext m_context;
    FolderWatch m_watch;
    QTimer m_gathering;
    QList<FolderEvent> m_events;
    bool m_lost = false;
};

} // namespace zv
