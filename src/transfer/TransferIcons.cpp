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
        m.insert(QStringLiteral("Bild"), QIcon(draw(QColor(120, 190, 120), Qt::yellow, false, false)));
        m.insert(QStringLiteral("Video"), QIcon(draw(QColor(60, 60, 60), Qt::red, false, false)));
        m.insert(QStringLiteral("Audio"), QIcon(draw(QColor(160, 110, 200), Qt::white, false, false)));
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
