#pragma once

#include "operations/MediaPort.h"

#include <QString>

#include <memory>

namespace zv {

class ctrlAV;
class frmDaten;
class MovieModule;
class Shell;

// The media device and the player bar as the main window sees them.
class PlayerMedia final : public MediaPort {
public:
    PlayerMedia(MovieModule &movie, ctrlAV &bar)
        : m_movie(movie)
        , m_bar(bar)
    { }

    void closeMovie() override;
    void openVideo(const QString &path) override;
    bool isPlaying() override;
    int positionInMS() override;
    void stopMovie() override;
    void playMovie() override;
    void setPositionTo(int seconds) override;
    bool isBusy() const override;

private:
    MovieModule &m_movie;
    ctrlAV &m_bar;
    bool m_busy = false; // set while an open waits for the device inside its own event loop
};

struct AttachedPlayer {
    ctrlAV *bar = nullptr; // owned by the window
    std::unique_ptr<PlayerMedia> media;
};

// Puts the player bar under the main window's preview box and connects the two: the window
// releases and opens media through it, skins reach it, its picture-window button asks the
// window's own request signal.
AttachedPlayer attachPlayer(frmDaten &window, MovieModule &movie, Shell &shell, const QString &skinFolder);

} // namespace zv
