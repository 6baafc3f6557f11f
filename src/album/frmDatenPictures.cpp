// What cameras and phones leave to do: turning pictures upright and taking their dates. The work
// is done window-free, by the program in the background.
#include "frmDaten.h"

#include "PreviewBox.h"

#include "model/ProgramState.h"
#include "operations/RotatePicture.h"
#include "platform/Dialogs.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"

namespace zv {
namespace {

bool sameTexts(const PictureInfo &a, const PictureInfo &b)
{
    return withoutTrailingSpaces(a.namen) == withoutTrailingSpaces(b.namen)
           && withoutTrailingSpaces(a.ort) == withoutTrailingSpaces(b.ort)
           && withoutTrailingSpaces(a.datum) == withoutTrailingSpaces(b.datum)
           && withoutTrailingSpaces(a.anlass) == withoutTrailingSpaces(b.anlass)
           && withoutTrailingSpaces(a.bemerkungen) == withoutTrailingSpaces(b.bemerkungen);
}

} // namespace

// The user is asked about read-only files now, so the turns can go on without anyone watching.
void frmDaten::turnSelected(Turn turn)
{
    if (mediaBusy())
        return;
    QStringList names;
    QStringList agreed;
    for (const QString &name : selectedNamesInListOrder()) {
        const QString path = m_services.paths.mediaFile(name);
        if ((fileAttributes(path) & ReadOnlyAttribute) && turnWouldChange(path, turn)) {
            if (m_services.dialogs.message(turnCaption(turn),
                                           QStringLiteral("Die Datei „%1“ ist schreibgeschützt,\r\n"
                                                          "soll sie trotzdem gedreht werden?")
                                               .arg(displayFileName(name)),
                                           MessageIcon::Question, MessageButtons::YesNo)
                != MessageAnswer::Yes)
                continue;
            agreed << name;
        }
        names << name;
    }
    if (!names.isEmpty())
        Q_EMIT turnsRequested(names, turn, agreed);
}

void frmDaten::showTurnedFile(const QString &name)
{
    if (name == currentName())
        picVorschau->showPicture(m_services.state.CurrentFile);
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
