#pragma once

#include <QLabel>
#include <QPixmap>

namespace zv {

// An image used as a button: stretches its face, shows the pressed face while the mouse
// button is down, and clicks on release over it.
class SkinButton final : public QLabel {
    Q_OBJECT

public:
    explicit SkinButton(QWidget *parent = nullptr);

    // A null face leaves the button without a picture.
    void setFaces(const QPixmap &released, const QPixmap &pressed);
    const QPixmap &releasedFace() const { return released_; }
    const QPixmap &pressedFace() const { return pressed_; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showFace(const QPixmap &face);

    QPixmap released_;
    QPixmap pressed_;
};

} // namespace zv
