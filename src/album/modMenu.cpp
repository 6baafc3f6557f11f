#include "modMenu.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QWidgetAction>
#include <QLabel>

namespace zv {
namespace {

// The menu's small pictures, drawn in the shipped skins' warm colours.
QIcon drawnIcon(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

const QColor kOrange(230, 120, 30);
const QColor kBrown(120, 60, 20);

QIcon folderIcon() // picIcoFiles
{
    return drawnIcon([](QPainter &p) {
        p.setPen(kBrown);
        p.setBrush(kOrange);
        p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
        p.drawRect(QRectF(1.5, 2.5, 5, 2));
    });
}

QIcon saveIcon() // picIcoSave
{
    return drawnIcon([](QPainter &p) {
        p.setPen(kBrown);
        p.setBrush(kOrange);
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 5, 4));
    });
}

QIcon plusMinusIcon(bool plus) // picIcoAdd, picIcoRemove
{
    return drawnIcon([plus](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(plus ? QColor(60, 150, 40) : QColor(190, 40, 30));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 7, 8, 2));
        if (plus)
            p.drawRect(QRectF(7, 4, 2, 8));
    });
}

QIcon viewIcon() // picIcoView
{
    return drawnIcon([](QPainter &p) {
        p.setPen(kBrown);
        p.setBrush(kOrange);
        for (int y : {2, 7, 12})
            p.drawRect(QRectF(2.5, y + 0.5, 11, 2));
    });
}

QIcon optionIcon(bool checked) // picOptTrue, picOptFalse
{
    return drawnIcon([checked](QPainter &p) {
        p.setPen(kBrown);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        if (checked) {
            p.setBrush(kOrange);
            p.drawEllipse(QRectF(5, 5, 6, 6));
        }
    });
}

QIcon doridoIcon() // picDorido
{
    return drawnIcon([](QPainter &p) {
        p.setPen(kBrown);
        p.setBrush(QColor(250, 230, 200));
        p.drawRect(QRectF(2.5, 4.5, 11, 8));
        p.setBrush(kOrange);
        p.drawRect(QRectF(4.5, 2.5, 7, 3));
    });
}

QIcon legendIcon(const QColor &colour) // picDrvFree, picDrvFull
{
    return drawnIcon([colour](QPainter &p) {
        p.setPen(Qt::black);
        p.setBrush(colour);
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
    });
}

QAction *item(QMenu &menu, int identifier, const QString &caption, const QIcon &icon = {})
{
    QAction *action = menu.addAction(icon, caption);
    action->setData(identifier);
    return action;
}

} // namespace

std::unique_ptr<QMenu> BuildPopupMenu(const MenuState &state, QWidget *parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    menu->setObjectName(QStringLiteral("PopupMenu"));
    item(*menu, SelectAll, QStringLiteral("alles markieren"));
    menu->addSeparator();

    QMenu *files = menu->addMenu(folderIcon(), QStringLiteral("Dateien"));
    files->setObjectName(QStringLiteral("mnuDateien"));
    item(*files, SaveAs, QStringLiteral("speichern unter"), saveIcon());
    item(*files, AddFiles, QStringLiteral("hinzufügen"), plusMinusIcon(true));
    item(*files, RemoveFiles, QStringLiteral("entfernen"), plusMinusIcon(false));
    item(*files, NewAlbum, QStringLiteral("neues Album"));
    if (state.hasDorido) {
        files->addSeparator();
        item(*files, OrderPrints, QStringLiteral("bei Dorido bestellen"), doridoIcon());
    }

    QMenu *view = menu->addMenu(viewIcon(), QStringLiteral("Ansicht"));
    view->setObjectName(QStringLiteral("mnuAnsicht"));
    const char *modes[] = {"Symbole", "kleine Symbole", "Liste", "Details"};
    for (int mode = ViewIcons; mode <= ViewDetails; ++mode) {
        const bool checked = mode == state.viewMode;
        QAction *action = item(*view, mode, QString::fromUtf8(modes[mode - 1]), optionIcon(checked));
        action->setCheckable(true);
        action->setChecked(checked);
    }
    menu->addSeparator();
    item(*menu, ChooseSkin, QStringLiteral("Skin wählen"));

    // Qt menus have no column break: the drive's usage follows below a separator.
    menu->addSeparator();
    item(*menu, StorageInfo, QStringLiteral("Speicher-Info:"));
    auto *pie = new QWidgetAction(menu.get());
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("picDrvInfo"));
    picture->setPixmap(QPixmap::fromImage(state.drive.pie));
    picture->setContentsMargins(24, 2, 2, 2);
    pie->setDefaultWidget(picture);
    pie->setData(int(StorageInfo));
    menu->addAction(pie);
    item(*menu, FreeSpace, state.drive.freeText, legendIcon(state.drive.freeColour));
    item(*menu, UsedSpace, state.drive.usedText, legendIcon(state.drive.usedColour));
    return menu;
}

QAction *findMenuItem(const QMenu &menu, int identifier)
{
    for (QAction *action : menu.actions()) {
        if (action->menu())
            if (QAction *inner = findMenuItem(*action->menu(), identifier))
                return inner;
        if (!action->menu() && !action->isSeparator() && action->data().toInt() == identifier)
            return action;
    }
    return nullptr;
}

bool IsItemChecked(const QMenu &menu, int identifier)
{
    const QAction *action = findMenuItem(menu, identifier);
    return action && action->isChecked();
}

} // namespace zv
