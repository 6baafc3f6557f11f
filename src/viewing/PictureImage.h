#pragma once

#include "PictureLoader.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace zv {

// imgDia: an image that stretches its picture to its own size. The stretched copy is made
// once per size and picture, when first drawn, so repainting costs a copy to the screen.
class PictureImage : public QWidget {
    Q_OBJECT
public:
    explicit PictureImage(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    // Shows the picture as large as it fits into the box, centred, in its proportions, and
    // returns where; the slide show and the picture window fit the same way. A picture not
    // decoded changes nothing.
    QRectF showFitted(const LoadedPicture &picture, const QSize &box);
    // While the size keeps changing (a window being dragged larger) the picture is stretched
    // the quick way; the smooth copy follows once the size has rested for a moment.
    void setSmoothWhenSettled(bool on) { m_smoothWhenSettled = on; }
    const QImage &image() const { return m_image; }
    // The picture as the screen shows it now (stretched to the widget's size).
    QImage shownImage() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void prepare() const;

    QImage m_image;
    bool m_smoothWhenSettled = false;
    mutable bool m_rough = false;
    QTimer m_settle;
    mutable QImage m_shown; // m_image stretched to the widget's size, made when first drawn
    mutable bool m_stale = true;
};

} // namespace zv
