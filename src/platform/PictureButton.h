#pragma once

#include <QLabel>

namespace zv {

// A picture that acts as a button: any mouse button shows the pressed face while it is down,
// the released face afterwards; a left press released over it is a click. Where the faces come
// from is the subclass's business.
class PictureButton : public QLabel {
    Q_OBJECT

public:
    explicit PictureButton(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    virtual void showPressedFace() = 0;
    virtual void showReleasedFace() = 0;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_leftDown = false;
};

} // namespace zv
