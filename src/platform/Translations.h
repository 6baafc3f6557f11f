#pragma once

class QCoreApplication;

namespace zv {

// German texts for Qt's own buttons (Ja/Nein/Abbrechen). Returns false when the catalogue is missing.
bool installGermanTranslations(QCoreApplication &app);

} // namespace zv
