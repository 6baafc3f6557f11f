#pragma once

#include "PictureRun.h"

#include "metadata/JpegTurn.h"
#include "model/AlbumPaths.h"

namespace zv {

class Album;

// "aufrecht stellen", "links drehen" and "rechts drehen" for the main window: a 24-megapixel
// JPEG takes about a third of a second, too long to hold the window for a selection.
class TurnRun : public PictureRun {
    Q_OBJECT
public:
    TurnRun(AlbumPaths paths, Album &album, QObject *parent = nullptr);

    // Read-only files are turned only when named in readOnlyAgreed: the user was asked before.
    void start(const QStringList &names, Turn turn, const QStringList &readOnlyAgreed);

Q_SIGNALS:
    void turned(const QString &name);

protected:
    // The files left as they were and why, the first few of them.
    QString summary() const override;

private:
    AlbumPaths m_paths;
    Album &m_album;
    QStringList m_problems;
};

} // namespace zv
