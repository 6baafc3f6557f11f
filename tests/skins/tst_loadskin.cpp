#include "TestSkin.h"
#include "skins/LoadSkin.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <array>
#include <memory>

using namespace zv;

namespace {

const QColor kGrey(170, 170, 170);
const QColor kUntouched(1, 2, 3);

// The controls LoadSkin colours, each starting with a colour no skin uses.
struct Window {
    QTreeView list;
    std::array<std::unique_ptr<QWidget>, 5> boxes{std::make_unique<QLineEdit>(), std::make_unique<QLineEdit>(),
                                                 std::make_unique<QLineEdit>(), std::make_unique<QLineEdit>(),
                                                 std::make_unique<QPlainTextEdit>()};
    QProgressBar progress;
    QLabel logo;
    QLabel saveLock;

    Window()
    {
        std::array<QWidget *, 7> all{&list, boxes[0].get(), boxes[1].get(), boxes[2].get(), boxes[3].get(),
                                     boxes[4].get(), &progress};
        for (QWidget *w : all) {
            QPalette p = w->palette();
            p.setColor(QPalette::Base, kUntouched);
            p.setColor(QPalette::Text, kUntouched);
            p.setColor(QPalette::Highlight, kUntouched);
            w->setPalette(p);
        }
    }

    SkinTargets targets()
    {
        SkinTargets t;
        t.list = &list;
        for (int i = 0; i < 5; ++i)
            t.infoBoxes[i] = boxes[i].get();
        t.progress = &progress;
        t.logo = &logo;
        t.saveLock = &saveLock;
        return t;
    }
};

QColor base(const QWidget &w)
{
    return w.palette().color(QPalette::Base);
}

QColor text(const QWidget &w)
{
    return w.palette().color(QPalette::Text);
}

} // namespace

class TestLoadSkin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyIniGivesGreyAndBlack();
    void noIniLeavesColours();
    void iniColoursReachTheirBoxes();
    void listBackground_data();
    void listBackground();
    void tiledListBackground();
    void stopsAt_data();
    void stopsAt();
    void missingFolderLoadsMain();
    void namesDifferingInCaseAreFound();
};

void TestLoadSkin::emptyIniGivesGreyAndBlack()
{
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Leer"), ""));
    Window w;
    SkinImages images;
    images.insert(QStringLiteral("vomLetztenSkin"), QPixmap(1, 1));
    const auto outcome = LoadSkin(dir.path(), QStringLiteral("Leer"), w.targets(), images);
    QVERIFY2(outcome.complete, qPrintable(outcome.message));
    QCOMPARE(base(w.list), kGrey);
    QCOMPARE(text(w.list), QColor(Qt::black));
    for (const auto &box : w.boxes) {
        QCOMPARE(base(*box), kGrey);
        QCOMPARE(text(*box), QColor(Qt::black));
    }
    QCOMPARE(w.progress.palette().color(QPalette::Base), kGrey);
    QCOMPARE(w.progress.palette().color(QPalette::Highlight), QColor(Qt::black));
    QCOMPARE(images.size(), 20);
    QVERIFY(!images.contains(u"vomLetztenSkin"));
    QVERIFY(images.contains(u"btnSaveDn"));
    QVERIFY(images.contains(u"picBG"));
    QCOMPARE(w.logo.pixmap().size(), QSize(12, 10));
    QCOMPARE(w.saveLock.pixmap().size(), QSize(12, 10));
}

void TestLoadSkin::noIniLeavesColours()
{
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Ohne"), nullptr));
    Window w;
    SkinImages images;
    QVERIFY(LoadSkin(dir.path(), QStringLiteral("Ohne"), w.targets(), images).complete);
    QCOMPARE(base(w.list), kUntouched);
    QCOMPARE(text(*w.boxes[4]), kUntouched);
    QCOMPARE(w.progress.palette().color(QPalette::Highlight), kUntouched);
    QCOMPARE(images.size(), 20);
}

