#include "TurnRun.h"

#include "RotatePicture.h"

namespace zv {

TurnRun::TurnRun(AlbumPaths paths, Album &album, QObject *parent)
    : PictureRun(parent)
    , m_paths(std::move(paths))
    , m_album(album)
{ }

void TurnRun::start(const QStringList &names, Turn turn, const QStringList &readOnlyAgreed)
{
    if (isRunning())
        return;
    m_problems.clear();
    run(names, [this, turn, readOnlyAgreed, paths = m_paths](const QString &name) -> std::function<void()> {
        const RotateOutcome outcome = turnPictureFile(paths.mediaFile(name), paths.mediaFolder(), turn,
                                                      [&] { return readOnlyAgreed.contains(name); });
        return [this, name, outcome] {
            switch (outcome.result) {
            case RotateOutcome::Result::Turned:
                takeTurnedFile(m_album, m_paths.mediaFolder(), name);
                Q_EMIT turned(name);
                break;
            case RotateOutcome::Result::AlreadyUpright:
            case RotateOutcome::Result::Declined:
                break;
            default:
                m_problems << outcome.message;
                break;
            }
        };
    });
}

QString TurnRun::summary() const
{
    // A selection of hundreds may fail for one reason each; the box shows the first few.
    constexpr qsizetype kShown = 8;
    QString text = m_problems.mid(0, kShown).join(QLatin1Char('\n'));
    if (m_problems.size() > kShown)
        text += QStringLiteral("\n… und %1 weitere").arg(m_problems.size() - kShown);
    return text;
}

} // namespace zv
