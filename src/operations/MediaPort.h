#pragma once

#include <QString>

namespace zv {

// What the main window needs of the media device and the player bar. The program provides
// it; tests record it.
class MediaPort {
public:
    virtual ~MediaPort() = default;
    // Releases the open media file, so it can be written, renamed or deleted.
    virtual void closeMovie() = 0;
    // Shows the video in the preview box, stopped at its start.
    virtual void openVideo(const QString &path) = 0;
    virtual bool isPlaying() = 0;
    virtual int positionInMS() = 0;
    virtual void stopMovie() = 0;
    virtual void playMovie() = 0;
    virtual void setPositionTo(int seconds) = 0;
    // True while an operation waits for the device; input meanwhile would re-enter the window.
    virtual bool isBusy() const = 0;
};

} // namespace zv
