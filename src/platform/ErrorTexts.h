#pragma once

#include <QString>

namespace zv {

// The reason behind a failed file operation in German, for the end of a message:
// "Datenträger voll", "keine Berechtigung", … The C library's own texts are English here.
QString errorText(int errnoValue);

} // namespace zv
