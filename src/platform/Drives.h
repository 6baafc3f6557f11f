#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace zv {

// The drive types of the system's table.
enum class DriveType { Unknown = 0, Removable = 1, Fixed = 2, Network = 3, CdRom = 4, RamDisk = 5 };

struct DriveInfo {
    QString root; // mount point ("/", "/media/usb", "C:/")
    QString name; // what the user sees (volume label, else the mount point)
    DriveType type = DriveType::Unknown;
    bool readOnly = false;
    qint64 freeBytes = 0;
    qint64 totalBytes = 0;
    bool ready = false;
};

// Where pictures usually are, shown above the drives: the home and pictures folders, media the
// desktop mounted, and phones, cameras and shares mounted through gvfs.
enum class PlaceKind { Home, Pictures, Medium, Phone, Camera, Share };

struct Place {
    QString path;
    QString name; // what the user sees
    PlaceKind kind = PlaceKind::Home;
    DriveType type = DriveType::Fixed; // of the volume it is on
    bool operator==(const Place &) const = default;
};

// A drive is a mounted volume on this platform.
class Drives {
public:
    virtual ~Drives() = default;
    virtual DriveInfo driveOf(const QString &path) const = 0;
    virtual QList<DriveInfo> list() const = 0;
    // May wait on a hanging mount, as list() may: the windows call both off their thread.
    virtual QList<Place> places() const { return {}; }
};

std::unique_ptr<Drives> makeSystemDrives();

// How a volume is classified, from what the system says of it. Kept apart from the system
// calls so it can be checked with any input.
struct VolumeFacts {
    QString fileSystem; // "ext4", "iso9660", "tmpfs", ...
    QString device; // "/dev/sdb1", "server:/share", "tmpfs"
    QString mountPoint;
    bool removableDevice = false; // the block device says it is removable
};
DriveType classifyVolume(const VolumeFacts &facts);

// True when the album on this drive can take writes of picture information.
inline bool isWritableDriveType(DriveType type)
{
    return type == DriveType::Removable || type == DriveType::Fixed || type == DriveType::Network;
}

} // namespace zv