void TestLoadSkin::iniColoursReachTheirBoxes()
{
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Bunt"),
                          "[Farben]\nAnlassBG=010101\nAnlassFC=020202\nOrtBG=030303\nOrtFC=040404\n"
                          "DatumBG=050505\nDatumFC=060606\nNamenBG=070707\nNamenFC=080808\n"
                          "BemerkungenBG=090909\nBemerkungenFC=0A0A0A\nFortschrittBG=0B0B0B\nFortschrittFC=0C0C0C\n"
                          "[BildListe]\nSchriftFarbe=0D0D0D\nHintergrundWert=0E0E0E\n"));
    Window w;
    SkinImages images;
    QVERIFY(LoadSkin(dir.path(), QStringLiteral("Bunt"), w.targets(), images).complete);
    // Boxes in the order Stichworte (Anlass), Ort, Datum, Namen, Bemerkungen.
    const int backs[5] = {1, 3, 5, 7, 9};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(base(*w.boxes[i]), QColor(backs[i], backs[i], backs[i]));
        QCOMPARE(text(*w.boxes[i]), QColor(backs[i] + 1, backs[i] + 1, backs[i] + 1));
    }
    QCOMPARE(w.progress.palette().color(QPalette::Base), QColor(11, 11, 11));
    QCOMPARE(w.progress.palette().color(QPalette::Highlight), QColor(12, 12, 12));
    QCOMPARE(text(w.list), QColor(13, 13, 13));
    QCOMPARE(base(w.list), QColor(14, 14, 14));
}

void TestLoadSkin::listBackground_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("red") << QByteArray("[BildListe]\nHintergrundWert=FF0000\n") << QColor(255, 0, 0);
    QTest::newRow("Farbe explicit") << QByteArray("[BildListe]\nHintergrundTyp=Farbe\nHintergrundWert=00ff00\n")
                                    << QColor(0, 255, 0);
    QTest::newRow("bild in lower case is a colour")
        << QByteArray("[BildListe]\nHintergrundTyp=bild\nHintergrundWert=0000FF\n") << QColor(0, 0, 255);
    QTest::newRow("BILD in upper case is a colour")
        << QByteArray("[bildliste]\nhintergrundtyp=BILD\nhintergrundwert=123456\n") << QColor(0x12, 0x34, 0x56);
}

void TestLoadSkin::listBackground()
{
    QFETCH(QByteArray, ini);
    QFETCH(QColor, expected);
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Liste"), ini.constData()));
    Window w;
    SkinImages images;
    QVERIFY(LoadSkin(dir.path(), QStringLiteral("Liste"), w.targets(), images).complete);
    QCOMPARE(w.list.palette().brush(QPalette::Base).style(), Qt::SolidPattern);
    QCOMPARE(base(w.list), expected);
}

void TestLoadSkin::tiledListBackground()
{
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Kachel"),
                          "[BildListe]\nHintergrundTyp=Bild\nHintergrundWert=Kachel.png\n"));
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::red);
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 4; ++x)
            tile.setPixel(x, y, qRgb(0, 0, 255));
    QVERIFY(tile.save(dir.path() + QStringLiteral("/Skins/Kachel/Kachel.png")));
    Window w;
    SkinImages images;
    QVERIFY(LoadSkin(dir.path(), QStringLiteral("Kachel"), w.targets(), images).complete);

    w.list.resize(60, 60);
    const QImage shown = w.list.viewport()->grab().toImage();
    QVERIFY(shown.width() >= 8);
    // Red, blue, then red again one tile further: the picture repeats.
    QCOMPARE(QColor(shown.pixel(1, 1)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(3, 1)), QColor(Qt::blue));
    QCOMPARE(QColor(shown.pixel(5, 5)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(7, 5)), QColor(Qt::blue));
}

