#include "LoadSkin.h"

#include <QDir>

#include "ParseColour.h"
#include "platform/ProgressColours.h"
#include "ProfileFile.h"
#include "SkinFiles.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>

#include <optional>

namespace zv {

namespace {

const QString kGrey = QStringLiteral("AAAAAA");
const QString kBlack = QStringLiteral("000000");

struct SkinColours {
    QString boxBack[5];
    QString boxText[5];
    QString progressBack, progressBar;
    QString listText, listBackType, listBack;
};

// Field prefixes in the order of SkinTargets::infoBoxes.
const char *const kBoxFields[5] = {"Anlass", "Ort", "Datum", "Namen", "Bemerkungen"};

SkinColours readColours(const ProfileFile &ini)
{
    const QString colours = QStringLiteral("Farben");
    SkinColours c;
    for (int i = 0; i < 5; ++i) {
        const QString field = QLatin1String(kBoxFields[i]);
        c.boxBack[i] = ini.value(colours, field + QStringLiteral("BG"), kGrey);
        c.boxText[i] = ini.value(colours, field + QStringLiteral("FC"), kBlack);
    }
    c.progressBack = ini.value(colours, QStringLiteral("FortschrittBG"), kGrey);
    c.progressBar = ini.value(colours, QStringLiteral("FortschrittFC"), kBlack);
    const QString list = QStringLiteral("BildListe");
    c.listText = ini.value(list, QStringLiteral("SchriftFarbe"), kBlack);
    c.listBackType = ini.value(list, QStringLiteral("HintergrundTyp"), QStringLiteral("Farbe"));
    c.listBack = ini.value(list, QStringLiteral("HintergrundWert"), kGrey);
    return c;
}

class Loader {
public:
    Loader(QString skinName, QString folder, qreal ratio)
        : m_skinName(std::move(skinName))
        , m_folder(std::move(folder))
        , m_ratio(ratio)
    { }

    std::optional<QColor> colour(const QString &entry, const QString &text)
    {
        auto parsed = ParseColour(text);
        if (!parsed)
            stop(entry, QStringLiteral("Der Wert \u201e%1\u201c f\u00fcr \u201e%2\u201c in Skin.ini ist keine Farbe "
                                       "aus sechs Hexziffern (RRGGBB).")
                            .arg(text, entry));
        return parsed;
    }

    std::optional<QPixmap> picture(const QString &file)
    {
        QPixmap pixmap;
        const QString path = FindSkinFile(m_folder, file);
        if (path.isEmpty() || !pixmap.load(path)) {
            stop(file, QStringLiteral("Das Bild \u201e%1\u201c fehlt oder kann nicht gelesen werden.").arg(file));
            return std::nullopt;
        }
        // On a screen of scale 2 the skin's twice-as-large picture, where it has one that fits.
        if (m_ratio > 1) {
            QPixmap sharp;
            const QString sharpPath = FindSkinFile(m_folder, SharpSkinFile(file));
            if (!sharpPath.isEmpty() && sharp.load(sharpPath) && sharp.size() == pixmap.size() * 2) {
                sharp.setDevicePixelRatio(2);
                return sharp;
            }
        }
        return pixmap;
    }

    SkinOutcome outcome() const { return m_outcome; }

private:
    void stop(const QString &where, const QString &reason)
    {
        m_outcome.complete = false;
        m_outcome.stoppedAt = where;
        m_outcome.message =
            QStringLiteral("Der Skin \u201e%1\u201c wurde nicht vollst\u00e4ndig geladen. %2").arg(m_skinName, reason);
    }

    QString m_skinName;
    QString m_folder;
    qreal m_ratio;
    SkinOutcome m_outcome;
};

void setColours(QWidget *widget, QPalette::ColorRole backRole, const QBrush &back, const QColor *text)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setBrush(backRole, back);
    if (text)
        palette.setColor(QPalette::Text, *text);
    widget->setPalette(palette);
}

void setTextColour(QWidget *widget, const QColor &text)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
}

// Applies Skin.ini in the order the window expects; false when a value stopped it.
bool applyColours(const SkinColours &c, const SkinTargets &targets, Loader &loader)
{
    QBrush listBack;
    if (c.listBackType == QLatin1String("Bild")) {
        const auto tile = loader.picture(c.listBack);
        if (!tile)
            return false;
        listBack = QBrush(*tile); // a textured brush tiles
    } else {
        const auto colour = loader.colour(QStringLiteral("HintergrundWert"), c.listBack);
        if (!colour)
            return false;
        listBack = QBrush(*colour);
    }
    setColours(targets.list, QPalette::Base, listBack, nullptr);

    const auto listText = loader.colour(QStringLiteral("SchriftFarbe"), c.listText);
    if (!listText)
        return false;
    setTextColour(targets.list, *listText);

    for (int i = 0; i < 5; ++i) {
        const QString field = QLatin1String(kBoxFields[i]);
        const auto back = loader.colour(field + QStringLiteral("BG"), c.boxBack[i]);
        if (!back)
            return false;
        setColours(targets.infoBoxes[i], QPalette::Base, QBrush(*back), nullptr);
        const auto text = loader.colour(field + QStringLiteral("FC"), c.boxText[i]);
        if (!text)
            return false;
        setTextColour(targets.infoBoxes[i], *text);
    }

    const auto bar = loader.colour(QStringLiteral("FortschrittFC"), c.progressBar);
    if (!bar)
        return false;
    const auto back = loader.colour(QStringLiteral("FortschrittBG"), c.progressBack);
    if (!back)
        return false;
    if (targets.progress)
        SetProgressColours(targets.progress, *bar, *back);
    return true;
}

} // namespace

SkinOutcome LoadSkin(const QString &folder, const SkinTargets &targets, SkinImages &images)
{
    Loader loader(QDir(folder).dirName(), folder, qGuiApp->devicePixelRatio());
    images.clear(); // at once rather than by ClearCollection: nothing sees the order of removal

    const QString iniPath = FindSkinFile(folder, kSkinIniFile);
    if (!iniPath.isEmpty()) {
        if (!applyColours(readColours(ProfileFile::read(iniPath)), targets, loader))
            return loader.outcome();
    }

    for (const KeyedSkinFile &entry : KeyedSkinFiles()) {
        const auto pixmap = loader.picture(entry.file);
        if (!pixmap)
            return loader.outcome();
        images.insert(entry.key, *pixmap);
    }

    const auto logo = loader.picture(kLogoFile);
    if (!logo)
        return loader.outcome();
    if (targets.logo)
        targets.logo->setPixmap(*logo);
    const auto lock = loader.picture(kSaveLockFile);
    if (!lock)
        return loader.outcome();
    if (targets.saveLock)
        targets.saveLock->setPixmap(*lock);
    return loader.outcome();
}

} // namespace zv
