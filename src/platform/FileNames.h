#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

namespace zv {

// File names are bytes on this platform, and old media carry names that are not UTF-8 (Latin-1
// from Windows, for example). A name decodes to a QString that encodes back to the same bytes:
// every byte that is not part of valid UTF-8 becomes the lone surrogate U+DC00 + byte, which
// valid UTF-8 can never produce. Every file operation on an album path encodes it with
// nativePath; QFile(path) would turn those bytes into replacement characters.
QString decodeFileName(QByteArrayView bytes);
QByteArray nativePath(QStringView path);

// What the user sees: undecodable bytes read as Latin-1, the likeliest origin.
QString displayFileName(const QString &name);
bool hasUndecodableBytes(QStringView name);

// A file's address as file managers exchange it (text/uri-list): the name's own bytes,
// percent-encoded, so a name that is not UTF-8 arrives as the same file.
QUrl localFileUrl(QStringView path);
// The path of a local file's address, or nothing for another machine's or no file at all.
std::optional<QString> localFilePath(const QUrl &url);

} // namespace zv
