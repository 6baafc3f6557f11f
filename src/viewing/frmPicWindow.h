#pragma once

#include "PictureDecoder.h"
#include "PictureLoader.h"

#include <QRectF>
#include <QWidget>

namespace zv {

class PictureImage;

// One album picture in an ordinary sizable window on black. The picture is decoded once, off
// the user-interface thread, at the size it would take on the whole screen; resizing the
// window fits it again from that copy.
class frmPicWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kDesignSize{562, 521};

    explicit frmPicWindow(QWidget *parent = nullptr);
    ~frmPicWindow() override;

    // Shows the window on the file, or, when it is shown already, replaces its picture.
    void showPicture(const QString &path);
    // Shows the file of the picture-window path again (the open window's refresh).
    void refreshPicWindow(const QString &path);

    const QString &shownFile() const { return m_shownFile; }
    QRectF pictureRect() const { return m_pictureRect; }
    bool isLoading() const { return !m_awaited.isEmpty(); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void putUpIfDecoded();
    void fitPicture();
    QSize decodeSize() const;

    PictureDecoder m_decoder;
    QString m_awaited;
    QSize m_awaitedSize;
    QString m_shownFile;
    LoadedPicture m_picture; // PicPuffer: kept between resizes
    QRectF m_pictureRect;
    PictureImage *imgDia = nullptr;
};

} // namespace zv
