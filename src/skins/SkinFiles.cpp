#include "SkinFiles.h"

#include "app/MainWindowLayout.h"
#include "platform/CanonicalPath.h"

#include <QDir>
#include <QFileInfo>

namespace zv {

const std::vector<KeyedSkinFile> &KeyedSkinFiles()
{
    static const std::vector<KeyedSkinFile> files{
        {QStringLiteral("Button 1 speichern.jpg"), QStringLiteral("btnSaveDn")},
        {QStringLiteral("Button 0 speichern.jpg"), QStringLiteral("btnSaveUp")},
        {QStringLiteral("button 1 suchen.jpg"), QStringLiteral("btnSearchDn")},
        {QStringLiteral("button 0 suchen.jpg"), QStringLiteral("btnSearchUp")},
        {QStringLiteral("button 1 starten.jpg"), QStringLiteral("btnStartDn")},
        {QStringLiteral("button 0 starten.jpg"), QStringLiteral("btnStartUp")},
        {QStringLiteral("button 1 zurueck.jpg"), QStringLiteral("btnBackDn")},
        {QStringLiteral("button 0 zurueck.jpg"), QStringLiteral("btnBackUp")},
        {QStringLiteral("button 1 Hilfe.jpg"), QStringLiteral("btnHelpDn")},
        {QStringLiteral("button 0 Hilfe.jpg"), QStringLiteral("btnHelpUp")},
        {QStringLiteral("button 1 Dia.jpg"), QStringLiteral("btnDiaDn")},
        {QStringLiteral("button 0 Dia.jpg"), QStringLiteral("btnDiaUp")},
        {QStringLiteral("_ 1.jpg"), QStringLiteral("_Dn")},
        {QStringLiteral("_ 0.jpg"), QStringLiteral("_Up")},
        {QStringLiteral("X 1.jpg"), QStringLiteral("xDn")},
        {QStringLiteral("X 0.jpg"), QStringLiteral("xUp")},
        {QStringLiteral("Frage 1.jpg"), QStringLiteral("hDn")},
        {QStringLiteral("Frage 0.jpg"), QStringLiteral("hUp")},
        {QStringLiteral("suchen.jpg"), QStringLiteral("frmSearch")},
        {QStringLiteral("Hintergrund.jpg"), QStringLiteral("picBG")},
    };
    return files;
}

const std::array<SkinButtonKeys, 9> &SkinButtons()
{
    using Place = SkinButtonKeys::Place;
    const auto button = [](const char *name, const char *down, const char *up, Place place, QRect geometry,
                           const char *tip) {
        return SkinButtonKeys{
            QString::fromLatin1(name), QString::fromLatin1(down), QString::fromLatin1(up), place, geometry,
            QString::fromUtf8(tip)};
    };
    static const std::array<SkinButtonKeys, 9> buttons{{
        button("cmdAktual", "btnSaveDn", "btnSaveUp", Place::MenuPanel, layout::kSaveButton,
               "Bildinformationen speichern"),
        button("cmdBack", "btnBackDn", "btnBackUp", Place::SearchPanel, layout::kBackButton, "Zurück zur ganzen Liste"),
        button("cmdSuche", "btnSearchDn", "btnSearchUp", Place::MenuPanel, layout::kSearchButton, "Suchen"),
        button("cmdStart", "btnStartDn", "btnStartUp", Place::SearchPanel, layout::kStartButton, "Suche starten"),
        button("cmdHilfe", "btnHelpDn", "btnHelpUp", Place::MenuPanel, layout::kHelpButton, "Hilfe anzeigen"),
        button("cmdDia", "btnDiaDn", "btnDiaUp", Place::MenuPanel, layout::kDiaButton, "Diashow"),
        button("cmd_", "_Dn", "_Up", Place::Window, layout::kMinimiseButton, "Minimieren"),
        button("cmdHilfe2", "hDn", "hUp", Place::Window, layout::kHelp2Button, "Über Zidoverev"),
        button("cmdX", "xDn", "xUp", Place::Window, layout::kCloseButton, "Beenden"),
    }};
    return buttons;
}

QString SharpSkinFile(const QString &file)
{
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? file + QStringLiteral("@2x") : file.left(dot) + QStringLiteral("@2x") + file.mid(dot);
}

QString FindSkinFile(const QString &folder, const QString &name)
{
    const QString skin = canonicalPath(folder);
    const auto inside = [&](const QString &path) { return isSameOrBelow(canonicalPath(path), skin); };
    const QString exact = folder + name;
    if (QFileInfo(exact).isFile())
        return inside(exact) ? exact : QString();
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return inside(folder + entry) ? folder + entry : QString();
    }
    return {};
}

QString SkinFolder(const QString &programFolder, const QString &skinName)
{
    const QString skins = programFolder + QStringLiteral("/Skins/");
    const QString folder = skins + skinName + QLatin1Char('/');
    // An empty name would name the Skins folder itself.
    if (!skinName.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return skins + kDefaultSkin + QLatin1Char('/');
}

} // namespace zv
