#include "app/AppSettings.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "skins/ApplySkin.h"
#include "skins/frmSkinChange.h"
#include "skins/ImageButton.h"
#include "skins/LoadSkin.h"
#include "skins/ProfileFile.h"
#include "skins/SkinFiles.h"
#include "skins/SkinFolderList.h"
#include "skins/SkinPanel.h"
#include "support/AlbumFolder.h"
#include "support/CoreChecks.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

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

// Writes programFolder/Skins/<name>/ with every picture in one colour, a tile F.png (left half red,
// right half blue), and the ini unless it is "-". The ini's name differs in case, as in skins made
// where case does not matter.
bool writeSkin(const QString &programFolder, const QString &name, const QString &ini)
{
    const QString folder = programFolder + QStringLiteral("/Skins/") + name + QLatin1Char('/');
    QStringList files{kLogoFile, kSaveLockFile};
    for (const auto &entry : KeyedSkinFiles())
        files << entry.file;
    for (const QString &file : files)
        if (!QDir().mkpath(folder) || !solid({12, 10}, Qt::darkCyan).save(folder + file, "JPG"))
            return false;
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::red);
    QPainter(&tile).fillRect(2, 0, 2, 4, Qt::blue);
    return tile.save(folder + QStringLiteral("F.png"))
           && (ini == u"-" || test::writeAll(folder + QStringLiteral("skin.INI"), ini.toLatin1()));
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
    QImage bg; // each pixel unlike its neighbours: misplaced copies show
    int playerSkins = 0;
    SkinnedWindow skinned;

    // ratio: the pictures' pixels per window pixel (2: a skin's "@2x" pictures)
    explicit ApplyWindow(const QString &missing, int ratio = 1)
        : bg(layout::kWindow * ratio, QImage::Format_RGB32)
    {
        const auto put = [&](const QString &key, const QPixmap &picture) {
            if (key != missing)
                images.insert(key, picture);
        };
        for (const auto &keys : SkinButtons()) {
            buttons.push_back(
                std::make_unique<ImageButton>(keys.objectName, keys.pressedKey, keys.releasedKey, images, &root));
            skinned.buttons[buttons.size() - 1] = buttons.back().get();
            put(keys.releasedKey, solid({20, 20}, Qt::green));
        }
        QPixmap frame = solid(layout::kSearchFrame.size() * ratio, kFrame);
        frame.setDevicePixelRatio(ratio);
        put(QStringLiteral("frmSearch"), frame);
        for (int y = 0; y < bg.height(); ++y)
            for (int x = 0; x < bg.width(); ++x)
                bg.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 40 + (y / 256) * 100));
        bg.setDevicePixelRatio(ratio);
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
    void profileValue_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // of Skin.ini; null: no file
        QTest::addColumn<QString>("expected"); // of Farben/OrtBG, "-" when missing
        QTest::newRow("section and key case") << QByteArray("[FARBEN]\northg=1\nortbg=aBc\n") << "aBc";
        QTest::newRow("missing key") << QByteArray("[Farben]\nOrtFC=000000\n") << "-";
        QTest::newRow("key of another section") << QByteArray("OrtBG=1\n[Andere]\nOrtBG=2\n[Farben]\n") << "-";
        QTest::newRow("comments, blanks, blank lines")
            << QByteArray("; x\n\n [Farben] \n;OrtBG=9\n\n OrtBG = 1 2 \n") << "1 2";
        QTest::newRow("first of two wins") << QByteArray("[Farben]\nOrtBG=1\nOrtBG=2\n") << "1";
        QTest::newRow("quotes removed, escapes kept") << QByteArray("[Farben]\nOrtBG=\"a\\b, c\"\n") << "a\\b, c";
        QTest::newRow("empty value is not missing") << QByteArray("[Farben]\nOrtBG=\n") << "";
        QTest::newRow("cut at 254") << "[Farben]\nOrtBG=" + QByteArray(300, '7') << QString(254, u'7');
        QTest::newRow("Windows-1252") << QByteArray("[Farben]\r\nOrtBG=M\xfchle \x80.jpg\r\n") << "Mühle €.jpg";
        QTest::newRow("no file") << QByteArray() << "-";
        // Only the first 64 KB are read: the value is cut where they end.
        QTest::newRow("64 KB") << "[Farben]\n;" + QByteArray(ProfileFile::kMaxFileSize - 19, 'x') + "\nOrtBG=12345"
                               << "12";
    }
    void profileValue()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Skin.ini"));
        QVERIFY(bytes.isNull() || test::writeAll(ini, bytes));
        QCOMPARE(ProfileFile::read(ini).value(u"Farben", u"OrtBG", QStringLiteral("-")), expected);
    }

    void loadSkin_data()
    {
        QTest::addColumn<QString>("skin"); // only Main exists
        QTest::addColumn<QString>("ini"); // "-": no Skin.ini
        QTest::addColumn<QString>("stoppedAt"); // a picture named so is removed
        QTest::addColumn<QList<QColor>>("expected"); // in the order of LoadWindow::colours
        QTest::addColumn<int>("pictures");
        QList<QColor> defaults, each{QColor(14, 14, 14), QColor(13, 13, 13)};
        for (int i = 1; i <= 14; ++i)
            defaults << (i % 2 ? kGrey : Qt::black), each << QColor(i, i, i);
        each.resize(14);
        const auto setUpTo = [&](int n) { return defaults.mid(0, n) + QList<QColor>(14 - n, kUntouched); };
        const auto listIn = [&](const QColor &c) { return QList<QColor>{c} + defaults.mid(1); };
        const auto row = [](const char *name, const char *skin, const char *ini, const char *stoppedAt,
                            const QList<QColor> &expected, int pictures) {
            QTest::newRow(name) << QString(skin) << QString(ini) << QString(stoppedAt) << expected << pictures;
        };
        row("empty Skin.ini", "Main", "", "", defaults, 20);
        row("no Skin.ini", "Main", "-", "", setUpTo(0), 20);
        row("each colour to its box", "Main",
            "[Farben]\nAnlassBG=010101\nAnlassFC=020202\nOrtBG=030303\nOrtFC=040404\nDatumBG=050505\n"
            "DatumFC=060606\nNamenBG=070707\nNamenFC=080808\nBemerkungenBG=090909\nBemerkungenFC=0A0A0A\n"
            "FortschrittBG=0B0B0B\nFortschrittFC=0C0C0C\n[BildListe]\nSchriftFarbe=0D0D0D\nHintergrundWert=0E0E0E\n",
            "", each, 20);
        row("bild in lower case is a colour", "Main", "[BildListe]\nHintergrundTyp=bild\nHintergrundWert=0000ff\n", "",
            listIn(Qt::blue), 20);
        row("missing folder loads Main, red list", "Gibtsnicht", "[BildListe]\nHintergrundWert=FF0000\n", "",
            listIn(Qt::red), 20);
        // Loading stops at a missing picture or a malformed colour; what came before stays.
        row("button picture", "Main", "", "button 1 suchen.jpg", defaults, 2);
        row("logo", "Main", "", "Logo.jpg", defaults, 20);
        const char *tiled = "[BildListe]\nHintergrundTyp=Bild\nHintergrundWert=F.png";
        row("tiled list", "Main", tiled, "", listIn(Qt::black), 20);
        row("no tile", "Main", tiled, "F.png", setUpTo(0), 0);
        // A picture of the album's beside the skins: Skin.ini may not show it, as a missing one.
        row("tile out of the skin", "Main", "[BildListe]\nHintergrundTyp=Bild\nHintergrundWert=../../Bilder/privat.png",
            "../../Bilder/privat.png", setUpTo(0), 0);
        // What follows the six digits is ignored, a hand-written comment too.
        row("list colour too long", "Main", "[BildListe]\nHintergrundWert=FF00001", "", listIn(Qt::red), 20);
        row("list colour with a comment", "Main", "[BildListe]\nHintergrundWert=ff0000 ; rot\nSchriftFarbe=0000FF\n",
            "", QList<QColor>{Qt::red, Qt::blue} + defaults.mid(2), 20);
        row("short colour", "Main", "[Farben]\nOrtBG=12345", "OrtBG", setUpTo(4), 0);
        row("letter beyond F", "Main", "[Farben]\nNamenBG=00GG00", "NamenBG", setUpTo(8), 0);
        row("progress colour", "Main", "[Farben]\nFortschrittBG=12345", "FortschrittBG", setUpTo(12), 0);
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
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Bilder")));
        QVERIFY(solid({4, 4}, Qt::green).save(dir.filePath(QStringLiteral("Bilder/privat.png"))));
        if (!stoppedAt.contains(QLatin1Char('/')))
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
        if (outcome.complete && ini.contains(QLatin1String("=Bild\n"))) {
            w.list.resize(60, 60);
            const QImage shown = w.list.viewport()->grab().toImage();
            for (const int x : {1, 3, 5, 7}) // the picture repeats one tile further
                QCOMPARE(QColor(shown.pixel(x, 5)), QColor(x % 4 < 2 ? Qt::red : Qt::blue));
        }
    }

    // What a skin file's name finds. SKIN is Skins/Main with F.png, Teile/T.png, Innen.png (a link
    // to F.png), Aussen.png and Hoch.png (links, absolute and relative, to the album's
    // Bilder/privat.png); Verweis is a link to the skin's folder, which the user may make.
    void skinFilesStayInTheirFolder_data()
    {
        QTest::addColumn<QString>("folder"); // under Skins
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found"); // in the folder; empty: none
        const auto row = [](const char *name, const char *folder, const char *file, const char *found) {
            QTest::newRow(name) << QString(folder) << QString(file) << QString(found);
        };
        row("plain", "Main", "F.png", "F.png");
        row("other case", "Main", "f.PNG", "F.png");
        row("in a subfolder", "Main", "Teile/T.png", "Teile/T.png");
        row("up and back in", "Main", "Teile/../F.png", "Teile/../F.png");
        row("link inside", "Main", "Innen.png", "Innen.png");
        row("through a linked skin folder", "Verweis", "Innen.png", "Innen.png");
        row("up and out", "Main", "../../Bilder/privat.png", "");
        row("absolute", "Main", "DIR/Bilder/privat.png", "");
        row("link out, absolute", "Main", "Aussen.png", "");
        row("link out, relative", "Main", "Hoch.png", "");
        row("link out, other case", "Main", "hoch.PNG", "");
        row("link out, through a linked skin folder", "Verweis", "Aussen.png", "");
    }
    void skinFilesStayInTheirFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QString skin = dir.filePath(QStringLiteral("Skins/Main/"));
        const QString privat = dir.filePath(QStringLiteral("Bilder/privat.png"));
        QVERIFY(QDir().mkpath(skin + QStringLiteral("Teile")) && QDir(dir.path()).mkdir(QStringLiteral("Bilder")));
        for (const QString &picture : {skin + QStringLiteral("F.png"), skin + QStringLiteral("Teile/T.png"), privat})
            QVERIFY(solid({4, 4}, Qt::green).save(picture));
        QVERIFY(QFile::link(QStringLiteral("F.png"), skin + QStringLiteral("Innen.png")));
        QVERIFY(QFile::link(privat, skin + QStringLiteral("Aussen.png")));
        QVERIFY(QFile::link(QStringLiteral("../../Bilder/privat.png"), skin + QStringLiteral("Hoch.png")));
        QVERIFY(QFile::link(QStringLiteral("Main"), dir.filePath(QStringLiteral("Skins/Verweis"))));
        const QString in = dir.filePath(QStringLiteral("Skins/") + folder + QLatin1Char('/'));
        QCOMPARE(FindSkinFile(in, name.replace(QStringLiteral("DIR"), dir.path())),
                 found.isEmpty() ? QString() : in + found);
    }

    void applySkin_data()
    {
        QTest::addColumn<QString>("missingKey");
        QTest::addColumn<int>("dressedButtons");
        QTest::addColumn<int>("ratio");
        QTest::newRow("complete") << "" << 9 << 1;
        QTest::newRow("complete, pictures for scale 2") << "" << 9 << 2;
        QTest::newRow("first button") << "btnSaveUp" << 0 << 1;
        QTest::newRow("question mark button") << "hUp" << 7 << 1;
        QTest::newRow("search frame") << "frmSearch" << 9 << 1;
        QTest::newRow("background") << "picBG" << 9 << 1;
    }
    void applySkin()
    {
        QFETCH(QString, missingKey);
        QFETCH(int, dressedButtons);
        QFETCH(int, ratio);
        ApplyWindow w(missingKey, ratio);
        const auto pixels = [ratio](const QRect &r) { return QRect(r.topLeft() * ratio, r.size() * ratio); };
        const auto outcome = ApplySkin(w.skinned, w.images);
        const bool complete = missingKey.isEmpty();
        QCOMPARE(outcome.complete, complete);
        QCOMPARE(outcome.stoppedAt, missingKey);
        QCOMPARE(outcome.message.isEmpty(), complete);
        QVERIFY(outcome.message.contains(missingKey));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(w.buttons[i]->pixmap().isNull(), i >= dressedButtons);
        QCOMPARE(rgb(w.background), complete ? w.bg : QImage());
        QCOMPARE(w.playerSkins, complete ? 1 : 0);
        for (const auto &[panel, area] : w.skinned.panels) // exactly the background under each panel
            QCOMPARE(rgb(panel->backdrop()), complete ? w.bg.copy(pixels(area)) : QImage());
        // The search frame keeps 10 pixels left, right and bottom and 24 on top; inside, the background.
        const QRect area = layout::kSearchFrame;
        QImage frame(area.size() * ratio, QImage::Format_RGB32);
        frame.fill(kFrame);
        frame.setDevicePixelRatio(ratio);
        QPainter(&frame).drawImage(QPoint(10, 24), w.bg.copy(pixels(area.adjusted(10, 24, -10, -10))));
        QCOMPARE(rgb(w.imgSearch.pixmap()), complete ? frame : QImage());
        QCOMPARE(rgb(w.picSearch), complete ? frame : QImage());
        w.menue.resize(layout::kMenuPanel.size()); // the panel paints the background under it
        const QPoint inside(5, 6);
        if (complete && ratio == 1)
            QCOMPARE(w.menue.grab().toImage().pixelColor(inside),
                     w.bg.pixelColor(layout::kMenuPanel.topLeft() + inside));
    }

    // The album's own skin: held down, a button shows its "1" picture, let go its "0" picture.
    void buttonFaces_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("released");
        QTest::addColumn<Qt::MouseButton>("mouse");
        const auto row = [](const char *name, const char *button, const char *face, Qt::MouseButton mouse) {
            QTest::newRow(name) << QString(button) << QString(face).arg(1) << QString(face).arg(0) << mouse;
        };
        row("save, left", "cmdAktual", "Button %1 speichern.jpg", Qt::LeftButton);
        row("save, right", "cmdAktual", "Button %1 speichern.jpg", Qt::RightButton);
        row("close, left", "cmdX", "X %1.jpg", Qt::LeftButton);
    }
    void buttonFaces()
    {
        QFETCH(QString, button);
        QFETCH(QString, pressed);
        QFETCH(QString, released);
        QFETCH(Qt::MouseButton, mouse);
        test::AlbumFolder album;
        const QString folder = SkinFolder(album.path(), kDefaultSkin);
        const QImage down = QImage(folder + pressed).convertToFormat(QImage::Format_RGB32);
        const QImage up = QImage(folder + released).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!down.isNull() && !up.isNull());
        QVERIFY(down != up); // else a swap could not show
        LoadWindow w;
        SkinImages images;
        QVERIFY(LoadSkin(folder, w.targets, images).complete);
        const auto keys = std::find_if(SkinButtons().begin(), SkinButtons().end(),
                                       [&](const SkinButtonKeys &k) { return k.objectName == button; });
        QVERIFY(keys != SkinButtons().end());
        ImageButton shown(keys->objectName, keys->pressedKey, keys->releasedKey, images);
        QVERIFY(shown.showReleased());
        shown.resize(up.size());
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        QCOMPARE(rgb(shown.grab()), up);
        QTest::mousePress(&shown, mouse, {}, QPoint(2, 2));
        QCOMPARE(rgb(shown.grab()), down);
        QTest::mouseRelease(&shown, mouse, {}, QPoint(2, 2));
        QCOMPARE(rgb(shown.grab()), up);
    }

    // The chooser, "Skinauswahl".
    void listing_data()
    {
        QTest::addColumn<QByteArrayList>("entries"); // "d:x" folder, "f:x" file, "l:x>y" link x to y
        QTest::addColumn<QByteArrayList>("expected");
        QTest::newRow("visible folders only")
            << QByteArrayList{"d:Main", "f:Skin.ini", "d:.thumbs"} << QByteArrayList{"Main"};
        QTest::newRow("sorted without case, case breaks ties")
            << QByteArrayList{"d:Zebra", "d:blau", "d:main", "d:Main", "d:alt"}
            << QByteArrayList{"alt", "blau", "Main", "main", "Zebra"};
        QTest::newRow("links") << QByteArrayList{"d:Main", "l:Blau>Main", "l:Weg>fehlt", "f:x", "l:Datei>x"}
                               << QByteArrayList{"Blau", "Main"};
        QTest::newRow("name not UTF-8") << QByteArrayList{"d:Gr\xfcn", "d:Main"} << QByteArrayList{"Gr\xfcn", "Main"};
        QTest::newRow("no Skins folder") << QByteArrayList{} << QByteArrayList{};
    }
    void listing()
    {
        QFETCH(QByteArrayList, entries);
        QFETCH(QByteArrayList, expected);
        QTemporaryDir dir;
        const QByteArray skins = nativePath(dir.filePath(QStringLiteral("Skins"))) + '/';
        QVERIFY(entries.isEmpty() || ::mkdir(skins.constData(), 0755) == 0);
        for (const QByteArray &e : entries) {
            const QByteArrayList link = e.mid(2).split('>');
            if (e.startsWith("d:"))
                QVERIFY(::mkdir((skins + e.mid(2)).constData(), 0755) == 0);
            else if (e.startsWith("f:"))
                QVERIFY(test::writeNative(skins + e.mid(2), {}));
            else
                QVERIFY(::symlink(link.last().constData(), (skins + link.first()).constData()) == 0);
        }
        QStringList names, want;
        for (const SkinFolderEntry &skin : ListSkinFolders(decodeFileName(skins))) {
            names << skin.name;
            struct stat st { };
            QVERIFY2(::stat(nativePath(skin.path).constData(), &st) == 0 && S_ISDIR(st.st_mode), qPrintable(skin.path));
            QVERIFY(skin.path.endsWith(skin.name + QLatin1Char('/')));
        }
        for (const QByteArray &e : expected)
            want << decodeFileName(e);
        ::rmdir((skins + "Gr\xfcn").constData()); // QTemporaryDir cannot remove a name that is not UTF-8
        QCOMPARE(names, want);
    }

    void chooser_data()
    {
        QTest::addColumn<QString>("skin"); // selected; empty: none
        QTest::addColumn<bool>("onlyCurrent"); // the row is current, but not selected
        QTest::addColumn<QString>("file"); // put into Main in place of its background; empty: the built skins
        QTest::addColumn<QByteArray>("bytes"); // empty: a 200 x 100 picture
        QTest::newRow("Blau") << "Blau" << false << "" << QByteArray();
        QTest::newRow("small background, enlarged, any case") << "Main" << false << "hintergrund.JPG" << QByteArray();
        QTest::newRow("without background") << "Main" << false << "-" << QByteArray();
        QTest::newRow("background not a picture") << "Main" << false << "Hintergrund.jpg" << QByteArray("kein JPEG");
        QTest::newRow("current, not selected") << "Blau" << true << "" << QByteArray();
    }
    void chooser()
    {
        QFETCH(QString, skin);
        QFETCH(bool, onlyCurrent);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        test::AlbumFolder album(file.isEmpty() ? QString() : QStringLiteral("Hintergrund.jpg"));
        const QString put = album.path() + QStringLiteral("/Skins/Main/") + file;
        QImage small(200, 100, QImage::Format_RGB32);
        small.fill(Qt::blue);
        if (!file.isEmpty() && file != u"-")
            QVERIFY(bytes.isEmpty() ? small.save(put, "JPEG") : test::writeAll(put, bytes));
        const QString iniPath = album.dir.filePath(QStringLiteral("settings.ini"));
        const auto stored = [&](const QString &section, const QString &key) {
            return makeFileSettings(iniPath)->value(section, key, QStringLiteral("-"));
        };
        SettingsValues settings;
        const auto store = makeFileSettings(iniPath);
        frmSkinChange form(AlbumPaths{album.path()}, *store, settings);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *list = form.findChild<QListWidget *>(QStringLiteral("lstSkins"));
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        QCOMPARE(shown, (file.isEmpty() ? QStringList{"Blau", "Main"} : QStringList{"Main"}));
        QVERIFY(list->selectedItems().isEmpty());
        settings.SkinPath = QStringLiteral("vorher");
        settings.Delay = QStringLiteral("4500");
        QSignalSpy applied(&form, &frmSkinChange::skinApplied);
        QListWidgetItem *item = list->item(shown.indexOf(skin));
        if (onlyCurrent)
            list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        else if (item)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        const bool takes = !skin.isEmpty() && !onlyCurrent;
        // The selected skin's own background, fitted, or a placeholder: compare the centres.
        const QString background = album.path() + QStringLiteral("/Skins/%1/Hintergrund.jpg").arg(skin);
        const QImage original(file.isEmpty() ? background : put);
        const auto *view = form.findChild<QLabel *>(QStringLiteral("imgView"));
        const QImage seen = view->pixmap().toImage();
        if (takes && !original.isNull()) {
            QCOMPARE(seen.size(), original.size().scaled(view->size(), Qt::KeepAspectRatio));
            const QColor a = original.pixelColor(original.width() / 2, original.height() / 2);
            const QColor b = seen.pixelColor(seen.width() / 2, seen.height() / 2);
            QVERIFY2(qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 40,
                     qPrintable(a.name() + QLatin1Char(' ') + b.name()));
        } else if (takes) {
            QVERIFY(seen.isNull());
            QCOMPARE(view->text(), QStringLiteral("keine Vorschau"));
        }
        auto *cancel = form.findChild<QPushButton *>(QStringLiteral("cmdCancel"));
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("cmdApply")), Qt::LeftButton);
        QCOMPARE(stored(QStringLiteral("Skin"), QStringLiteral("SkinPath")), takes ? skin : QStringLiteral("-"));
        QCOMPARE(stored(QStringLiteral("DiaShow"), QStringLiteral("Delay")), QLatin1String(takes ? "4500" : "-"));
        QCOMPARE(settings.SkinPath, takes ? skin : QStringLiteral("vorher"));
        QCOMPARE(applied.count(), takes ? 1 : 0);
        QCOMPARE(applied.value(0).value(0).toString(), takes ? skin : QString());
        QCOMPARE(cancel->text(), takes ? QStringLiteral("fertig") : QStringLiteral("abbrechen"));
        QVERIFY(form.isVisible()); // open for another skin until closed
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!form.isVisible());
    }

    // A button shows its skin picture pixel for pixel: at scale 2 the drawn "@2x" picture, not
    // the small one blown up; a skin without it still dresses the button with the small one.
    void sharpButton_data()
    {
        QTest::addColumn<bool>("withSharp");
        QTest::newRow("drawn skin") << true;
        QTest::newRow("skin without the larger picture") << false;
    }
    void sharpButton()
    {
        QFETCH(bool, withSharp);
        const QString file = QStringLiteral("Button 0 speichern.jpg");
        test::AlbumFolder album(withSharp ? QString() : SharpSkinFile(file));
        const QString folder = album.path() + QStringLiteral("/Skins/Main/");
        SkinImages images;
        LoadWindow window;
        QVERIFY(LoadSkin(folder, window.targets, images).complete);
        ImageButton button(QStringLiteral("cmdSave"), QStringLiteral("btnSaveDn"), QStringLiteral("btnSaveUp"), images);
        QVERIFY(button.showReleased());
        button.adjustSize();
        const qreal ratio = button.devicePixelRatioF();
        const QImage small(folder + file);
        QCOMPARE(button.size(), small.size());
        const QImage drawn = rgb(button.grab());
        QCOMPARE(drawn.size(), small.size() * ratio);
        if (ratio == 1)
            QCOMPARE(drawn, small.convertToFormat(QImage::Format_RGB32));
        else if (withSharp)
            QCOMPARE(drawn, QImage(folder + SharpSkinFile(file)).convertToFormat(QImage::Format_RGB32));
        else
            QCOMPARE(images.find(u"btnSaveUp")->devicePixelRatio(), 1.0);
    }
};

QTEST_MAIN(TestSkins)
#include "tst_skins.moc"
