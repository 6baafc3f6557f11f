// What cameras and phones leave to do: turning pictures upright and taking their dates. The work
// is done window-free; the dates are taken by the program in the background.
#include "frmDaten.h"

#include "PreviewBox.h"

#include "model/ProgramState.h"
#include "operations/RotatePicture.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/WaitCursor.h"

namespace zv {
namespace {

QString turnCaption(Turn turn)
{
    switch (turn) {
    case Turn::Upright:
        return QStringLiteral("aufrecht stellen");
    case Turn::Left:
        return QStringLiteral("links drehen");
    case Turn::Right:
        break;
    }
    return QStringLiteral("rechts drehen");
}

// A selection of hundreds may fail for one reason each; the box shows the first few.
QString listed(const QStringList &problems)
{
    constexpr qsizetype kShown = 8;
    QString text = problems.mid(0, kShown).join(QLatin1Char('\n'));
    if (problems.size() > kShown)
        text += QStringLiteral("\n… und %1 weitere").arg(problems.size() - kShown);
    return text;
}

bool sameTexts(const PictureInfo &a, const PictureInfo &b)
{
    return withoutTrailingSpaces(a.namen) == withoutTrailingSpaces(b.namen)
           && withoutTrailingSpaces(a.ort) == withoutTrailingSpaces(b.ort)
           && withoutTrailingSpaces(a.datum) == withoutTrailingSpaces(b.datum)
           && withoutTrailingSpaces(a.anlass) == withoutTrailingSpaces(b.anlass)
           && withoutTrailingSpaces(a.bemerkungen) == withoutTrailingSpaces(b.bemerkungen);
}

} // namespace

void frmDaten::turnSelected(Turn turn)
{
    if (mediaBusy())
        return;
    const QStringList names = selectedNamesInListOrder();
    const QString title = turnCaption(turn);
    QStringList problems;
    {
        const WaitCursor hourglass;
        AlbumContext context = albumContext();
        QString asking;
        const auto confirmReadOnly = [this, &title, &asking] {
            return m_services.dialogs.message(title,
                                              QStringLiteral("Die Datei „%1“ ist schreibgeschützt,\r\n"
                                                             "soll sie trotzdem gedreht werden?")
                                                  .arg(displayFileName(asking)),
                                              MessageIcon::Question, MessageButtons::YesNo)
                   == MessageAnswer::Yes;
        };
        for (const QString &name : names) {
            asking = name;
            const RotateOutcome outcome = rotatePicture(context, name, turn, confirmReadOnly);
            switch (outcome.result) {
            case RotateOutcome::Result::Turned:
                if (name == currentName())
                    picVorschau->showPicture(m_services.state.CurrentFile);
                break;
            case RotateOutcome::Result::AlreadyUpright:
            case RotateOutcome::Result::Declined:
                break;
            default:
                problems << outcome.message;
                break;
            }
        }
    }
    if (!problems.isEmpty())
        m_services.dialogs.message(title, listed(problems), MessageIcon::Warning, MessageButtons::Ok);
}

void frmDaten::takeStoredInformation(const QString &name, const PictureInfo &stored)
{
    if (name != currentName() || m_services.state.SearchWordsInBoxes)
        return;
    if (!sameTexts(m_fields->typed(), m_fields->shown()))
        return;
    m_fields->show(stored);
}

} // namespace zv
