#include "ApplySkin.h"

#include "ImageButton.h"
#include "SkinFiles.h"
#include "SkinImages.h"
#include "SkinPanel.h"

#include <QLabel>
#include <QPainter>

namespace zv {

namespace {

// Frame border kept when the search frame is composed: left, top band, right, bottom.
constexpr int kFrameLeft = 10;
constexpr int kFrameTop = 24;
constexpr int kFrameRight = 10;
constexpr int kFrameBottom = 10;

SkinOutcome missing(const QString &key)
{
    SkinOutcome outcome;
    outcome.complete = false;
    outcome.stoppedAt = key;
    outcome.message = QStringLiteral("Dem Skin fehlt das Bild \u201e%1\u201c; die Oberfl\u00e4che wurde nur teilweise "
                                     "gesetzt.")
                          .arg(key);
    return outcome;
}

// The window as it looks with only its background: what lies under every panel.
// At the background's own scale, so a sharp skin stays sharp under the panels.
QPixmap windowImage(const SkinnedWindow &window, const QPixmap &background)
{
    const qreal ratio = background.devicePixelRatio();
    QPixmap image(window.windowSize * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(window.windowColour);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, background);
    return image;
}

} // namespace

SkinOutcome ApplySkin(SkinnedWindow &window, const SkinImages &images)
{
    for (std::size_t i = 0; i < window.buttons.size(); ++i) {
        ImageButton *button = window.buttons[i];
        const QString key = button ? button->releasedKey() : SkinButtons()[i].releasedKey;
        if (!images.contains(key))
            return missing(key);
        if (button)
            button->showReleased();
    }

    const QString frameKey = QStringLiteral("frmSearch");
    const auto frame = images.find(frameKey);
    if (!frame)
        return missing(frameKey);
    QPixmap buffer = *frame;
    const QSize frameSize = window.imgSearchArea.size();
    const qreal frameRatio = buffer.devicePixelRatio();
    if (!frameSize.isEmpty() && buffer.deviceIndependentSize().toSize() != frameSize) {
        buffer = buffer.scaled(frameSize * frameRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        buffer.setDevicePixelRatio(frameRatio);
    }

    const QString backgroundKey = QStringLiteral("picBG");
    const auto background = images.find(backgroundKey);
    if (!background)
        return missing(backgroundKey);
    if (window.setBackground)
        window.setBackground(*background);

    if (window.setPlayerSkin)
        window.setPlayerSkin();

    const QPixmap whole = windowImage(window, *background);
    const qreal ratio = whole.devicePixelRatio();
    // Areas are window pixels; the copies are taken in the picture's own.
    const auto scaled = [ratio](const QRect &r) {
        return QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio).toRect();
    };
    for (const auto &[panel, area] : window.panels) {
        if (panel) {
            QPixmap backdrop = whole.copy(scaled(area));
            backdrop.setDevicePixelRatio(ratio);
            panel->setBackdrop(backdrop);
        }
    }

    const QRect area = window.imgSearchArea;
    const QRect inside(kFrameLeft, kFrameTop, area.width() - kFrameLeft - kFrameRight,
                       area.height() - kFrameTop - kFrameBottom);
    if (inside.isValid()) {
        QPainter painter(&buffer);
        painter.drawPixmap(inside.topLeft(), whole, scaled(inside.translated(area.topLeft())));
    }
    if (window.picSearch)
        *window.picSearch = buffer;
    if (window.imgSearch)
        window.imgSearch->setPixmap(buffer);
    return {};
}

} // namespace zv
