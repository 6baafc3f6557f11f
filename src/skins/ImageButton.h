#pragma once

#include <QLabel>
#include <QString>

namespace zv {

class SkinImages;

// A picture that acts as a button: while a mouse button is held it shows its pressed picture,
// afterwards its released one, both fetched from the skin's pictures at that moment. A key the
// skin lacks leaves the current picture in place.
class ImageButton : public QLabel {
    Q_OBJECT

public:
    ImageButton(const QString &objectName, QString pressedKey, QString releasedKey, const SkinImages &images,
                QWidget *parent = nullptr);

    const QString &pressedKey() const { return m_pressedKey; }
    const QString &releasedKey() const { return m_releasedKey; }

    // Shows the released picture; false when the skin has none.
    bool showReleased();

Q_SIGNALS:
    // A left-button press and release inside the button.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool showPicture(const QString &key);

    QString m_pressedKey;
    QString m_releasedKey;
    const SkinImages &m_images;
    bool m_leftDown = false;
};

} // namespace zv
