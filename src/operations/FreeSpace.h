#pragma once

#include <QString>

#include <optional>

namespace zv {

struct DriveInfo;

// The "Kein Platz" message when a file of `bytes` does not fit on the album's drive, or the
// message that the drive is write-protected. A drive that tells neither its size nor its free
// space (0 of 0: some FUSE drivers and shares) is taken as having room; the copy then says
// whether it had.
struct NoRoom {
    QString title;
    QString text;
};
std::optional<NoRoom> freeSpaceRefusal(qint64 bytes, const DriveInfo &albumDrive, const QString &fileName);

} // namespace zv
