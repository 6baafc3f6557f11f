#include "TransferIcons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace zv {
namespace {

QPixmap draw(QColor body, QColor mark, bool folder, bool open)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(body.darker(160));
    g.setBrush(body);
    if (folder) {
        g.drawRect(1, 4, 13, 10);
        g.drawRect(1, 2, 6, 2);
        if (open) {
            g.setBrush(body.lighter(130));
            g.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
        }
    } else {
        g.drawRoundedRect(1, 3, 14, 10, 2, 2);
        g.fillRect(3, 8, 4, 3, mark);
    }
    return p;
}

enum class Kind { Picture, Video, Sound };

// The file kinds each in its own shape, so none of them passes for a drive.
void paintKind(QPainter &g, Kind kind)
{
    g.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case Kind::Picture: { // a framed landscape: sky, sun, two hills
        g.setPen(QPen(QColor(90, 90, 90), 1));
        g.setBrush(QColor(150, 200, 245));
        g.drawRect(QRectF(0.5, 2.5, 15, 11));
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(250, 210, 40));
        g.drawEllipse(QPointF(11.5, 5.5), 1.8, 1.8);
        g.setBrush(QColor(40, 130, 50));
        g.drawPolygon(QPolygonF({QPointF(1, 13), QPointF(6, 6.5), QPointF(10, 13)}));
        g.setBrush(QColor(70, 160, 70));
        g.drawPolygon(QPolygonF({QPointF(6, 13), QPointF(11, 8.5), QPointF(15, 13)}));
        break;
    }
    case Kind::Video: { // a strip of film with its perforation and a play mark
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(40, 40, 40));
        g.drawRect(QRectF(2, 0, 12, 16));
        g.setBrush(Qt::white);
        for (int y = 1; y < 16; y += 3) {
            g.drawRect(QRectF(3, y, 1.5, 1.5));
            g.drawRect(QRectF(11.5, y, 1.5, 1.5));
        }
        g.setBrush(QColor(230, 60, 50));
        g.drawPolygon(QPolygonF({QPointF(6, 5), QPointF(10.5, 8), QPointF(6, 11)}));
        break;
    }
    case Kind::Sound: { // two beamed notes
        const QColor ink(110, 50, 160);
        g.setPen(Qt::NoPen);
        g.setBrush(ink);
        g.drawEllipse(QPointF(4, 13), 2.6, 2);
        g.drawEllipse(QPointF(12, 11.5), 2.6, 2);
        g.setPen(QPen(ink, 1.4));
        g.drawLine(QPointF(6, 13), QPointF(6, 3));
        g.drawLine(QPointF(14, 11.5), QPointF(14, 1.5));
        g.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::FlatCap));
        g.drawLine(QPointF(6, 3.5), QPointF(14, 2));
        break;
    }
    }
}

// 16 x 16 window pixels, with a second picture of twice the pixels for a screen of scale 2.
QIcon kindIcon(Kind kind)
{
    QIcon icon;
    for (int ratio : {1, 2}) {
        QPixmap p(16 * ratio, 16 * ratio);
        p.setDevicePixelRatio(ratio);
        p.fill(Qt::transparent);
        QPainter g(&p);
        paintKind(g, kind);
        g.end();
        icon.addPixmap(p);
    }
    return icon;
}

} // namespace

QIcon transferIcon(const QString &key)
{
    static const QHash<QString, QIcon> icons = [] {
        QHash<QString, QIcon> m;
        m.insert(QStringLiteral("wechselbar"), QIcon(draw(QColor(230, 180, 60), Qt::black, false, false)));
        m.insert(QStringLiteral("intern"), QIcon(draw(QColor(170, 170, 170), Qt::green, false, false)));
        m.insert(QStringLiteral("netzwerk"), QIcon(draw(QColor(90, 140, 220), Qt::white, false, false)));
        m.insert(QStringLiteral("CD"), QIcon(draw(QColor(220, 220, 240), Qt::blue, false, false)));
        m.insert(QStringLiteral("Root"), QIcon(draw(QColor(120, 120, 120), Qt::white, false, false)));
        m.insert(QStringLiteral("zu"), QIcon(draw(QColor(240, 210, 100), Qt::black, true, false)));
        m.insert(QStringLiteral("auf"), QIcon(draw(QColor(240, 210, 100), Qt::black, true, true)));
        m.insert(QStringLiteral("Bild"), kindIcon(Kind::Picture));
        m.insert(QStringLiteral("Video"), kindIcon(Kind::Video));
        m.insert(QStringLiteral("Audio"), kindIcon(Kind::Sound));
        m.insert(QStringLiteral("text"), QIcon(draw(QColor(250, 250, 250), Qt::darkGray, false, false)));
        // The places look as in the desktop's own file manager where its theme has the picture.
        const QIcon folder = m.value(QStringLiteral("zu"));
        const QIcon removable = m.value(QStringLiteral("wechselbar"));
        m.insert(QStringLiteral("heim"), QIcon::fromTheme(QStringLiteral("user-home"),
                                                          QApplication::style()->standardIcon(QStyle::SP_DirHomeIcon)));
        m.insert(QStringLiteral("bilder"), QIcon::fromTheme(QStringLiteral("folder-pictures"), folder));
        m.insert(QStringLiteral("medium"), QIcon::fromTheme(QStringLiteral("drive-removable-media"), removable));
        m.insert(QStringLiteral("telefon"), QIcon::fromTheme(QStringLiteral("phone"), removable));
        m.insert(QStringLiteral("kamera"), QIcon::fromTheme(QStringLiteral("camera-photo"), removable));
        m.insert(QStringLiteral("freigabe"),
                 QIcon::fromTheme(QStringLiteral("folder-remote"), m.value(QStringLiteral("netzwerk"))));
        return m;
    }();
    return icons.value(key);
}

} // namespace zv
