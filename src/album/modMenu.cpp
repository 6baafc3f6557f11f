#include "modMenu.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStyle>

#include <algorithm>

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

// Qt menus have no column break. This one keeps room on its right (contents margins, which the
// menu's own layout honours) and places a second column there.
class TwoColumnMenu final : public QMenu {
public:
    using QMenu::QMenu;

    void setStorageColumn(std::unique_ptr<QWidget> column)
    {
        m_column = column.release();
        m_column->setParent(this);
        const QSize wanted = m_column->sizeHint();
        const int leftHeight = sizeHint().height();
        setContentsMargins(0, 0, wanted.width(), std::max(0, wanted.height() - leftHeight));
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QMenu::resizeEvent(event);
        if (m_column) {
            const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
            const int width = contentsMargins().right();
            m_column->setGeometry(this->width() - width - frame, frame, width, height() - 2 * frame);
        }
    }

private:
    QWidget *m_column = nullptr; // owned by the menu as its child
};

std::unique_ptr<QWidget> storageColumn(const QList<QAction *> &items, const QImage &pie)
{
    auto column = std::make_unique<QWidget>();
    column->setObjectName(QStringLiteral("SpeicherInfo"));
    auto *outer = new QHBoxLayout(column.get());
    outer->setContentsMargins(0, 2, 6, 2);
    auto *rule = new QFrame;
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    outer->addWidget(rule);
    auto *rows = new QVBoxLayout;
    outer->addLayout(rows);
    rows->addWidget(new QLabel(items[0]->text()));
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("picDrvInfo"));
    picture->setPixmap(QPixmap::fromImage(pie));
    picture->setContentsMargins(12, 2, 2, 2);
    rows->addWidget(picture);
    for (const QAction *legend : {items[1], items[2]}) {
        auto *row = new QHBoxLayout;
        auto *square = new QLabel;
        square->setPixmap(legend->icon().pixmap(16, 16));
        row->addWidget(square);
        row->addWidget(new QLabel(legend->text()), 1);
        rows->addLayout(row);
    }
    rows->addStretch(1);
    return column;
}

} // namespace

std::unique_ptr<QMenu> BuildPopupMenu(const MenuState &state, QWidget *parent)
{
    auto menu = std::make_unique<TwoColumnMenu>(parent);
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

    // Beyond the old menu: what cameras and phones leave to do, for the selected pictures.
    QMenu *pictures = menu->addMenu(QStringLiteral("Bilder"));
    pictures->setObjectName(QStringLiteral("mnuBilder"));
    const bool idle = state.hasSelection && state.picturesRunning == PictureWork::None;
    if (state.picturesRunning == PictureWork::CameraDates)
        item(*pictures, StopCameraDate, QStringLiteral("Aufnahmedatum übernehmen abbrechen"));
    else
        item(*pictures, TakeCameraDate, QStringLiteral("Aufnahmedatum übernehmen"))->setEnabled(idle);
    pictures->addSeparator();
    if (state.picturesRunning == PictureWork::Turns)
        item(*pictures, StopTurns, QStringLiteral("Drehen abbrechen"));
    item(*pictures, TurnUpright, QStringLiteral("aufrecht stellen"))->setEnabled(idle);
    item(*pictures, TurnLeft, QStringLiteral("links drehen"))->setEnabled(idle);
    item(*pictures, TurnRight, QStringLiteral("rechts drehen"))->setEnabled(idle);

    QMenu *view = menu->addMenu(viewIcon(), QStringLiteral("Ansicht"));
    view->setObjectName(QStringLiteral("mnuAnsicht"));
    const char *modes[] = {"Symbole", "kleine Symbole", "Liste", "Details"};
    for (int mode = ViewIcons; mode <= ViewDetails; ++mode) {
        const bool checked = mode == int(state.viewMode);
        QAction *action = item(*view, mode, QString::fromUtf8(modes[mode - 1]), optionIcon(checked));
        action->setCheckable(true);
        action->setChecked(checked);
    }
    menu->addSeparator();
    item(*menu, ChooseSkin, QStringLiteral("Skin wählen"));

    // The second column: the inert items stay in the menu (found by identifier) but are drawn by
    // a panel in the room the menu keeps free on its right.
    const QList<QAction *> info{item(*menu, StorageInfo, QStringLiteral("Speicher-Info:")),
                                item(*menu, FreeSpace, state.drive.freeText, legendIcon(state.drive.freeColour)),
                                item(*menu, UsedSpace, state.drive.usedText, legendIcon(state.drive.usedColour))};
    for (QAction *action : info)
        action->setVisible(false);
    menu->setStorageColumn(storageColumn(info, state.drive.pie));
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
