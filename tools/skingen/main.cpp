// Draws the album's skins: skingen <Skins folder> [--preview <folder for PNG previews>]
#include "SkinTheme.h"
#include "SkinWriter.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Fonts need a platform plugin; offscreen works at build time without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: skingen <Skins folder> [--preview <folder>]\n");
        return 2;
    }
    const QString previewFolder = args.size() >= 4 && args.at(2) == QLatin1String("--preview") ? args.at(3) : QString();
    for (const auto &theme : {zv::skingen::sandTheme(), zv::skingen::blueTheme()}) {
        const QString error = zv::skingen::writeSkin(args.at(1), theme);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "skingen: %s\n", qPrintable(error));
            return 1;
        }
        if (!previewFolder.isEmpty()) {
            for (bool pressed : {false, true})
                zv::skingen::composePreview(theme, pressed)
                    .save(QStringLiteral("%1/%2-%3.png").arg(previewFolder, theme.folder, pressed ? "1" : "0"));
        }
    }
    return 0;
}
