#pragma once

namespace zv {

class MpvSession;

// What MCI keeps per open movie besides the media engine's own state.
struct MciMovieSettings {
    enum class TimeFormat { Milliseconds, Frames };

    TimeFormat timeFormat = TimeFormat::Milliseconds;
    int volume = 1000;
    int leftVolume = 1000;
    int rightVolume = 1000;
    int speed = 1000;
    bool leftOn = true;
    bool rightOn = true;
    bool audioOn = true;
    bool videoOn = true;

    // Positions and lengths in the current time format.
    long long toUnits(const MpvSession &session, double seconds) const;
    double fromUnits(const MpvSession &session, long long units) const;
};

} // namespace zv
