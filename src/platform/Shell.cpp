#include "Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <memory>

namespace zv {
namespace {

class DesktopShell final : public Shell {
public:
    bool openDocument(const QString &path, ShowState) override
    {
        // The show state is the handler's business here; a viewer always opens visible.
        if (!QFileInfo::exists(path))
            return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        return openWithXdgOpen(path);
#else
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
    }

private:
    // QDesktopServices reports success as soon as xdg-open starts, even when it then finds no
    // program for the file. xdg-open ends at once when it fails, and either ends soon or stays
    // with the viewer it ran when it succeeds.
    static bool openWithXdgOpen(const QString &path)
    {
        auto process = std::make_unique<QProcess>();
        process->setStandardErrorFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(QStringLiteral("xdg-open"), {path});
        if (!process->waitForStarted(3000))
            return false;
        if (process->waitForFinished(1500))
            return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        QProcess *running = process.release();
        running->setParent(QCoreApplication::instance());
        QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
        return true;
    }

    bool startProgram(const QString &program, const QStringList &arguments, const QString &workingDirectory) override
    {
        return QProcess::startDetached(program, arguments, workingDirectory);
    }
};

} // namespace

std::unique_ptr<Shell> makeDesktopShell()
{
    return std::make_unique<DesktopShell>();
}

} // namespace zv
