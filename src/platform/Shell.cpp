#include "Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace zv {
namespace {

class DesktopShell final : public Shell {
public:
    bool openDocument(const QString &path, ShowState) override
    {
        // The show state is the handler's business here; a viewer always opens visible.
        if (!QFileInfo::exists(path))
            return false;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }

    bool startProgram(const QString &program, const QString &parameters,
                      const QString &workingDirectory) override
    {
        return QProcess::startDetached(program, splitParameters(parameters), workingDirectory);
    }
};

} // namespace

QStringList splitParameters(const QString &parameters)
{
    QStringList result;
    QString current;
    bool quoted = false;
    bool inWord = false;
    for (QChar c : parameters) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (inWord)
                result << current;
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord)
        result << current;
    return result;
}

std::unique_ptr<Shell> makeDesktopShell()
{
    return std::make_unique<DesktopShell>();
}

} // namespace zv
