#pragma once

#include "model/AlbumListModel.h"
#include "model/AlbumPaths.h"
#include "thumbnails/Thumbnailer.h"

#include <QListView>
#include <QTimer>

namespace zv {

// The pictures' and videos' thumbnails in the icon view "Symbole": the list's decoration asks here first and
// gets a thumbnail once it is made, the kind icon until then. Only rows on screen are made; the
// view is asked which after every paint. "kleine Symbole" and "Liste"
// keep the kind icons: at 16 pixels a photo is a blot, while the kind icon still tells a
// picture from a video, and those views show far more rows at a time.
class AlbumThumbnails : public QObject {
    Q_OBJECT
public:
    AlbumThumbnails(QListView &view, AlbumListModel &list, AlbumPaths paths, QString cacheRoot);

    static constexpr int kIconSize = 64;

    // The name cell's icon: the thumbnail while thumbnails are on and it is ready.
    QVariant decoration(const ListRow &row) const;
    // On in "Symbole", off in the other views (where nothing is made).
    void setShowing(bool on);
    bool showing() const { return m_showing; }

    thumbnails::Thumbnailer &maker() { return m_maker; }
    // The rows on screen now, in screen order.
    std::vector<int> rowsOnScreen() const;

private:
    void refreshSoon();
    void refresh();
    void rowsChanged(const QModelIndex &first, const QModelIndex &last, const QList<int> &roles);
    void showReady(const QString &name);
    bool eventFilter(QObject *watched, QEvent *event) override;

    QListView &m_view;
    AlbumListModel &m_list;
    AlbumPaths m_paths;
    thumbnails::Thumbnailer m_maker;
    QTimer m_refresh;
    bool m_showing = false;
};

} // namespace zv
