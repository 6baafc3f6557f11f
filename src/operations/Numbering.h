#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace zv {

// The running number of an import as the number box or the settings hold it: empty is 0.
// nullopt for anything but digits, and for more than 18 digits (see the .cpp).
std::optional<qint64> parseStartNumber(QStringView text);

// "Bitte nur Zahlen eingeben" is due when the box holds anything but digits; empty passes.
bool isNumberText(QStringView text);

struct NumberedName {
    QString name; // "000006.jpg"
    qint64 next = 0; // the number after the one used
};

// Six digits, zero-padded, longer numbers as they are. A number is skipped while the media
// folder holds a media file of that number under any media extension, so a numbered name
// never replaces a file. `taken` tells whether a file name exists in the media folder.
NumberedName numberedName(qint64 start, QStringView sourceExtension, const std::function<bool(const QString &)> &taken);

} // namespace zv
