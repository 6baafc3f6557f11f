#include "FreeSpace.h"

#include "platform/Drives.h"

namespace zv {

std::optional<NoRoom> freeSpaceRefusal(qint64 bytes, const DriveInfo &albumDrive, const QString &fileName)
{
    if (bytes <= albumDrive.freeBytes)
        return std::nullopt;
    return NoRoom{QStringLiteral("Kein Platz"),
                  QStringLiteral("Auf dem Datenträger ist nicht\r\ngenügend Platz für die Datei:\r\n") + fileName};
}

} // namespace zv
