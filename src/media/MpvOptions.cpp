#include "media/MpvOptions.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <mpv/client.h>

namespace zv {
namespace {

// Nothing from outside decides what mpv does: no config, scripts, network or playlists.
const char *const Options[][2] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"input-terminal", "no"},
    // Its messages go to the category zv.media.mpv instead of the terminal.
    {"terminal", "no"},
    {"load-unsafe-playlists", "no"},
    {"access-references", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"cover-art-auto", "no"},
    {"audio-display", "no"},
    {"osd-level", "0"},
    {"idle", "yes"},
    {"keep-open", "yes"},
    {"pause", "yes"},
    {"force-window", "no"},
    // No hardware decoding and no GL interop for it: probing them only complains (libcuda).
    {"hwdec", "no"},
    {"gpu-hwdec-interop", "no"},
    // Exact seeks: MPEG program streams otherwise land on the keyframe after the target.
    {"hr-seek", "yes"},
    {"hr-seek-demuxer-offset", "1"},
    {"vo", "libmpv"},
    {"audio-fallback-to-null", "yes"},
};

// The sound outputs worth trying here. Probing an output that is not there writes to stderr
// from inside its library (ALSA without a card, PipeWire without its configuration), so only
// outputs with a sign of life are named; none means silent playback.
const QByteArray &audioOutputs()
{
    static const QByteArray list = [] {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QStringList outputs;
        if (qEnvironmentVariableIsSet("PULSE_SERVER")
            || (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pulse/native"))))
            outputs << QStringLiteral("pulse");
        if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pipewire-0")))
            outputs << QStringLiteral("pipewire");
        QFile cards(QStringLiteral("/proc/asound/cards"));
        if (cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards"))
            outputs << QStringLiteral("alsa");
        return outputs.isEmpty() ? QByteArray("null") : outputs.join(u',').toLatin1();
    }();
    return list;
}

} // namespace

void setMpvOptions(mpv_handle *mpv, bool withWindow)
{
    for (const auto &option : Options)
        mpv_set_option_string(mpv, option[0], option[1]);
    mpv_set_option_string(mpv, "ao", audioOutputs().constData());
    if (!withWindow)
        mpv_set_option_string(mpv, "vid", "no");
}

} // namespace zv
