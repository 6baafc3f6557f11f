#pragma once

#include "PictureRun.h"

#include "CameraDates.h"
#include "model/AlbumPaths.h"

namespace zv {

class Album;

// "Aufnahmedatum übernehmen" for the main window; the album takes each new date as it is written.
class CameraDateRun : public PictureRun {
    Q_OBJECT
public:
    CameraDateRun(AlbumPaths paths, Album &album, QObject *parent = nullptr);

    void start(const QStringList &names);

Q_SIGNALS:
    void stored(const QString &name, const PictureInfo &info);

protected:
    QString summary() const override;

private:
    void handled(const QString &name, const CameraDateResult &result);

    AlbumPaths m_paths;
    Album &m_album;
    CameraDateCounts m_counts;
};

} // namespace zv
