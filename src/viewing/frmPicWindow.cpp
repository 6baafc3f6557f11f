#include "frmPicWindow.h"

#include "PictureImage.h"

#include "platform/FileNames.h"

#include <QGuiApplication>
#include <QScreen>

namespace zv {

frmPicWindow::frmPicWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPicWindow"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    resize(kDesignSize);
    imgDia = new PictureImage(this);
    imgDia->setSmoothWhenSettled(true);
    imgDia->hide();
    connect(&m_decoder, &PictureDecoder::decoded, this, [this](const QString &path) {
        if (path == m_awaited)
            putUpIfDecoded();
    });
}

frmPicWindow::~frmPicWindow() = default;

void frmPicWindow::showPicture(const QString &path)
{
    if (!isVisible())
        show();
    refreshPicWindow(path);
}

QSize frmPicWindow::decodeSize() const
{
    // Large enough for the window made as large as the screen, so no resize decodes again.
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry().size().expandedTo(size()) : size();
}

void frmPicWindow::refreshPicWindow(const QString &path)
{
    setWindowTitle(displayFileName(path));
    m_awaited = path;
    m_awaitedSize = decodeSize();
    m_decoder.keepOnly({path});
    m_decoder.request(path, m_awaitedSize);
    putUpIfDecoded();
}

void frmPicWindow::putUpIfDecoded()
{
    const PictureDecoder::Result result = m_decoder.result(m_awaited, m_awaitedSize);
    if (!result.done)
        return;
    // A file that is no picture (a video, say) leaves the previous picture, or a black area,
    // under the new caption.
    if (result.picture) {
        m_picture = *result.picture;
        m_shownFile = m_awaited;
        fitPicture();
    }
    m_awaited.clear();
    m_decoder.clear(); // the picture lives on in m_picture
}

void frmPicWindow::resizeEvent(QResizeEvent *)
{
    fitPicture();
}

void frmPicWindow::closeEvent(QCloseEvent *event)
{
    m_decoder.clear();
    QWidget::closeEvent(event);
}

void frmPicWindow::fitPicture()
{
    if (m_picture.image.isNull())
        return;
    m_pictureRect = imgDia->showFitted(m_picture, size());
}

} // namespace zv
