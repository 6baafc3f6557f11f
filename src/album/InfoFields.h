#pragma once

#include "store/PictureInfo.h"

#include <QString>

#include <array>

class QLineEdit;
class QWidget;

namespace zv {

class RemarksBox;

// The five information boxes with their labels, placed on the main window itself so the
// remarks box can grow over what lies below it. In search mode they hold search words.
class InfoFields {
public:
    explicit InfoFields(QWidget *window);

    // The texts exactly as typed, blanks included; the date is not yet in its stored form.
    PictureInfo typed() const;
    void show(const PictureInfo &info);
    // What show() last gave the boxes: Speichern compares it with the file, to keep what
    // another program wrote since where the user changed nothing.
    const PictureInfo &shown() const { return m_shown; }
    // Whether the date box holds something else than the shown file gave it: only a typed date
    // is warned about, not one the file already had.
    bool dateChanged() const;
    // Empties the boxes for search mode, in the order the user sees them cleared.
    void clearForSearch();
    // txtStichWorte, txtOrt, txtDatum, txtNamen, txtBemerkungen: the order the skin colours them.
    std::array<QWidget *, 5> skinTargets() const;

    QLineEdit *txtDatum = nullptr;
    QLineEdit *txtOrt = nullptr;
    QLineEdit *txtNamen = nullptr;
    QLineEdit *txtStichWorte = nullptr;
    RemarksBox *txtBemerkungen = nullptr;

private:
    PictureInfo m_shown;
};

} // namespace zv
