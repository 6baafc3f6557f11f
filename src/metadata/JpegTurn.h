#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zv {

// How the user wants a picture turned: upright as its EXIF orientation says, or a quarter turn
// of what is seen.
enum class Turn { Upright, Left, Right };

// Whether the bytes start like a JPEG file; the name's extension does not count.
bool looksLikeJpeg(QByteArrayView bytes);

// A lossless turn of a JPEG's stored pixels, planned from its header and EXIF before anything
// is decoded or written.
struct JpegTurnPlan {
    enum class Status { Ready, AlreadyUpright, NotJpeg, NotWholeBlocks, Unreadable };
    Status status = Status::Ready;
    int orientation = 1; // EXIF 1–8; 1 without EXIF
    int width = 0, height = 0; // as stored
    int blockWidth = 8, blockHeight = 8; // the MCU, which lossless transforms move whole
    QString reason; // German, for Unreadable
    int transform = 0; // libjpeg-turbo's TJXOP
};
JpegTurnPlan planJpegTurn(QByteArrayView jpeg, Turn turn);

struct TurnedJpeg {
    QByteArray bytes; // a whole JPEG file; empty on failure
    QString reason; // German, on failure
};

// Moves the compressed blocks as planned; every marker is kept, then the EXIF orientation is
// set to 1 and the embedded preview dropped (it would show the picture the old way).
TurnedJpeg turnJpeg(QByteArrayView jpeg, const JpegTurnPlan &plan);

} // namespace zv
