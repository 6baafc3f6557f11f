// albuminfo export ALBUM TARGETDIR NAME... [--overwrite ask|all|none]
// The export dialog's copying without windows.
#include "Verbs.h"

#include "model/AlbumPaths.h"
#include "operations/ExportRun.h"
#include "operations/OverwriteQuestion.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"

#include <QTextStream>

#include <memory>

void printMessage(QTextStream &err, const QString &title, const QString &text);

int exportVerb(const QStringList &args)
{
    QTextStream err(stderr);
    QStringList names;
    QString mode = QStringLiteral("ask");
    for (int i = 2; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--overwrite") && i + 1 < args.size())
            mode = args[++i];
        else
            names << args[i];
    }
    const auto question = overwriteAnswerer(mode);
    if (names.isEmpty() || !question) {
        err << "Aufruf: albuminfo export PROGRAMMORDNER ZIELORDNER NAME... [--overwrite ask|all|none]\n";
        return 2;
    }
    if (!zv::pathStatus(args[1]).isFolder()) {
        err << "Kein Zielordner: " << args[1] << '\n';
        return 1;
    }
    zv::ExportRun run(zv::AlbumPaths{args[0]}, args[1], names, *question);
    const zv::SyncOutcome outcome =
        zv::runNow(run, [&](const QString &title, const QString &text) { printMessage(err, title, text); });
    return outcome.failed > 0 ? 1 : 0;
}