void TestLoadSkin::stopsAt_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("removedFile");
    QTest::addColumn<QString>("stoppedAt");
    QTest::addColumn<int>("colouredBoxes"); // boxes whose background was set before the stop
    QTest::addColumn<QStringList>("presentKeys");
    QTest::addColumn<QStringList>("absentKeys");
    QTest::addColumn<bool>("logoSet");

    QTest::newRow("missing button picture")
        << QByteArray("") << "button 1 suchen.jpg" << "button 1 suchen.jpg" << 5
        << QStringList{"btnSaveDn", "btnSaveUp"} << QStringList{"btnSearchDn", "btnSearchUp", "picBG"} << false;
    QTest::newRow("missing background")
        << QByteArray("") << "Hintergrund.jpg" << "Hintergrund.jpg" << 5 << QStringList{"btnSaveDn", "frmSearch"}
        << QStringList{"picBG"} << false;
    QTest::newRow("missing logo") << QByteArray("") << "Logo.jpg" << "Logo.jpg" << 5
                                  << QStringList{"btnSaveDn", "picBG"} << QStringList{} << false;
    QTest::newRow("short colour") << QByteArray("[Farben]\nOrtBG=12345\n") << "" << "OrtBG" << 1 << QStringList{}
                                  << QStringList{"btnSaveDn"} << false;
    QTest::newRow("bad character") << QByteArray("[Farben]\nNamenBG=00GG00\n") << "" << "NamenBG" << 3
                                   << QStringList{} << QStringList{"btnSaveDn"} << false;
    QTest::newRow("bad list colour") << QByteArray("[BildListe]\nHintergrundWert=rot\n") << ""
                                     << "HintergrundWert" << 0 << QStringList{} << QStringList{"btnSaveDn"} << false;
    QTest::newRow("missing list tile")
        << QByteArray("[BildListe]\nHintergrundTyp=Bild\nHintergrundWert=Fehlt.jpg\n") << "" << "Fehlt.jpg" << 0
        << QStringList{} << QStringList{"btnSaveDn"} << false;
    QTest::newRow("bad progress colour") << QByteArray("[Farben]\nFortschrittBG=xyz\n") << "" << "FortschrittBG"
                                         << 5 << QStringList{} << QStringList{"btnSaveDn"} << false;
}

void TestLoadSkin::stopsAt()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, removedFile);
    QFETCH(QString, stoppedAt);
    QFETCH(int, colouredBoxes);
    QFETCH(QStringList, presentKeys);
    QFETCH(QStringList, absentKeys);
    QFETCH(bool, logoSet);

    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Kaputt"), ini.constData()));
    if (!removedFile.isEmpty())
        QVERIFY(QFile::remove(dir.path() + QStringLiteral("/Skins/Kaputt/") + removedFile));
    Window w;
    SkinImages images;
    const auto outcome = LoadSkin(dir.path(), QStringLiteral("Kaputt"), w.targets(), images);

    QVERIFY(!outcome.complete);
    QCOMPARE(outcome.stoppedAt, stoppedAt);
    QVERIFY2(outcome.message.contains(stoppedAt), qPrintable(outcome.message));
    QVERIFY(outcome.message.contains(QStringLiteral("Kaputt")));
    // Box order: Stichworte, Ort, Datum, Namen, Bemerkungen.
    for (int i = 0; i < 5; ++i)
        QCOMPARE(base(*w.boxes[i]) != kUntouched, i < colouredBoxes);
    for (const QString &key : presentKeys)
        QVERIFY2(images.contains(key), qPrintable(key));
    for (const QString &key : absentKeys)
        QVERIFY2(!images.contains(key), qPrintable(key));
    QCOMPARE(!w.logo.pixmap().isNull(), logoSet);
    QVERIFY(w.saveLock.pixmap().isNull());
}

void TestLoadSkin::missingFolderLoadsMain()
{
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Main"), "[BildListe]\nHintergrundWert=336699\n"));
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Blau"), "[BildListe]\nHintergrundWert=0000FF\n"));
    for (const QString &name : {QStringLiteral("Gibtsnicht"), QString()}) {
        Window w;
        SkinImages images;
        const auto outcome = LoadSkin(dir.path(), name, w.targets(), images);
        QVERIFY2(outcome.complete, qPrintable(name));
        QCOMPARE(base(w.list), QColor(0x33, 0x66, 0x99));
        QCOMPARE(images.size(), 20);
    }
}

void TestLoadSkin::namesDifferingInCaseAreFound()
{
    QTemporaryDir dir;
    QVERIFY(writeTestSkin(dir.path(), QStringLiteral("Fall"), nullptr));
    const QString folder = dir.path() + QStringLiteral("/Skins/Fall/");
    QVERIFY(QFile::rename(folder + QStringLiteral("Hintergrund.jpg"), folder + QStringLiteral("HINTERGRUND.JPG")));
    QFile ini(folder + QStringLiteral("skin.INI"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[BildListe]\nHintergrundWert=FF0000\n");
    ini.close();
    Window w;
    SkinImages images;
    QVERIFY(LoadSkin(dir.path(), QStringLiteral("Fall"), w.targets(), images).complete);
    QVERIFY(images.contains(u"picBG"));
    QCOMPARE(base(w.list), QColor(255, 0, 0));
}

QTEST_MAIN(TestLoadSkin)
#include "tst_loadskin.moc"
