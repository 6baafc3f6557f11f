#pragma once

#include "store/PictureInfo.h"

#include <QString>
#include <QStringList>

namespace zv {

struct CameraDateResult {
    enum class Result { Dated, NoMoment, HadDate, ReadOnly, Failed };
    Result result = Result::NoMoment;
    PictureInfo stored; // Dated: the texts now on disk
    QString message; // Failed: German
};

// Safe on any thread (touches no album): reads the file's trailer now, and when its Datum is
// empty or "xx.xx.xxxx" writes the camera moment as dd.mm.yyyy through WritePictureInfo
// (the other four texts as on disk). Read-only files are left alone.
CameraDateResult takeCameraDate(const QString &path, const QString &folder);
// The same decision without writing: Dated carries the texts to store, the trailer's marker
// among them only when the file has a trailer now.
CameraDateResult cameraDateFor(const QString &path);

struct CameraDateCounts {
    int dated = 0, noMoment = 0, hadDate = 0, readOnly = 0, failed = 0;
    QStringList failures; // the message of each failed file, in order
};
void count(CameraDateCounts &counts, const CameraDateResult &result);

// The summary the window and the companion show, German, e.g. "3 Dateien haben ein Datum
// erhalten, 2 hatten kein Aufnahmedatum, 1 ist schreibgeschützt." (parts with 0 left out;
// the failures' messages follow, a line each).
QString cameraDateSummary(const CameraDateCounts &counts);

} // namespace zv
