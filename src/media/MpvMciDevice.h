#pragma once

#include "media/MciCommand.h"
#include "media/MciDevice.h"
#include "media/MciMovieSettings.h"

#include <QObject>

#include <memory>

namespace zv {

class MpvSession;
class MpvVideoWidget;

// Understands the MCI command strings of the alias "movie" and carries them out with libmpv.
// Commands are synchronous: "open" returns once the file is ready or has failed (at most a few
// seconds), seeks once the new position is reached. One device, the alias "movie", exists;
// other device names answer with MCI's error codes. "parent <handle>" takes a handle from
// movieWindows::handleOf or a native window id. Must be used on the UI thread.
class MpvMciDevice final : public QObject, public MciDevice {
    Q_OBJECT

public:
    explicit MpvMciDevice(QObject *parent = nullptr);
    ~MpvMciDevice() override;

    MciResult send(const QString &command) override;
    QString errorText(int code) const override;

    // The widget showing the open movie, if it was opened into a window.
    MpvVideoWidget *videoWidget() const;

private:
    MciResult dispatch(const MciCommand &command);
    int open(const MciCommand &command);
    int close();
    int play(const MciCommand &command);
    int seek(const MciCommand &command);
    int set(const MciCommand &command);
    int setAudio(const MciCommand &command);
    int put(const MciCommand &command);
    int window(const MciCommand &command);
    int step(const MciCommand &command);
    void applyChannels();

    std::unique_ptr<MpvSession> m_session;
    MciMovieSettings m_settings;
};

} // namespace zv
