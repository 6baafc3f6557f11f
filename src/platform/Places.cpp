#include "Places.h"

#include "FolderReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <algorithm>

namespace zv {
namespace {

// The mount table writes space, tab, newline and backslash as \040, \011, \012 and \134.
QByteArray unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            out += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

QString percentDecoded(const QString &text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

// "SAMSUNG_SM-G991B_R5CR20XYZAB" -> "SAMSUNG SM-G991B": gvfs joins vendor, model and serial with
// underscores. The serial and company suffixes say nothing to a user; vendors often repeat
// themselves ("Canon_Inc._Canon_EOS_600D").
QString readableDevice(const QString &host)
{
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        // Older gvfs names the device by its USB bus and address only.
        QString port = host.mid(1, host.size() - 2);
        if (port.startsWith(QLatin1String("usb:"), Qt::CaseInsensitive))
            port = port.mid(4);
        return QStringLiteral("USB ") + port;
    }
    QStringList parts = host.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    const auto isSerial = [](const QString &part) {
        return part.size() >= 6
               && std::ranges::all_of(part, [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; })
               && std::ranges::any_of(part, [](QChar c) { return c.isDigit(); });
    };
    if (parts.size() >= 2 && isSerial(parts.last()))
        parts.removeLast();
    static const QStringList suffixes = {QStringLiteral("inc"),   QStringLiteral("inc."), QStringLiteral("corp"),
                                         QStringLiteral("corp."), QStringLiteral("ltd"),  QStringLiteral("ltd."),
                                         QStringLiteral("co."),   QStringLiteral("co.,")};
    QStringList kept;
    for (const QString &part : std::as_const(parts))
        if (!suffixes.contains(part.toLower()) && !kept.contains(part, Qt::CaseInsensitive))
            kept << part;
    return kept.join(QLatin1Char(' '));
}

QString labelled(const QString &label, const QString &device)
{
    return device.isEmpty() ? label : label + QStringLiteral(": ") + device;
}

} // namespace

std::optional<Place> gvfsPlace(const QString &folderName)
{
    const qsizetype colon = folderName.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    const QString scheme = folderName.left(colon);
    QHash<QString, QString> keys;
    // Split before decoding: a value may hold an escaped comma or equals sign.
    for (const QString &pair : folderName.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq > 0)
            keys.insert(pair.left(eq), percentDecoded(pair.mid(eq + 1)));
    }
    const QString host = keys.value(QStringLiteral("host"), keys.value(QStringLiteral("server")));
    Place place;
    place.type = DriveType::Removable;
    if (scheme == QLatin1String("mtp")) {
        place.kind = PlaceKind::Phone;
        place.name = labelled(QStringLiteral("Telefon"), readableDevice(host));
    } else if (scheme == QLatin1String("afc")) {
        // Its host is the device's identifier, which no one reads.
        place.kind = PlaceKind::Phone;
        place.name = QStringLiteral("Telefon: iPhone/iPad");
    } else if (scheme == QLatin1String("gphoto2")) {
        place.kind = PlaceKind::Camera;
        place.name = labelled(QStringLiteral("Kamera"), readableDevice(host));
    } else if (scheme == QLatin1String("smb-share") && !host.isEmpty()) {
        place.kind = PlaceKind::Share;
        place.type = DriveType::Network;
        place.name = keys.value(QStringLiteral("share")) + QStringLiteral(" auf ") + host;
    } else if (!host.isEmpty()
               && QStringList{QStringLiteral("sftp"), QStringLiteral("ftp"), QStringLiteral("ftps"),
                              QStringLiteral("dav"), QStringLiteral("davs"), QStringLiteral("nfs"),
                              QStringLiteral("afp-volume")}
                      .contains(scheme)) {
        place.kind = PlaceKind::Share;
        place.type = DriveType::Network;
        place.name = host + QStringLiteral(" (") + scheme + QLatin1Char(')');
    } else {
        return std::nullopt;
    }
    return place;
}

QList<Place> findPlaces(const PlaceRoots &roots, const QByteArray &mountTable)
{
    QList<Place> places;
    if (!roots.home.isEmpty())
        places.append({roots.home, QStringLiteral("Persönlicher Ordner"), PlaceKind::Home, DriveType::Fixed});
    if (!roots.pictures.isEmpty() && QDir(roots.pictures) != QDir(roots.home) && QFileInfo(roots.pictures).isDir())
        places.append({roots.pictures, QDir(roots.pictures).dirName(), PlaceKind::Pictures, DriveType::Fixed});

    for (const QByteArray &line : mountTable.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QString mountPoint = QFile::decodeName(unescapeMountField(fields[1]));
        const QFileInfo at(mountPoint);
        if (!roots.mediaRoots.contains(at.path())
            || std::ranges::any_of(places, [&](const Place &p) { return p.path == mountPoint; }))
            continue;
        // The desktop names the mount point after the volume's label.
        const DriveType type = classifyVolume(
            {QString::fromLatin1(fields[2]), QFile::decodeName(unescapeMountField(fields[0])), mountPoint, true});
        places.append({mountPoint, at.fileName(), PlaceKind::Medium, type});
    }

    QList<Place> mounted;
    if (!roots.gvfs.isEmpty()) {
        FolderReader reader(roots.gvfs);
        while (const FolderEntry *entry = reader.next()) {
            if (entry->isHidden())
                continue;
            // No look into the mount itself: a phone answers slowly, or not at all while locked.
            const QString name = entry->decodedName();
            if (std::optional<Place> place = gvfsPlace(name)) {
                place->path = roots.gvfs + QLatin1Char('/') + name;
                mounted << *place;
            }
        }
    }
    std::ranges::sort(mounted, [](const Place &a, const Place &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.name.localeAwareCompare(b.name) < 0;
    });
    return places + mounted;
}

PlaceRoots systemPlaceRoots()
{
    PlaceRoots roots;
    roots.home = QDir::homePath();
    roots.pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QDir::home().dirName();
    roots.mediaRoots = {QStringLiteral("/media/") + user, QStringLiteral("/run/media/") + user};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        roots.gvfs = runtime + QStringLiteral("/gvfs");
    return roots;
}

QByteArray systemMountTable()
{
    QFile table(QStringLiteral("/proc/self/mounts"));
    return table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
}

} // namespace zv
