#include "EntryOutput.h"
#include "Verbs.h"

#include "model/DateForm.h"
#include "operations/CameraDates.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"
#include "store/Windows1252.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace albuminfo {

namespace {

struct Field {
    const char *option;
    const char *caption;
    QString zv::PictureInfo::*member;
};

constexpr Field kFields[] = {
    {"--namen", "Namen", &zv::PictureInfo::namen},
    {"--ort", "Ort", &zv::PictureInfo::ort},
    {"--datum", "Datum", &zv::PictureInfo::datum},
    {"--anlass", "Anlass", &zv::PictureInfo::anlass},
    {"--bemerkungen", "Bemerkungen", &zv::PictureInfo::bemerkungen},
};

constexpr std::size_t kDatum = 2;
static_assert(kFields[kDatum].member == &zv::PictureInfo::datum);

struct Request {
    QString file;
    std::optional<QString> values[std::size(kFields)];
    bool evenIfReadOnly = false;
};

std::optional<Request> parse(const QStringList &args)
{
    Request request;
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--")))
        return std::nullopt;
    request.file = args.first();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--schreibgeschuetzt")) {
            request.evenIfReadOnly = true;
            continue;
        }
        std::size_t f = 0;
        while (f < std::size(kFields) && args[i] != QLatin1String(kFields[f].option))
            ++f;
        if (f == std::size(kFields) || i + 1 >= args.size())
            return std::nullopt;
        request.values[f] = args[++i];
    }
    return request;
}

const QString kCameraDateOption = QStringLiteral("--datum-aus-kamera");

// Several files at once, each given its camera's day where it has no date; no other field, so a
// typed text never lands in three hundred files by mistake.
int takeCameraDates(const QStringList &args, QTextStream &err)
{
    QStringList files;
    for (const QString &arg : args) {
        if (arg == kCameraDateOption)
            continue;
        if (arg.startsWith(QLatin1String("--")))
            return usage(err);
        files << arg;
    }
    if (files.isEmpty())
        return usage(err);
    // Each save waits for its flush; a few at once share the waiting.
    std::vector<zv::CameraDateResult> results(std::size_t(files.size()));
    std::atomic<qsizetype> next = 0;
    std::vector<std::thread> workers;
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 4);
    for (int t = 0; t < threads && t < files.size(); ++t)
        workers.emplace_back([&] {
            for (qsizetype i; (i = next++) < files.size();)
                results[std::size_t(i)] = zv::takeCameraDate(files[i], QFileInfo(files[i]).path());
        });
    for (std::thread &worker : workers)
        worker.join();
    zv::CameraDateCounts counts;
    for (const zv::CameraDateResult &result : results)
        zv::count(counts, result);
    // The counts for the script's output, each failure's reason where errors go.
    for (const QString &failure : std::exchange(counts.failures, {}))
        err << failure << '\n';
    QTextStream out(stdout);
    out << zv::cameraDateSummary(counts) << '\n';
    return counts.failed > 0 ? 1 : 0;
}

} // namespace

int set(const QStringList &args, QTextStream &err)
{
    if (args.contains(kCameraDateOption))
        return takeCameraDates(args, err);
    const std::optional<Request> request = parse(args);
    if (!request)
        return usage(err);
    const QString &file = request->file;

    for (std::size_t f = 0; f < std::size(kFields); ++f) {
        if (!request->values[f])
            continue;
        const QStringList unstorable = zv::windows1252::unencodable(*request->values[f]);
        if (!unstorable.isEmpty()) {
            err << "Im Feld " << kFields[f].caption << " stehen Zeichen, die nicht gespeichert werden können: \""
                << unstorable.join(QLatin1String("\", \"")) << "\". Es wurde nichts gespeichert.\n";
            return 1;
        }
    }

    // Fields not given keep what the file holds.
    const zv::PictureReadResult stored = zv::ReadPictureInfo(file);
    if (stored.error) {
        err << stored.error.message << '\n';
        return 1;
    }
    zv::PictureInfo info = zv::trimmed(stored.info);
    for (std::size_t f = 0; f < std::size(kFields); ++f) {
        if (request->values[f])
            info.*kFields[f].member = *request->values[f];
    }
    // The date takes the form the save button gives it, given or kept.
    info.datum = zv::dateForm(info.datum);

    // A link in the file's folder may lead anywhere; neither its target nor its mode is touched.
    const QString folder = QFileInfo(file).path();
    if (const zv::TrailerError refusal = zv::refuseLinkOutOf(file, folder)) {
        err << refusal.message << '\n';
        return 1;
    }

    const std::optional<unsigned int> mode = zv::fileMode(file);
    if (!mode) { // errno is the failed look at the file's mode
        err << "Die Datei \"" << escapedField(file) << "\" kann nicht beschrieben werden: " << zv::errorText(errno)
            << ".\n";
        return 1;
    }
    const bool readOnly = zv::isReadOnlyMode(*mode);
    if (readOnly && !request->evenIfReadOnly) {
        err << "Die Datei \"" << escapedField(file)
            << "\" ist schreibgeschützt; mit --schreibgeschuetzt wird sie "
               "trotzdem gespeichert und bleibt schreibgeschützt.\n";
        return 1;
    }
    if (const int error = readOnly ? zv::setFileMode(file, zv::ownerWritableMode(*mode)) : 0) {
        err << "Der Schreibschutz von \"" << escapedField(file)
            << "\" kann nicht aufgehoben werden: " << zv::errorText(error) << ".\n";
        return 1;
    }
    const zv::TrailerError error = zv::WritePictureInfo(file, info, folder);
    if (const int error = readOnly ? zv::setFileMode(file, *mode) : 0) {
        err << "Der Schreibschutz von \"" << escapedField(file)
            << "\" kann nicht wiederhergestellt werden: " << zv::errorText(error) << ".\n";
        return 1;
    }
    if (error) {
        err << error.message << '\n';
        return 1;
    }
    // Stored by the rule all the same, as the window does when the user says Yes; a date kept
    // from the file was the user's choice before and is not warned about again.
    if (request->values[kDatum]) {
        if (const std::optional<QString> warning = zv::dateFormWarning(*request->values[kDatum]))
            err << *warning << '\n';
    }
    return 0;
}

} // namespace albuminfo
