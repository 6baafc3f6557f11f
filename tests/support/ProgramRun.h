#pragma once
// The real program in a fresh album folder under the X server, with its own settings folder.

#include "XDo.h"

#include "store/PictureTrailer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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
    QTemporaryDir home; // XDG_CONFIG_HOME and XDG_CACHE_HOME: the user's settings and thumbnails stay alone
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
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        process.setProcessEnvironment(env);
        process.start(album.filePath(QStringLiteral("zidoverev")), {});
        return process.waitForStarted();
    }
    // Its main window's geometry once it is up, or an empty rect.
    QRect startWindow() { return start() ? awaitMainWindow() : QRect(); }
    ~ProgramRun()
    {
        process.kill();
        process.waitForFinished();
    }
};

// A picture of one colour, with a trailer when it has a place or a date.
inline bool writePicture(const QString &path, QColor colour, QSize size = {60, 60}, const QString &ort = {},
                         const QString &datum = {})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    PictureInfo info;
    info.ort = ort;
    info.datum = datum;
    return image.save(path, "JPEG", 95) && ((ort + datum).isEmpty() || !WritePictureInfo(path, info));
}

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
