// Saving, renaming and deleting from the main window; the work itself is done window-free.
#include "frmDaten.h"

#include "DeleteEntries.h"
#include "MediaPort.h"
#include "RenameEntry.h"
#include "SaveInformation.h"

#include "app/AlbumListModel.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

namespace zv {
namespace {

class Hourglass {
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};

} // namespace

AlbumContext frmDaten::albumContext()
{
    return {m_services.paths, m_services.album, m_services.list, m_services.state, m_media};
}

void frmDaten::saveInformation()
{
    if (mediaBusy())
        return;
    const Hourglass hourglass;
    AlbumContext context = albumContext();
    const SaveOutcome outcome = zv::saveInformation(context, selectedRow(), m_fields->typed(), [this] {
        return m_services.dialogs.message(QStringLiteral("Speichern"),
                                          QStringLiteral("Die Datei ist schreibgeschützt,\r\n"
                                                         "soll trotzdem gespeichert werden?"),
                                          MessageIcon::Question, MessageButtons::YesNo)
               == MessageAnswer::Yes;
    });
    switch (outcome.result) {
    case SaveOutcome::Result::Saved:
        m_fields->txtDatum->setText(outcome.stored.datum);
        break;
    case SaveOutcome::Result::Declined:
        break;
    case SaveOutcome::Result::NoRow:
    case SaveOutcome::Result::Failed:
        m_services.dialogs.message(QStringLiteral("Speichern"), outcome.message, MessageIcon::Warning,
                                   MessageButtons::Ok);
        break;
    }
}

bool frmDaten::renameRow(int row, const QString &newName)
{
    AlbumContext context = albumContext();
    if (const auto refusal = renameEntry(context, row, newName)) {
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
    if (m_services.dialogs.message(QStringLiteral("löschen"), QStringLiteral("Soll der Löschvorgang gestartet werden?"),
                                   MessageIcon::Question, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    DeleteOutcome outcome;
    {
        const Hourglass hourglass;
        if (m_media)
            m_media->closeMovie();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // Thousands of selection ranges would each be kept in step with every removed run, so
        // the selection goes first, quietly; the rows it named are about to vanish.
        const std::vector<int> rows = selectedRowsAscending();
        lstBilder->selectionModel()->reset();
        lstBilder->viewport()->update();
        AlbumContext context = albumContext();
        outcome = deleteEntries(context, rows);
        m_services.list.setLoadedCount(m_services.list.rowCount());
    }
    if (!outcome.failures.isEmpty())
        m_services.dialogs.message(QStringLiteral("löschen"),
                                   QStringLiteral("Diese Dateien konnten nicht gelöscht werden:\n")
                                       + outcome.failures.join(QLatin1Char('\n')),
                                   MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zv
