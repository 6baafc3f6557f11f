#include "SkinWriter.h"

#include "app/MainWindowLayout.h"
#include "BackgroundArt.h"
#include "ButtonArt.h"
#include "Paint.h"
#include "PlayerArt.h"
#include "SkinTheme.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <utility>
#include <vector>

namespace zv::skingen {

namespace L = zv::layout;

namespace {

struct PanelButton {
    QString file; // with a %1 for the state digit
    QString caption;
    QPoint at; // window coordinates
};

std::vector<PanelButton> panelButtons()
{
    const QPoint menu = L::kMenuPanel.topLeft();
    const QPoint search = L::kSearchPanel.topLeft();
    return {
        {QStringLiteral("Button %1 speichern.jpg"), QStringLiteral("Speichern"), menu + L::kSaveButton.topLeft()},
        {QStringLiteral("button %1 suchen.jpg"), QStringLiteral("Suchen"), menu + L::kSearchButton.topLeft()},
        {QStringLiteral("button %1 starten.jpg"), QStringLiteral("Starten"), search + L::kStartButton.topLeft()},
        {QStringLiteral("button %1 zurueck.jpg"), QStringLiteral("Zur\u00fcck"), search + L::kBackButton.topLeft()},
        {QStringLiteral("button %1 Hilfe.jpg"), QStringLiteral("Hilfe"), menu + L::kHelpButton.topLeft()},
        {QStringLiteral("button %1 Dia.jpg"), QStringLiteral("Diashow"), menu + L::kDiaButton.topLeft()},
    };
}

struct TitleButton {
    QString file;
    TitleSymbol symbol;
    QPoint at;
};

std::vector<TitleButton> titleButtons()
{
    return {
        {QStringLiteral("_ %1.jpg"), TitleSymbol::Minimise, L::kMinimiseButton.topLeft()},
        {QStringLiteral("X %1.jpg"), TitleSymbol::Close, L::kCloseButton.topLeft()},
        {QStringLiteral("Frage %1.jpg"), TitleSymbol::Question, L::kHelp2Button.topLeft()},
    };
}

struct PlayerButton {
    QString file;
    PlayerSymbol symbol;
    int slot; // position in the bar's button row
};

std::vector<PlayerButton> playerButtons()
{
    return {
        {QStringLiteral("skalieren %1.jpg"), PlayerSymbol::PictureWindow, 0},
        {QStringLiteral("maximieren %1.jpg"), PlayerSymbol::OpenExternal, 1},
        {QStringLiteral("Film abspielen %1.jpg"), PlayerSymbol::Play, 2},
        {QStringLiteral("Wiedergabe beenden %1.jpg"), PlayerSymbol::Stop, 3},
        {QStringLiteral("Wiedergabe anhalten %1.jpg"), PlayerSymbol::Pause, 4},
    };
}

using Picture = std::pair<QString, QImage>;

std::vector<Picture> drawAll(const SkinTheme &theme)
{
    std::vector<Picture> pictures;
    const QImage background = drawBackground(theme);
    for (const auto &b : panelButtons())
        for (int state : {0, 1})
            pictures.emplace_back(b.file.arg(state), drawPanelButton(theme, background, b.at, b.caption, state == 1));
    for (const auto &b : titleButtons())
        for (int state : {0, 1})
            pictures.emplace_back(b.file.arg(state), drawTitleButton(theme, background, b.at, b.symbol, state == 1));
    pictures.emplace_back(QStringLiteral("suchen.jpg"), drawSearchFrame(theme, background));
    pictures.emplace_back(QStringLiteral("Hintergrund.jpg"), background);
    pictures.emplace_back(QStringLiteral("Logo.jpg"), drawLogo(theme, background));
    pictures.emplace_back(QStringLiteral("Button X speichern.jpg"), drawSaveLock(theme, background));
    for (const auto &b : playerButtons())
        for (int state : {0, 1})
            pictures.emplace_back(b.file.arg(state), drawPlayerButton(theme, b.symbol, state == 1));
    pictures.emplace_back(QStringLiteral("1Leiste.jpg"), drawTrack(theme));
    pictures.emplace_back(QStringLiteral("1Zeiger.jpg"), drawThumb(theme));
    for (int level = 0; level <= 6; ++level)
        pictures.emplace_back(QStringLiteral("2Vol%1.jpg").arg(level), drawVolume(theme, level));
    return pictures;
}

// "Button 0 speichern.jpg" -> "Button 0 speichern@2x.jpg"
QString sharpName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

QImage find(const std::vector<Picture> &pictures, const QString &file)
{
    for (const auto &[name, image] : pictures)
        if (name == file)
            return image;
    return {};
}

} // namespace

QString writeSkin(const QString &root, const SkinTheme &theme)
{
    const QString folder = root + QLatin1Char('/') + theme.folder + QLatin1Char('/');
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    // Each picture twice: as the window lays it out, and with twice the pixels for scale 2.
    for (int scale : {1, 2}) {
        setDrawScale(scale);
        const auto pictures = drawAll(theme);
        setDrawScale(1);
        for (const auto &[name, image] : pictures) {
            const QString file = scale == 1 ? name : sharpName(name);
            // JPEG has no alpha: flatten onto the image's own pixels as opaque RGB.
            if (!image.convertToFormat(QImage::Format_RGB32).save(folder + file, "JPG", 95))
                return QStringLiteral("cannot write %1").arg(folder + file);
        }
    }
    QFile ini(folder + QStringLiteral("Skin.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("cannot write %1").arg(ini.fileName());
    ini.write(theme.ini.toLatin1());
    return {};
}

QImage composePreview(const SkinTheme &theme, bool pressedButtons)
{
    const auto pictures = drawAll(theme);
    QImage window = find(pictures, QStringLiteral("Hintergrund.jpg")).copy();
    QPainter p(&window);
    const QString state = pressedButtons ? QStringLiteral("1") : QStringLiteral("0");
    for (const auto &b : panelButtons())
        p.drawImage(b.at, find(pictures, b.file.arg(state)));
    for (const auto &b : titleButtons())
        p.drawImage(b.at, find(pictures, b.file.arg(state)));
    QImage frame = find(pictures, QStringLiteral("suchen.jpg")).copy();
    {
        const QRect inside(10, 24, frame.width() - 20, frame.height() - 34);
        QPainter fp(&frame);
        fp.drawImage(inside.topLeft(), window, inside.translated(L::kSearchFrame.topLeft()));
    }
    p.drawImage(L::kSearchFrame.topLeft(), frame);
    p.drawImage(L::kMenuPanel.topLeft() + L::kLogo.topLeft(), find(pictures, QStringLiteral("Logo.jpg")));
    if (pressedButtons)
        p.drawImage(L::kMenuPanel.topLeft() + L::kSaveLock.topLeft(),
                    find(pictures, QStringLiteral("Button X speichern.jpg")));
    const QPoint bar = L::kPlayerBar.topLeft();
    for (const auto &b : playerButtons())
        p.drawImage(bar + QPoint(30 * b.slot, 0), find(pictures, b.file.arg(state)));
    p.drawImage(bar + QPoint(0, 30), find(pictures, QStringLiteral("1Leiste.jpg")));
    p.drawImage(bar + QPoint(71, 30), find(pictures, QStringLiteral("1Zeiger.jpg")));
    p.drawImage(bar + QPoint(150, 0), find(pictures, QStringLiteral("2Vol%1.jpg").arg(pressedButtons ? 6 : 4)));
    return window;
}

} // namespace zv::skingen
