#pragma once

#include "operations/ImportSources.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace zv {

struct ListedFile {
    QString name; // as the file system gives it (undecodable bytes escaped)
    QString path; // the row's key
    QString kind;
    qint64 bytes = 0;
    qint64 sizeKB = 0;
};

struct FolderFiles {
    std::vector<ListedFile> files; // in the file system's order; what was read before an error
    int error = 0; // errno of the failure, 0 when the whole folder was read
};

// The media files directly in a folder. Safe to call off the user-interface thread.
FolderFiles listFolderFiles(const QString &folder);

// The message for a folder that could not be read: title and text.
struct ListingMessage {
    QString title;
    QString text;
};
ListingMessage listingMessage(int error);

} // namespace zv
