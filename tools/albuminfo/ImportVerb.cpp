// albuminfo import ALBUM FILE... [--number START] [--overwrite ask|all|none] [--datum-aus-kamera]
// The browser's import without windows: same numbering, free-space test, overwrite decisions
// and copying. The numbering's memory lives for this run only, the user's settings stay.
#include "Verbs.h"

#include "model/Album.h"
#include "model/AlbumLoader.h"
#include "operations/AnswerQuestions.h"
#include "operations/ImportRun.h"
#include "platform/Drives.h"
#include "platform/SettingsStore.h"

#include <QHash>
#include <QTextStream>

#include <memory>

namespace {

class RunSettings final : public zv::SettingsStore {
public:
    QString value(const QString &section, const QString &key, const QString &fallback) const override
    {
        return m_values.value(section + QLatin1Char('/') + key, fallback);
    }
    void setValue(const QString &section, const QString &key, const QString &value) override
    {
        m_values.insert(section + QLatin1Char('/') + key, value);
    }

private:
    QHash<QString, QString> m_values;
};

} // namespace

// Shared by import and export: "ask", "all", "none" to a question; null for anything else.
std::unique_ptr<zv::OverwriteQuestion> overwriteAnswerer(const QString &mode)
{
    if (mode == QLatin1String("ask"))
        return std::make_unique<zv::TerminalQuestion>(stdin, stdout);
    if (mode == QLatin1String("all"))
        return std::make_unique<zv::FixedAnswer>(QStringLiteral("ja"));
    if (mode == QLatin1String("none"))
        return std::make_unique<zv::FixedAnswer>(QStringLiteral("na"));
    return nullptr;
}

void printMessage(QTextStream &err, const QString &title, const QString &text)
{
    err << title << ": " << QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")) << '\n';
    err.flush();
}

int importVerb(const QStringList &args)
{
    QTextStream err(stderr);
    QStringList files;
    zv::ImportOptions options;
    QString mode = QStringLiteral("ask");
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--number") && i + 1 < args.size()) {
            options.numbering = true;
            options.startNumber = args[++i];
        } else if (args[i] == QLatin1String("--datum-aus-kamera")) {
            options.cameraDate = true;
        } else if (args[i] == QLatin1String("--overwrite") && i + 1 < args.size()) {
            mode = args[++i];
        } else {
            files << args[i];
        }
    }
    const auto question = overwriteAnswerer(mode);
    if (args.isEmpty() || files.isEmpty() || !question) {
        err << "Aufruf: albuminfo import PROGRAMMORDNER DATEI... [--number START] [--overwrite ask|all|none]"
               " [--datum-aus-kamera]\n";
        return 2;
    }
    const zv::AlbumPaths paths{args[0]};
    bool readable = false;
    zv::listMediaFiles(paths.mediaFolder(), &readable);
    if (!readable) {
        err << "Kein Bilderordner: " << paths.mediaFolder() << '\n';
        return 1;
    }
    zv::Album album = zv::loadAlbum(paths.mediaFolder());
    const auto drives = zv::makeSystemDrives();
    RunSettings settings;
    zv::ImportRun run({paths, album, nullptr, *drives, settings, *question}, files, options);
    if (const auto refused = run.begin()) {
        printMessage(err, refused->title, refused->text);
        return 1;
    }
    const zv::SyncOutcome outcome =
        zv::runNow(run, [&](const QString &title, const QString &text) { printMessage(err, title, text); });
    QTextStream out(stdout);
    out << (run.copiedCount() == 1 ? QStringLiteral("1 Datei hinzugefügt")
                                   : QStringLiteral("%1 Dateien hinzugefügt").arg(run.copiedCount()));
    // The album lists them and keeps their information, but shows no picture and plays nothing.
    if (run.unknownCount() > 0)
        out << QStringLiteral(", davon %1 vom Typ „unbekannt“").arg(run.unknownCount());
    out << '\n';
    // A failed date was told as the run went; the summary says how the others fared.
    if (options.cameraDate) {
        zv::CameraDateCounts dates = run.cameraDates();
        dates.failures.clear();
        out << zv::cameraDateSummary(dates) << '\n';
    }
    return outcome.failed > 0 ? 1 : 0;
}
