#pragma once
// How long the walks run: short under the sanitizers, longer by hand through the environment.
//   ZV_WALK_SEEDS  "1-3" or "4,9,12"   ZV_WALK_STEPS  steps per seed   ZV_WALK_MINIMISE=1 shortens a failing walk

#include <QList>
#include <QString>

namespace zv::test::walk {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kDefaultSteps = 40;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int kDefaultSteps = 40;
#else
inline constexpr int kDefaultSteps = 300;
#endif
#else
inline constexpr int kDefaultSteps = 300;
#endif

inline int stepsPerWalk()
{
    bool ok = false;
    const int steps = qEnvironmentVariableIntValue("ZV_WALK_STEPS", &ok);
    return ok && steps > 0 ? steps : kDefaultSteps;
}

inline QList<quint32> seeds(const QString &fallback)
{
    const QString text = qEnvironmentVariable("ZV_WALK_SEEDS", fallback);
    QList<quint32> list;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList range = part.split(QLatin1Char('-'));
        const quint32 first = range[0].toUInt();
        const quint32 last = range.size() > 1 ? range[1].toUInt() : first;
        for (quint32 s = first; s <= last; ++s)
            list << s;
    }
    return list;
}

} // namespace zv::test::walk
