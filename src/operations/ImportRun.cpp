#include "ImportRun.h"

#include "FreeSpace.h"
#include "Numbering.h"

#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "model/AlbumLoader.h"
#include "platform/ArchiveAttribute.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"
#include "platform/SettingsStore.h"
#include "store/PictureTrailer.h"

namespace zv {
namespace {

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Letter case kept, without the point; empty without one.
QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

} // namespace

ImportRun::ImportRun(ImportContext context, QStringList sources, ImportOptions options)
    : m_context(context)
    , m_sources(std::move(sources))
    , m_options(std::move(options))
{ }

std::optional<TransferFailure> ImportRun::begin()
{
    // The window's number box takes digits only; the companion passes what it was given.
    if (m_options.numbering && !isNumberText(m_options.startNumber))
        return TransferFailure{QStringLiteral("Hinweis"), QStringLiteral("Die Startnummer muss eine Zahl sein.")};
    if (m_options.numbering && !parseStartNumber(m_options.startNumber))
        return TransferFailure{QStringLiteral("Hinweis"),
                               QStringLiteral("Die Startnummer darf höchstens 18 Ziffern haben.")};
    m_context.settings.setValue(kImportSection, kNumberKey, m_options.startNumber);
    return std::nullopt;
}

bool ImportRun::taken(const QString &name) const
{
    return m_context.album.containsAnyCase(name) || m_underWay.contains(name.toCaseFolded())
           || nameStatus(m_context.paths.mediaFile(name)).exists();
}

TransferStep ImportRun::prepare(int i)
{
    TransferStep step;
    step.source = m_sources[i];
    const QString sourceName = fileNameOf(step.source);
    const qint64 bytes = pathStatus(step.source).size;

    if (const auto refusal = freeSpaceRefusal(bytes, m_context.drives.driveOf(m_context.paths.programFolder),
                                              displayFileName(sourceName))) {
        step.action = TransferStep::Action::Stop;
        step.stopTitle = refusal->title;
        step.stopText = refusal->text;
        return step;
    }

    step.targetName = sourceName;
    if (m_options.numbering) {
        if (!takeNextNumber(step)) {
            step.action = TransferStep::Action::Stop;
            step.stopTitle = QStringLiteral("Hinweis");
            step.stopText = QStringLiteral("Die Startnummer darf höchstens 18 Ziffern haben.");
            return step;
        }
    }
    step.target = m_context.paths.mediaFile(step.targetName);
    // A running number never replaces: when another writer took it since it was chosen, placing
    // fails and retarget takes the next one. Asking here would ask about a file the user never chose.
    step.replacing = !m_options.numbering
                     && (nameStatus(step.target).exists() || m_underWay.contains(step.targetName.toCaseFolded()));
    if (step.replacing && !m_decision.replace({step.target, step.source}, m_context.question))
        return step; // Skip
    step.placing = step.replacing ? Placing::Replace : Placing::NewName;
    clearArchiveAttribute(step.source);
    step.action = TransferStep::Action::Copy;
    m_underWay.insert(step.targetName.toCaseFolded());
    return step;
}

bool ImportRun::takeNextNumber(TransferStep &step)
{
    // Read anew for every file: the setting is the numbering's memory, across runs too.
    const auto n = parseStartNumber(m_context.settings.value(kImportSection, kNumberKey, QStringLiteral("0")));
    if (!n)
        return false;
    const NumberedName numbered =
        numberedName(*n, extensionOf(fileNameOf(step.source)), [this](const QString &name) { return taken(name); });
    step.targetName = numbered.name;
    m_context.settings.setValue(kImportSection, kNumberKey, QString::number(numbered.next));
    return true;
}

std::optional<TransferStep> ImportRun::retarget(const TransferStep &step)
{
    m_underWay.remove(step.targetName.toCaseFolded());
    TransferStep again = step;
    if (m_options.numbering) {
        // Another writer took the number: the next free one, as if it had been taken before.
        if (!takeNextNumber(again))
            return std::nullopt;
        again.replacing = false;
        again.placing = Placing::NewName;
    } else {
        if (!m_decision.replace({m_context.paths.mediaFile(step.targetName), step.source}, m_context.question))
            return std::nullopt;
        again.replacing = true;
        again.placing = Placing::Replace;
    }
    again.target = m_context.paths.mediaFile(again.targetName);
    m_underWay.insert(again.targetName.toCaseFolded());
    return again;
}

void ImportRun::amendCopy(const TransferStep &step, PendingCopy &copy, CopyIo &io)
{
    if (!m_options.cameraDate || !copy.result())
        return;
    // Read from the source, whose bytes the copy holds: the copy has no name to read it by yet.
    CameraDateResult dated = cameraDateFor(step.source);
    if (dated.result == CameraDateResult::Result::Dated) {
        const bool marked = !dated.stored.marker.isEmpty();
        dated.stored.marker = QString::fromLatin1(trailer::kMarker);
        const trailer::Placement place = trailer::placeFor(copy.result().bytes, marked);
        if (copy.replaceTail(place.offset, trailer::encode(dated.stored), io))
            return; // the copy failed with it, and finish tells why
    }
    const QMutexLocker lock(&m_datedLock);
    m_dated.insert(step.source, dated);
}

TransferFailure ImportRun::finish(const TransferStep &step, const CopyResult &copied)
{
    m_underWay.remove(step.targetName.toCaseFolded());
    if (copied.failure == CopyFailure::Cancelled)
        return {};
    if (!copied)
        return copyFailure(fileNameOf(step.source), copied);
    TransferFailure dateFailure;
    if (m_options.cameraDate) {
        const QMutexLocker lock(&m_datedLock);
        const CameraDateResult dated = m_dated.take(step.source);
        zv::count(m_cameraDates, dated);
        if (dated.result == CameraDateResult::Result::Failed)
            dateFailure = {QStringLiteral("Aufnahmedatum"), dated.message};
    }
    auto entry = loadEntry(m_context.paths.mediaFolder(), step.targetName);
    if (!entry)
        return copyFailure(fileNameOf(step.source), {CopyFailure::SourceUnreadable, 0, 0});
    ++m_copied;
    m_unknown += entry->kind == MediaKind::Unbekannt;
    // The album announces the new or refreshed entry, and the list follows it.
    Album &album = m_context.album;
    if (const auto existing = step.replacing ? album.indexOf(step.targetName) : std::nullopt)
        album.replaceFile(*existing, *entry);
    else
        album.append(std::move(*entry));
    return dateFailure;
}

void ImportRun::end()
{
    if (m_context.list)
        m_context.list->setLoadedCount(m_context.list->rowCount());
}

} // namespace zv
