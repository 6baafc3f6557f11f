#include "skins/ApplySkin.h"
#include "skins/ImageButton.h"
#include "skins/LoadSkin.h"
#include "skins/ParseColour.h"
#include "skins/ProfileFile.h"
#include "skins/SkinFiles.h"
#include "skins/SkinPanel.h"

#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>
#include <vector>

using namespace zv;

namespace {

const QColor kGrey(170, 170, 170);
const QColor kUntouched(1, 2, 3);
const QColor kFrame(255, 0, 255);

QPixmap solid(QSize size, const QColor &colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

QImage rgb(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

QColor shownColour(const QLabel &label)
{
    return label.pixmap().isNull() ? QColor() : QColor(label.pixmap().toImage().pixel(0, 0));
}

// Writes programFolder/Skins/<name>/ with every picture in one colour, and the ini unless it is "-".
// The ini's name differs in case, as in skins made where case does not matter.
bool writeSkin(const QString &programFolder, const QString &name, const QString &ini)
{
    const QString folder = programFolder + QStringLiteral("/Skins/") + name + QLatin1Char('/');
    QStringList files{kLogoFile, kSaveLockFile};
    for (const auto &entry : KeyedSkinFiles())
        files << entry.file;
    for (const QString &file : files)
        if (!QDir().mkpath(folder) || !solid({12, 10}, Qt::darkCyan).save(folder + file, "JPG"))
            return false;
    QFile file(folder + QStringLiteral("skin.INI"));
    return ini == u"-" || (file.open(QIODevice::WriteOnly) && file.write(ini.toLatin1()) == ini.size());
}

// The controls LoadSkin colours, each starting in a colour no skin uses.
struct LoadWindow {
    QTreeView list;
    QLineEdit boxes[5];
    QProgressBar progress;
    QLabel logo, saveLock;
    SkinTargets targets{&list, {&boxes[0], &boxes[1], &boxes[2], &boxes[3], &boxes[4]}, &progress, &logo, &saveLock};
    const QList<QWidget *> coloured{&list, &boxes[0], &boxes[1], &boxes[2], &boxes[3], &boxes[4], &progress};

    LoadWindow()
    {
        QPalette p;
        for (const auto role : {QPalette::Base, QPalette::Text, QPalette::Highlight})
            p.setColor(role, kUntouched);
        for (QWidget *w : coloured)
            w->setPalette(p);
    }
    // Background and text (the bar for the progress bar) of each coloured control.
    QList<QColor> colours() const
    {
        QList<QColor> c;
        for (const QWidget *w : coloured)
            c << w->palette().color(QPalette::Base)
              << w->palette().color(w == &progress ? QPalette::Highlight : QPalette::Text);
        return c;
    }
};

// What ApplySkin dresses, with every released face, the frame and the background except missing.
struct ApplyWindow {
    SkinImages images;
    QWidget root;
    std::vector<std::unique_ptr<ImageButton>> buttons;
    SkinPanel suche{QStringLiteral("picSuche"), &root}, menue{QStringLiteral("picMenue"), &root},
        vorschau{QStringLiteral("picVorschau"), &root};
    QLabel imgSearch{&root};
    QPixmap picSearch, background;
    QImage bg{layout::kWindow, QImage::Format_RGB32}; // each pixel unlike its neighbours: misplaced copies show
    int playerSkins = 0;
    SkinnedWindow skinned;

    explicit ApplyWindow(const QString &missing = {})
    {
        const auto put = [&](const QString &key, const QPixmap &picture) {
            if (key != missing)
                images.insert(key, picture);
        };
        for (const auto &keys : SkinButtons()) {
            buttons.push_back(std::make_unique<ImageButton>(keys.objectName, keys.pressedKey, keys.releasedKey,
                                                            images, &root));
            skinned.buttons[buttons.size() - 1] = buttons.back().get();
            put(keys.releasedKey, solid({20, 20}, Qt::green));
        }
        put(QStringLiteral("frmSearch"), solid(layout::kSearchFrame.size(), kFrame));
        for (int y = 0; y < bg.height(); ++y)
            for (int x = 0; x < bg.width(); ++x)
                bg.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 40 + (y / 256) * 100));
        put(QStringLiteral("picBG"), QPixmap::fromImage(bg));
        skinned.picSearch = &picSearch;
        skinned.imgSearch = &imgSearch;
        skinned.setBackground = [this](const QPixmap &picture) { background = picture; };
        skinned.setPlayerSkin = [this] { ++playerSkins; };
        skinned.panels[0].panel = &suche;
        skinned.panels[1].panel = &menue;
        skinned.panels[2].panel = &vorschau;
    }
};

} // namespace

