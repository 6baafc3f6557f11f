#pragma once

#include <QString>

#include <optional>

namespace zv {

struct DriveInfo;

// The "Kein Platz" message when a file of `bytes` does not fit on the album's drive.
struct NoRoom {
    QString title;
    QString text;
};
std::optional<NoRoom> freeSpaceRefusal(qint64 bytes, const DriveInfo &albumDrive, const QString &fileName);

} // namespace zv
