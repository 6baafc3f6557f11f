#include "SkinTheme.h"

namespace zv::skingen {

namespace {

QString iniText(const QString &box, const QString &text, const QString &barBack, const QString &barFront,
                const QString &listText, const QString &listBack)
{
    QString ini = QStringLiteral("; Farben dieser Oberfl\u00e4che: sechs Hexziffern Rot, Gr\u00fcn, Blau\r\n"
                                 "[Farben]\r\n");
    for (const char *field : {"Anlass", "Datum", "Ort", "Namen", "Bemerkungen"}) {
        ini += QStringLiteral("%1BG=%2\r\n").arg(QLatin1String(field), box);
        ini += QStringLiteral("%1FC=%2\r\n").arg(QLatin1String(field), text);
    }
    ini += QStringLiteral("FortschrittBG=%1\r\nFortschrittFC=%2\r\n\r\n").arg(barBack, barFront);
    ini += QStringLiteral("[BildListe]\r\nSchriftFarbe=%1\r\nHintergrundTyp=Farbe\r\nHintergrundWert=%2\r\n")
               .arg(listText, listBack);
    return ini;
}

} // namespace

SkinTheme sandTheme()
{
    SkinTheme t;
    t.folder = QStringLiteral("Main");
    t.windowTop = QColor(0xEF, 0xE2, 0xC8);
    t.windowBottom = QColor(0xC9, 0xA9, 0x7C);
    t.bandTop = QColor(0x7A, 0x4E, 0x2C);
    t.bandBottom = QColor(0x45, 0x2A, 0x16);
    t.bandText = QColor(0xF8, 0xEA, 0xCC);
    t.bandLine = QColor(0xE0, 0x9A, 0x3C);
    t.panelFill = QColor(255, 250, 238, 110);
    t.panelBorder = QColor(0x8A, 0x63, 0x3E);
    t.paper = QColor(0xFA, 0xF3, 0xE4);
    t.screen = QColor(0x2B, 0x1F, 0x16);
    t.faceTop = QColor(0xB9, 0x85, 0x52);
    t.faceBottom = QColor(0x7E, 0x51, 0x2C);
    t.faceBorder = QColor(0x4A, 0x2E, 0x18);
    t.faceText = QColor(0xFF, 0xF6, 0xE4);
    t.accent = QColor(0xE8, 0x9B, 0x3A);
    t.accentDark = QColor(0x9C, 0x5B, 0x1E);
    t.bar = QColor(0x4E, 0x33, 0x1F);
    t.barFace = QColor(0x8C, 0x5E, 0x36);
    t.ini = iniText(QStringLiteral("FFFDF8"), QStringLiteral("3B2714"), QStringLiteral("E8D6B4"),
                    QStringLiteral("B0652A"), QStringLiteral("3B2714"), QStringLiteral("FBF6EC"));
    return t;
}

SkinTheme blueTheme()
{
    SkinTheme t;
    t.folder = QStringLiteral("Blau");
    t.windowTop = QColor(0xDD, 0xEA, 0xF7);
    t.windowBottom = QColor(0x86, 0xA9, 0xD3);
    t.bandTop = QColor(0x26, 0x5C, 0xA3);
    t.bandBottom = QColor(0x10, 0x2F, 0x5C);
    t.bandText = QColor(0xEC, 0xF4, 0xFF);
    t.bandLine = QColor(0x6C, 0xC8, 0xF5);
    t.panelFill = QColor(245, 250, 255, 110);
    t.panelBorder = QColor(0x3A, 0x68, 0xA0);
    t.paper = QColor(0xEE, 0xF4, 0xFB);
    t.screen = QColor(0x0E, 0x1B, 0x2E);
    t.faceTop = QColor(0x5B, 0x95, 0xDA);
    t.faceBottom = QColor(0x24, 0x59, 0x9E);
    t.faceBorder = QColor(0x12, 0x36, 0x66);
    t.faceText = QColor(0xFF, 0xFF, 0xFF);
    t.accent = QColor(0x5F, 0xC6, 0xF8);
    t.accentDark = QColor(0x1F, 0x6F, 0xB0);
    t.bar = QColor(0x17, 0x34, 0x5C);
    t.barFace = QColor(0x3A, 0x6E, 0xAE);
    t.ini = iniText(QStringLiteral("FFFFFF"), QStringLiteral("0F2440"), QStringLiteral("D0E0F2"),
                    QStringLiteral("2F75C4"), QStringLiteral("0F2440"), QStringLiteral("F2F7FD"));
    return t;
}

} // namespace zv::skingen
