#include "EntryOutput.h"
#include "Verbs.h"

#include "operations/RotatePicture.h"

#include <QFileInfo>

#include <optional>

namespace albuminfo {

int rotate(const QStringList &args, QTextStream &err)
{
    std::optional<zv::Turn> turn;
    bool evenIfReadOnly = false;
    QStringList files;
    for (const QString &arg : args) {
        std::optional<zv::Turn> given;
        if (arg == QLatin1String("--left"))
            given = zv::Turn::Left;
        else if (arg == QLatin1String("--right"))
            given = zv::Turn::Right;
        else if (arg == QLatin1String("--upright"))
            given = zv::Turn::Upright;
        else if (arg == QLatin1String("--schreibgeschuetzt"))
            evenIfReadOnly = true;
        else if (arg.startsWith(QLatin1String("--")))
            return usage(err);
        else
            files << arg;
        if (given && turn)
            return usage(err); // one direction for all files
        if (given)
            turn = given;
    }
    if (!turn || files.isEmpty())
        return usage(err);

    int exitCode = 0;
    for (const QString &file : files) {
        // As set does: the file's own folder is the one a link may not lead out of.
        const zv::RotateOutcome outcome =
            zv::turnPictureFile(file, QFileInfo(file).path(), *turn, [&] { return evenIfReadOnly; });
        switch (outcome.result) {
        case zv::RotateOutcome::Result::Turned:
        case zv::RotateOutcome::Result::AlreadyUpright:
            break;
        case zv::RotateOutcome::Result::Declined:
            err << "Die Datei \"" << escapedField(file)
                << "\" ist schreibgeschützt; mit --schreibgeschuetzt wird sie trotzdem gedreht und bleibt "
                   "schreibgeschützt.\n";
            exitCode = 1;
            break;
        default:
            err << outcome.message << '\n';
            exitCode = 1;
        }
    }
    return exitCode;
}

} // namespace albuminfo
