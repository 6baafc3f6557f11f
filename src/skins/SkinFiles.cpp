#include "SkinFiles.h"

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
    static const std::array<SkinButtonKeys, 9> buttons{{
        {QStringLiteral("cmdAktual"), QStringLiteral("btnSaveDn"), QStringLiteral("btnSaveUp")},
        {QStringLiteral("cmdBack"), QStringLiteral("btnBackDn"), QStringLiteral("btnBackUp")},
        {QStringLiteral("cmdSuche"), QStringLiteral("btnSearchDn"), QStringLiteral("btnSearchUp")},
        {QStringLiteral("cmdStart"), QStringLiteral("btnStartDn"), QStringLiteral("btnStartUp")},
        {QStringLiteral("cmdHilfe"), QStringLiteral("btnHelpDn"), QStringLiteral("btnHelpUp")},
        {QStringLiteral("cmdDia"), QStringLiteral("btnDiaDn"), QStringLiteral("btnDiaUp")},
        {QStringLiteral("cmd_"), QStringLiteral("_Dn"), QStringLiteral("_Up")},
        {QStringLiteral("cmdHilfe2"), QStringLiteral("hDn"), QStringLiteral("hUp")},
        {QStringLiteral("cmdX"), QStringLiteral("xDn"), QStringLiteral("xUp")},
    }};
    return buttons;
}

QString FindSkinFile(const QString &folder, const QString &name)
{
    const QString exact = folder + name;
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + entry;
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
