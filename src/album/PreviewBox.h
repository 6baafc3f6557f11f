#pragma once

#include "skins/SkinPanel.h"

#include <QImage>

class QLabel;

namespace zv {

// picVorschau: the square preview box. Pictures are fitted into it; the player bar shows
// videos in it. A double click asks for the picture window.
class PreviewBox : public SkinPanel {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget *parent = nullptr);

    // Decodes and fits the picture. One that cannot be decoded shows the last good one again.
    void showPicture(const QString &path);
    void hidePicture();
    // Empty, with no last picture kept: the shown file is gone.
    void clear();
    // Where the picture sits, before rounding to pixels.
    QRectF pictureRect() const { return m_pictureRect; }

Q_SIGNALS:
    void doubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QLabel *imgvorschau;
    // picPuffer: the last picture that could be decoded and its natural size.
    QImage m_buffer;
    QSizeF m_natural;
    QRectF m_pictureRect;
};

} // namespace zv
