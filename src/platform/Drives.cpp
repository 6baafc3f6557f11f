#include "Drives.h"

#include "Places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace zv {
namespace {

// /sys/block/<disk>/removable for the disk that holds a partition device like /dev/sdb1.
bool blockDeviceIsRemovable(const QString &device)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QString node = QFileInfo(canonical.isEmpty() ? device : canonical).fileName();
    if (node.isEmpty())
        return false;
    // A partition's sysfs entry lies inside its disk's folder; walk up until "removable" exists.
    QString sysPath = QFileInfo(QStringLiteral("/sys/class/block/") + node).canonicalFilePath();
    for (int depth = 0; depth < 3 && !sysPath.isEmpty(); ++depth) {
        QFile flag(sysPath + QStringLiteral("/removable"));
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
        sysPath = QFileInfo(sysPath).path();
    }
    return false;
}

DriveInfo describe(const QStorageInfo &storage)
{
    DriveInfo info;
    info.root = storage.rootPath();
    info.name = storage.name().isEmpty() ? storage.rootPath() : storage.name();
    info.ready = storage.isValid() && storage.isReady();
    info.readOnly = storage.isReadOnly();
    info.freeBytes = storage.bytesAvailable();
    info.totalBytes = storage.bytesTotal();
    const QString device = QString::fromLocal8Bit(storage.device());
    info.type = classifyVolume(
        {QString::fromLatin1(storage.fileSystemType()), device, info.root, blockDeviceIsRemovable(device)});
    return info;
}

class SystemDrives final : public Drives {
public:
    DriveInfo driveOf(const QString &path) const override
    {
        QString existing = path;
        while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
            const QString parent = QFileInfo(existing).path();
            if (parent == existing)
                break;
            existing = parent;
        }
        return describe(QStorageInfo(existing.isEmpty() ? QDir::rootPath() : existing));
    }

    QList<DriveInfo> list() const override
    {
        QList<DriveInfo> drives;
        // What the desktop mounted for the user is shown among the places, by its label.
        const QStringList mediaRoots = systemPlaceRoots().mediaRoots;
        for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
            const QByteArray fs = storage.fileSystemType();
            // Kernel bookkeeping mounts are no drives a user can put files on.
            static const QList<QByteArray> pseudo = {"proc",       "sysfs",    "devpts",  "cgroup",      "cgroup2",
                                                     "securityfs", "debugfs",  "tracefs", "mqueue",      "pstore",
                                                     "bpf",        "configfs", "fusectl", "binfmt_misc", "autofs",
                                                     "hugetlbfs",  "devtmpfs", "overlay", "nsfs",        "squashfs"};
            if (pseudo.contains(fs) || storage.rootPath().startsWith(QLatin1String("/proc"))
                || storage.rootPath().startsWith(QLatin1String("/sys"))
                || storage.rootPath().startsWith(QLatin1String("/dev"))
                || storage.rootPath().startsWith(QLatin1String("/run/user"))
                || mediaRoots.contains(QFileInfo(storage.rootPath()).path()))
                continue;
            drives << describe(storage);
        }
        return drives;
    }

    QList<Place> places() const override { return findPlaces(systemPlaceRoots(), systemMountTable()); }
};

} // namespace

DriveType classifyVolume(const VolumeFacts &facts)
{
    const QString fs = facts.fileSystem.toLower();
    if (fs == QLatin1String("iso9660") || fs == QLatin1String("udf"))
        return DriveType::CdRom;
    if (fs == QLatin1String("tmpfs") || fs == QLatin1String("ramfs"))
        return DriveType::RamDisk;
    if (fs.startsWith(QLatin1String("nfs")) || fs == QLatin1String("cifs") || fs == QLatin1String("smb3")
        || fs == QLatin1String("smbfs") || fs == QLatin1String("fuse.sshfs") || fs == QLatin1String("sshfs")
        || fs == QLatin1String("9p") || fs == QLatin1String("afs"))
        return DriveType::Network;
    if (fs.isEmpty())
        return DriveType::Unknown;
    if (facts.removableDevice || facts.mountPoint.startsWith(QLatin1String("/media/"))
        || facts.mountPoint.startsWith(QLatin1String("/run/media/")))
        return DriveType::Removable;
    return DriveType::Fixed;
}

std::unique_ptr<Drives> makeSystemDrives()
{
    return std::make_unique<SystemDrives>();
}

} // namespace zv
