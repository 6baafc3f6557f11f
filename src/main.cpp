// The album program: the start-up window reads the album, then the main window takes over.
#include "app/AppSettings.h"
#include "platform/RegularFile.h"
#include "platform/Translations.h"
#include "program/Program.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char **argv)
{
    zv::ignoreFileSizeSignal();
    // One look on every desktop; skins set the colours.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(zv::kApplicationName));
    QCoreApplication::setOrganizationName(QString::fromLatin1(zv::kApplicationName));
    zv::installGermanTranslations(app);

    zv::Program program(QCoreApplication::applicationDirPath(), zv::systemServices());
    program.start();
    return app.exec();
}
