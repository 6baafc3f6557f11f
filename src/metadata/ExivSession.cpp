#include "ExivSession.h"

#include <mutex>

#include <exiv2/exiv2.hpp>

namespace zv {

void prepareExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // The XMP parser's set-up is not thread-safe; done once here, before any reader runs.
        Exiv2::XmpParser::initialize();
        // Damaged blocks are reported by what the readers return, not by lines on stderr.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::enableBMFF(true);
    });
}

} // namespace zv
