#pragma once

#include "platform/PictureButton.h"

#include <QString>

namespace zv {

class SkinImages;

// A skinned button of the main window: its faces are fetched from the skin's pictures by key
// each time they are shown. A key the skin lacks leaves the current picture in place.
class ImageButton : public PictureButton {
    Q_OBJECT

public:
    ImageButton(const QString &objectName, QString pressedKey, QString releasedKey, const SkinImages &images,
                QWidget *parent = nullptr);

    const QString &pressedKey() const { return m_pressedKey; }
    const QString &releasedKey() const { return m_releasedKey; }

    // Shows the released picture; false when the skin has none.
    bool showReleased();

protected:
    void showPressedFace() override { showPicture(m_pressedKey); }
    void showReleasedFace() override { showPicture(m_releasedKey); }

private:
    bool showPicture(const QString &key);

    QString m_pressedKey;
    QString m_releasedKey;
    const SkinImages &m_images;
};

} // namespace zv