class TestSkins : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseColour_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour"); // invalid: not a colour
        QTest::newRow("red is the first pair") << "FF0000" << QColor(255, 0, 0);
        QTest::newRow("any case") << "aBcDeF" << QColor(0xAB, 0xCD, 0xEF);
        QTest::newRow("junk after the digits") << "12345678" << QColor();
        QTest::newRow("blank after the digits") << "123456 " << QColor();
        QTest::newRow("too short") << "12345" << QColor();
        QTest::newRow("letter beyond F") << "12G456" << QColor();
        QTest::newRow("hash prefix") << "#FF0000" << QColor();
        QTest::newRow("leading blank") << " FF0000" << QColor();
        QTest::newRow("sign") << "+12345" << QColor();
    }

    void parseColour()
    {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QCOMPARE(ParseColour(text).value_or(QColor()), colour);
    }

    void profileValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // of Farben/OrtBG, "-" when missing
        QTest::newRow("section and key case") << "[FARBEN]\northg=1\nortbg=aBc\n" << "aBc";
        QTest::newRow("missing key") << "[Farben]\nOrtFC=000000\n" << "-";
        QTest::newRow("key of another section") << "OrtBG=1\n[Andere]\nOrtBG=2\n[Farben]\n" << "-";
        QTest::newRow("comments, blanks, blank lines") << "; x\n\n [Farben] \n;OrtBG=9\n\n OrtBG = 1 2 \n" << "1 2";
        QTest::newRow("first of two wins") << "[Farben]\nOrtBG=1\nOrtBG=2\n" << "1";
        QTest::newRow("quotes removed, escapes kept") << "[Farben]\nOrtBG=\"a\\b, c\"\n" << "a\\b, c";
        QTest::newRow("empty value is not missing") << "[Farben]\nOrtBG=\n" << "";
        QTest::newRow("cut at 254") << "[Farben]\nOrtBG=" + QString(300, u'7') << QString(254, u'7');
        QTest::newRow("254 kept") << "[Farben]\nOrtBG=" + QString(254, u'7') << QString(254, u'7');
    }

    void profileValue()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ProfileFile::parse(text).value(u"Farben", u"OrtBG", QStringLiteral("-")), expected);
    }

    void profileFile()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("Skin.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[Liste]\r\nWert=M\xfchle \x80.jpg\r\n") > 0);
        file.close(); // Windows-1252
        QCOMPARE(ProfileFile::read(file.fileName()).value(u"Liste", u"Wert", {}), QString::fromUtf8("Mühle €.jpg"));
        QCOMPARE(ProfileFile::read(dir.filePath(QStringLiteral("fehlt.ini"))).value(u"Liste", u"Wert", "-"), "-");
        // Only the first 64 KB are read: a key behind them is missing.
        QFile big(dir.filePath(QStringLiteral("Gross.ini")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write("[Liste]\nVorne=1\n;" + QByteArray(ProfileFile::kMaxFileSize, 'x') + "\nHinten=2\n");
        big.close();
        const ProfileFile bigIni = ProfileFile::read(big.fileName());
        QCOMPARE(bigIni.value(u"Liste", u"Vorne", "-"), "1");
        QCOMPARE(bigIni.value(u"Liste", u"Hinten", "-"), "-");
    }

    void loadSkin_data()
    {
        QTest::addColumn<QString>("skin"); // only Main exists
        QTest::addColumn<QString>("ini");       // "-": no Skin.ini
        QTest::addColumn<QString>("stoppedAt"); // a picture named so is removed
        QTest::addColumn<QList<QColor>>("expected"); // in the order of LoadWindow::colours
        QTest::addColumn<int>("pictures");
        QList<QColor> defaults, each{QColor(14, 14, 14), QColor(13, 13, 13)};
        for (int i = 1; i <= 14; ++i)
            defaults << (i % 2 ? kGrey : Qt::black), each << QColor(i, i, i);
        each.resize(14);
        const auto setUpTo = [&](int n) { return defaults.mid(0, n) + QList<QColor>(14 - n, kUntouched); };
        const auto listIn = [&](const QColor &c) { return QList<QColor>{c} + defaults.mid(1); };
        const char *red = "[BildListe]\nHintergrundWert=FF0000\n";
        QTest::newRow("empty Skin.ini") << "Main" << "" << "" << defaults << 20;
        QTest::newRow("no Skin.ini") << "Main" << "-" << "" << setUpTo(0) << 20;
        QTest::newRow("each colour to its box")
            << "Main"
            << "[Farben]\nAnlassBG=010101\nAnlassFC=020202\nOrtBG=030303\nOrtFC=040404\nDatumBG=050505\n"
               "DatumFC=060606\nNamenBG=070707\nNamenFC=080808\nBemerkungenBG=090909\nBemerkungenFC=0A0A0A\n"
               "FortschrittBG=0B0B0B\nFortschrittFC=0C0C0C\n[BildListe]\nSchriftFarbe=0D0D0D\nHintergrundWert=0E0E0E\n"
            << "" << each << 20;
        QTest::newRow("bild in lower case is a colour")
            << "Main" << "[BildListe]\nHintergrundTyp=bild\nHintergrundWert=0000FF\n" << "" << listIn(Qt::blue) << 20;
        QTest::newRow("missing folder loads Main, red list") << "Gibtsnicht" << red << "" << listIn(Qt::red) << 20;
        QTest::newRow("no name loads Main") << "" << red << "" << listIn(Qt::red) << 20;
        // Loading stops at a missing picture or a malformed colour; what came before stays.
        QTest::newRow("button picture") << "Main" << "" << "button 1 suchen.jpg" << defaults << 2;
        QTest::newRow("logo") << "Main" << "" << "Logo.jpg" << defaults << 20;
        QTest::newRow("no tile") << "Main" << "[BildListe]\nHintergrundTyp=Bild\nHintergrundWert=F.jpg" << "F.jpg"
                                 << setUpTo(0) << 0;
        QTest::newRow("list colour") << "Main" << "[BildListe]\nHintergrundWert=x" << "HintergrundWert" << setUpTo(0)
                                     << 0;
        QTest::newRow("short colour") << "Main" << "[Farben]\nOrtBG=12345" << "OrtBG" << setUpTo(4) << 0;
        QTest::newRow("bad character") << "Main" << "[Farben]\nNamenBG=00GG00" << "NamenBG" << setUpTo(8) << 0;
        QTest::newRow("progress bar") << "Main" << "[Farben]\nFortschrittBG=x" << "FortschrittBG" << setUpTo(12) << 0;
    }

    void loadSkin()
    {
        QFETCH(QString, skin);
        QFETCH(QString, ini);
        QFETCH(QString, stoppedAt);
        QFETCH(QList<QColor>, expected);
        QFETCH(int, pictures);
        QTemporaryDir dir;
        QVERIFY(writeSkin(dir.path(), QStringLiteral("Main"), ini));
        QFile::remove(dir.path() + QStringLiteral("/Skins/Main/") + stoppedAt);
        LoadWindow w;
        SkinImages images;
        images.insert(QStringLiteral("vomLetztenSkin"), QPixmap(1, 1));
        const auto outcome = LoadSkin(SkinFolder(dir.path(), skin), w.targets, images);
        QCOMPARE(outcome.complete, stoppedAt.isEmpty());
        QCOMPARE(outcome.stoppedAt, stoppedAt);
        QCOMPARE(outcome.message.isEmpty(), outcome.complete);
        QVERIFY2(outcome.complete || (outcome.message.contains(stoppedAt) && outcome.message.contains(skin)),
                 qPrintable(outcome.message));
        QCOMPARE(w.colours(), expected);
        for (int i = 0; i < 20; ++i) // the earlier pictures are there, the later ones not
            QCOMPARE(images.contains(KeyedSkinFiles()[i].key), i < pictures);
        QCOMPARE(images.size(), pictures);
        QCOMPARE(w.logo.pixmap().isNull(), !outcome.complete);
        QCOMPARE(w.saveLock.pixmap().isNull(), !outcome.complete);
    }

    void tiledListBackground()
    {
        QTemporaryDir dir;
        QVERIFY(writeSkin(dir.path(), QStringLiteral("K"), "[BildListe]\nHintergrundTyp=Bild\nHintergrundWert=K.png"));
        QImage tile(4, 4, QImage::Format_RGB32); // left half red, right half blue
        tile.fill(Qt::red);
        QPainter(&tile).fillRect(2, 0, 2, 4, Qt::blue);
        QVERIFY(tile.save(dir.path() + QStringLiteral("/Skins/K/K.png")));
        LoadWindow w;
        SkinImages images;
        QVERIFY(LoadSkin(SkinFolder(dir.path(), QStringLiteral("K")), w.targets, images).complete);
        w.list.resize(60, 60);
        const QImage shown = w.list.viewport()->grab().toImage();
        for (const int x : {1, 3, 5, 7}) // the picture repeats one tile further
            QCOMPARE(QColor(shown.pixel(x, 5)), QColor(x % 4 < 2 ? Qt::red : Qt::blue));
    }

    void imageButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("mouseButton");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("clicks");
        QTest::newRow("left inside") << Qt::LeftButton << QPoint(5, 5) << 1;
        QTest::newRow("left released outside") << Qt::LeftButton << QPoint(50, 5) << 0;
        QTest::newRow("right inside") << Qt::RightButton << QPoint(5, 5) << 0;
    }

    void imageButton()
    {
        QFETCH(Qt::MouseButton, mouseButton);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, clicks);
        SkinImages images;
        images.insert(QStringLiteral("btnSaveDn"), solid({10, 10}, Qt::blue));
        ImageButton button(QStringLiteral("cmdAktual"), QStringLiteral("btnSaveDn"), QStringLiteral("btnSaveUp"),
                           images);
        button.resize(20, 20);
        QSignalSpy clicked(&button, &ImageButton::clicked);
        QTest::mousePress(&button, mouseButton, {}, QPoint(5, 5));
        QCOMPARE(shownColour(button), QColor(Qt::blue));
        // Pictures are fetched each time, so a newly loaded skin shows without re-dressing.
        images.insert(QStringLiteral("btnSaveUp"), solid({10, 10}, Qt::cyan));
        QTest::mouseRelease(&button, mouseButton, {}, releaseAt);
        QCOMPARE(shownColour(button), QColor(Qt::cyan));
        QCOMPARE(clicked.count(), clicks);
        images.clear(); // without its pictures, the button keeps the one it shows
        QTest::mousePress(&button, mouseButton, {}, QPoint(5, 5));
        QCOMPARE(shownColour(button), QColor(Qt::cyan));
        QVERIFY(!button.showReleased());
        QCOMPARE(shownColour(button), QColor(Qt::cyan));
    }

    void applySkin_data()
    {
        QTest::addColumn<QString>("missingKey");
        QTest::addColumn<int>("dressedButtons");
        QTest::newRow("complete") << "" << 9;
        QTest::newRow("first button") << "btnSaveUp" << 0;
        QTest::newRow("question mark button") << "hUp" << 7;
        QTest::newRow("search frame") << "frmSearch" << 9;
        QTest::newRow("background") << "picBG" << 9;
    }

    void applySkin()
    {
        QFETCH(QString, missingKey);
        QFETCH(int, dressedButtons);
        ApplyWindow w(missingKey);
        const auto outcome = ApplySkin(w.skinned, w.images);
        const bool complete = missingKey.isEmpty();
        QCOMPARE(outcome.complete, complete);
        QCOMPARE(outcome.stoppedAt, missingKey);
        QCOMPARE(outcome.message.isEmpty(), complete);
        QVERIFY(outcome.message.contains(missingKey));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(shownColour(*w.buttons[i]), i < dressedButtons ? QColor(Qt::green) : QColor());
        QCOMPARE(rgb(w.background), complete ? w.bg : QImage());
        QCOMPARE(w.playerSkins, complete ? 1 : 0);
        for (const auto &[panel, area] : w.skinned.panels) // exactly the background under each panel
            QCOMPARE(rgb(panel->backdrop()), complete ? w.bg.copy(area) : QImage());
        // The search frame keeps 10 pixels left, right and bottom and 24 on top; inside, the background.
        const QRect area = layout::kSearchFrame;
        QImage frame(area.size(), QImage::Format_RGB32);
        frame.fill(kFrame);
        QPainter(&frame).drawImage(QPoint(10, 24), w.bg.copy(area.adjusted(10, 24, -10, -10)));
        QCOMPARE(rgb(w.imgSearch.pixmap()), complete ? frame : QImage());
        QCOMPARE(rgb(w.picSearch), complete ? frame : QImage());
    }

    // The skins the build draws into the album folder.
    void albumSkins()
    {
        const QString album = qEnvironmentVariable("ZV_ALBUM_DIR"), skins = album + QStringLiteral("/Skins/");
        QStringList files = PlayerSkinFiles() + QStringList{kLogoFile, kSaveLockFile};
        for (const auto &entry : KeyedSkinFiles())
            files << entry.file;
        QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), 41);
        for (const QString &skin : {QStringLiteral("Main"), QStringLiteral("Blau")}) {
            const QString folder = skins + skin + QLatin1Char('/');
            // Exact names: the lookup ignoring case must not hide a misspelt file.
            const QStringList present = QDir(folder).entryList(QDir::Files);
            QVERIFY2(present.contains(kSkinIniFile), qPrintable(folder));
            for (const QString &file : files)
                QVERIFY2(present.contains(file) && QImageReader(folder + file).format() == "jpeg",
                         qPrintable(folder + file));
            LoadWindow loaded;
            ApplyWindow w;
            const auto load = LoadSkin(SkinFolder(album, skin), loaded.targets, w.images);
            QVERIFY2(load.complete, qPrintable(load.message));
            const auto apply = ApplySkin(w.skinned, w.images);
            QVERIFY2(apply.complete, qPrintable(apply.message));
            QCOMPARE(w.background.size(), layout::kWindow);
            w.menue.resize(layout::kMenuPanel.size()); // the panel paints the background under it
            QCOMPARE(QColor(w.menue.grab().toImage().pixel(5, 6)),
                     QColor(w.background.toImage().pixel(layout::kMenuPanel.topLeft() + QPoint(5, 6))));
        }
        QVERIFY(QImage(skins + QStringLiteral("Main/Hintergrund.jpg")) !=
                QImage(skins + QStringLiteral("Blau/Hintergrund.jpg")));
        QFile mainIni(skins + QStringLiteral("Main/Skin.ini")), blueIni(skins + QStringLiteral("Blau/Skin.ini"));
        QVERIFY(mainIni.open(QIODevice::ReadOnly) && blueIni.open(QIODevice::ReadOnly));
        QVERIFY(mainIni.readAll() != blueIni.readAll());
    }
};

QTEST_MAIN(TestSkins)
#include "tst_skins.moc"
