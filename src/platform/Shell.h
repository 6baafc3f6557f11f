#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace zv {

// How the shell should show the window of what it opens.
enum class ShowState { Hidden = 0, Normal = 1, Minimized = 2, Maximized = 3 };

// Opening documents with their associated program and starting programs.
class Shell {
public:
    virtual ~Shell() = default;
    // Returns false when nothing could be started for the document.
    virtual bool openDocument(const QString &path, ShowState show) = 0;
    // Each argument reaches the program whole, blanks and quotation marks in it included.
    virtual bool startProgram(const QString &program, const QStringList &arguments,
                              const QString &workingDirectory) = 0;
};

// The desktop's handler for documents (xdg-open on Linux, ShellExecute on Windows through
// QDesktopServices), detached processes for programs.
std::unique_ptr<Shell> makeDesktopShell();

} // namespace zv
