#pragma once
// The real program in a fresh album folder under the X server, with its own settings folder.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace zv::test {

inline bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else if (!QFile::copy(source, target))
            return false;
    }
    return true;
}

struct ProgramRun {
    QTemporaryDir album;
    QTemporaryDir home; // XDG_CONFIG_HOME: the user's settings stay alone
    QProcess process;

    // The built program, skins and help in the album folder, with an empty Bilder/.
    bool layOut()
    {
        const QString built = qEnvironmentVariable("ZV_ALBUM_DIR");
        QDir(album.path()).mkdir(QStringLiteral("Bilder"));
        return QFile::copy(built + QStringLiteral("/zidoverev"), album.filePath(QStringLiteral("zidoverev")))
            && copyTree(built + QStringLiteral("/Skins"), album.filePath(QStringLiteral("Skins")))
            && copyTree(built + QStringLiteral("/Hilfe"), album.filePath(QStringLiteral("Hilfe")));
    }
    QString media(const QString &name) const { return album.filePath(QStringLiteral("Bilder/") + name); }
    // An INI text for the program's settings store.
    bool settings(const QByteArray &ini)
    {
        QDir(home.path()).mkpath(QStringLiteral("zidoVerev"));
        QFile file(home.filePath(QStringLiteral("zidoVerev/zidoVerev.conf")));
        return file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size();
    }
    bool start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        process.setProcessEnvironment(env);
        process.start(album.filePath(QStringLiteral("zidoverev")), {});
        return process.waitForStarted();
    }
    ~ProgramRun()
    {
        process.kill();
        process.waitForFinished();
    }
};

// The processes that run this program file, by what /proc/<pid>/exe points at.
inline QList<qint64> processesOf(const QString &program)
{
    QList<qint64> pids;
    const QString wanted = QFileInfo(program).canonicalFilePath();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && !wanted.isEmpty()
            && QFileInfo(QStringLiteral("/proc/") + entry + QStringLiteral("/exe")).symLinkTarget() == wanted)
            pids << pid;
    }
    return pids;
}

} // namespace zv::test
