#pragma once

#include "media/MciCommand.h"
#include "media/MciDevice.h"
#include "media/MciMovieSettings.h"

namespace zv {

class MpvSession;

// The commands that only answer: "status", "where" and "info" on the open movie.
MciResult mciStatus(const MciCommand &command, MpvSession &session, const MciMovieSettings &settings);
MciResult mciWhere(const MciCommand &command, const MpvSession &session);
MciResult mciInfo(const MciCommand &command, const MpvSession &session);

} // namespace zv
