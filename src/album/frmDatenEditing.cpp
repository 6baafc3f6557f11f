// Saving, renaming and deleting from the main window; the work itself is done window-free.
#include "frmDaten.h"

#include "AlbumViews.h"

#include "model/AlbumListModel.h"
#include "model/DateForm.h"
#include "model/ProgramState.h"
#include "operations/DeleteEntries.h"
#include "operations/MediaPort.h"
#include "operations/RenameEntry.h"
#include "operations/SaveInformation.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/WaitCursor.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

namespace zv {
AlbumContext frmDaten::albumContext()
{
    return {m_services.paths, m_services.album, m_services.state, m_media};
}

void frmDaten::saveInformation()
{
    if (mediaBusy())
        return;
    if (m_services.state.SearchWordsInBoxes) {
        m_services.dialogs.message(QStringLiteral("Speichern"),
                                   QStringLiteral("Die Felder enthalten Suchbegriffe, keine Bildinformationen.\n"
                                                  "Bitte erst mit „Zurück“ die Suche verlassen oder eine Datei "
                                                  "anklicken."),
                                   MessageIcon::Information, MessageButtons::Ok);
        return;
    }
#ifdef ZV_FAULT_SAVE_INTO_SELECTED_ROW
    // A deliberate fault, built only for the test that shows the random walk catches it.
    const int faultRow = selectedRow();
    const QString target = faultRow >= 0 ? m_services.list.row(faultRow).name : currentName();
#else
    const QString target = currentName();
#endif
    // The questions come in this order: a date that would not be stored as typed, then a
    // read-only file; with no file shown there is nothing to ask about.
    const PictureInfo typed = m_fields->typed();
    if (!target.isEmpty() && m_fields->dateChanged()) {
        if (const auto question = dateFormQuestion(typed.datum)) {
            if (m_services.dialogs.message(QStringLiteral("Speichern"), *question, MessageIcon::Question,
                                           MessageButtons::YesNo)
                != MessageAnswer::Yes) {
                m_fields->txtDatum->setFocus(); // to correct it
                return;
            }
        }
    }
    const WaitCursor hourglass;
    AlbumContext context = albumContext();
    const auto confirmReadOnly = [this] {
        return m_services.dialogs.message(QStringLiteral("Speichern"),
                                          QStringLiteral("Die Datei ist schreibgeschützt,\r\n"
                                                         "soll trotzdem gespeichert werden?"),
                                          MessageIcon::Question, MessageButtons::YesNo)
               == MessageAnswer::Yes;
    };
    const auto keepMine = [this, &target](const FieldConflict &conflict) -> std::optional<bool> {
        switch (m_services.dialogs.message(QStringLiteral("Speichern"), conflictQuestion(target, conflict),
                                           MessageIcon::Question, MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return true;
        case MessageAnswer::No:
            return false;
        default:
            return std::nullopt;
        }
    };
    const SaveOutcome outcome =
        saveOverOtherChanges(context, target, m_fields->shown(), typed, confirmReadOnly, keepMine);
    switch (outcome.result) {
    case SaveOutcome::Result::Saved:
        // What another program wrote may now stand in a box the user did not touch.
        m_fields->show(outcome.stored);
        break;
    case SaveOutcome::Result::Declined:
        break;
    case SaveOutcome::Result::NoFile:
    case SaveOutcome::Result::Failed:
        m_services.dialogs.message(QStringLiteral("Speichern"), outcome.message, MessageIcon::Warning,
                                   MessageButtons::Ok);
        break;
    }
}

bool frmDaten::renameRow(int row, const QString &newName)
{
    AlbumContext context = albumContext();
    if (const auto refusal = renameEntry(context, m_services.list.row(row).name, newName)) {
        m_services.dialogs.message(refusal->title, refusal->text,
                                   refusal->exclamation ? MessageIcon::Warning : MessageIcon::Information,
                                   MessageButtons::Ok);
        return false;
    }
    return true;
}

void frmDaten::DeleteSelected()
{
    if (mediaBusy())
        return;
    if (m_services.dialogs.message(QStringLiteral("löschen"), deleteQuestion(selectedNamesInListOrder()),
                                   MessageIcon::Question, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    DeleteOutcome outcome;
    {
        const WaitCursor hourglass;
        if (m_media)
            m_media->closeMovie();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // Read again after the events: the selection is what is deleted.
        const QStringList names = selectedNamesInListOrder();
        // Thousands of selection ranges would each be kept in step with every removed run, so
        // the selection goes first, quietly; the rows it named are about to vanish.
        lstBilder->selectionModel()->reset();
        lstBilder->viewport()->update();
        lstSymbole->viewport()->update();
        AlbumContext context = albumContext();
        outcome = deleteEntries(context, names);
        m_services.list.setLoadedCount(m_services.list.rowCount());
        if (outcome.shownFileDeleted)
            showNoFile();
    }
    if (const QString failures = outcome.failureText(); !failures.isEmpty())
        m_services.dialogs.message(QStringLiteral("löschen"), failures, MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zv
