#include "skins/ApplySkin.h"
#include "skins/ImageButton.h"
#include "skins/LoadSkin.h"
#include "skins/SkinFiles.h"
#include "skins/SkinPanel.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>

#include <memory>
#include <vector>

using namespace zv;

// Checks the skins the build draws into the album folder.
class TestAlbumSkins : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pictureFiles_data();
    void pictureFiles();
    void skinsLoadAndApplyCompletely_data();
    void skinsLoadAndApplyCompletely();
    void skinsDiffer();
    void volumeRisesWithLevel();

private:
    QString m_album;
};

void TestAlbumSkins::initTestCase()
{
    m_album = qEnvironmentVariable("ZV_ALBUM_DIR");
    QVERIFY2(QFileInfo(m_album + QStringLiteral("/Skins/Main")).isDir(), qPrintable(m_album));
}

void TestAlbumSkins::pictureFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    const QSize panel(140, 44), title(26, 26), player(30, 30), volume(33, 50);
    // Every picture the window, its buttons and the player bar load: 22 + 19.
    const QList<std::pair<QString, QSize>> files{
        {"Button 1 speichern.jpg", panel}, {"Button 0 speichern.jpg", panel}, {"button 1 suchen.jpg", panel},
        {"button 0 suchen.jpg", panel},    {"button 1 starten.jpg", panel},   {"button 0 starten.jpg", panel},
        {"button 1 zurueck.jpg", panel},   {"button 0 zurueck.jpg", panel},   {"button 1 Hilfe.jpg", panel},
        {"button 0 Hilfe.jpg", panel},     {"button 1 Dia.jpg", panel},       {"button 0 Dia.jpg", panel},
        {"_ 1.jpg", title},                {"_ 0.jpg", title},                {"X 1.jpg", title},
        {"X 0.jpg", title},                {"Frage 1.jpg", title},            {"Frage 0.jpg", title},
        {"suchen.jpg", QSize(395, 150)},   {"Hintergrund.jpg", QSize(799, 600)}, {"Logo.jpg", QSize(140, 124)},
        {"Button X speichern.jpg", QSize(140, 48)},
        {"1Leiste.jpg", QSize(150, 20)},   {"1Zeiger.jpg", QSize(8, 20)},     {"2Vol0.jpg", volume},
        {"2Vol1.jpg", volume},             {"2Vol2.jpg", volume},             {"2Vol3.jpg", volume},
        {"2Vol4.jpg", volume},             {"2Vol5.jpg", volume},             {"2Vol6.jpg", volume},
        {"maximieren 0.jpg", player},      {"maximieren 1.jpg", player},      {"skalieren 0.jpg", player},
        {"skalieren 1.jpg", player},       {"Film abspielen 0.jpg", player},  {"Film abspielen 1.jpg", player},
        {"Wiedergabe anhalten 0.jpg", player}, {"Wiedergabe anhalten 1.jpg", player},
        {"Wiedergabe beenden 0.jpg", player},  {"Wiedergabe beenden 1.jpg", player},
    };
    QCOMPARE(files.size(), 41);
    for (const QString &skin : {QStringLiteral("Main"), QStringLiteral("Blau")})
        for (const auto &[file, size] : files)
            QTest::newRow(qPrintable(skin + QLatin1Char('/') + file)) << skin + QLatin1Char('/') + file << size;
}

void TestAlbumSkins::pictureFiles()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    // Exact names: a case-insensitive lookup must not hide a misspelt file.
    const QString path = m_album + QStringLiteral("/Skins/") + file;
    const QString name = QFileInfo(path).fileName();
    QVERIFY2(QFileInfo(path).dir().entryList(QDir::Files).contains(name), qPrintable(path));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), size);
}

void TestAlbumSkins::skinsLoadAndApplyCompletely_data()
{
    QTest::addColumn<QString>("skin");
    QTest::newRow("Main") << "Main";
    QTest::newRow("Blau") << "Blau";
}

void TestAlbumSkins::skinsLoadAndApplyCompletely()
{
    QFETCH(QString, skin);
    QVERIFY(QFileInfo(m_album + QStringLiteral("/Skins/") + skin + QStringLiteral("/Skin.ini")).isFile());
    QTreeView list;
    std::vector<std::unique_ptr<QLineEdit>> boxes;
    QProgressBar progress;
    QLabel logo, lock;
    SkinTargets targets{&list, {}, &progress, &logo, &lock};
    for (int i = 0; i < 5; ++i) {
        boxes.push_back(std::make_unique<QLineEdit>());
        targets.infoBoxes[i] = boxes.back().get();
    }
    SkinImages images;
    const auto loaded = LoadSkin(m_album, skin, targets, images);
    QVERIFY2(loaded.complete, qPrintable(loaded.message));
    QCOMPARE(images.size(), 20);
    QCOMPARE(logo.pixmap().size(), QSize(140, 124));

    QWidget root;
    std::vector<std::unique_ptr<ImageButton>> buttons;
    SkinnedWindow window;
    for (std::size_t i = 0; i < SkinButtons().size(); ++i) {
        const auto &keys = SkinButtons()[i];
        buttons.push_back(
            std::make_unique<ImageButton>(keys.objectName, keys.pressedKey, keys.releasedKey, images, &root));
        window.buttons[i] = buttons.back().get();
    }
    SkinPanel menu(QStringLiteral("picMenue"), &root);
    window.panels[1].panel = &menu;
    QLabel frame(&root);
    window.imgSearch = &frame;
    const auto applied = ApplySkin(window, images);
    QVERIFY2(applied.complete, qPrintable(applied.message));
    QCOMPARE(menu.backdrop().size(), layout::kMenuPanel.size());
    QCOMPARE(frame.pixmap().size(), layout::kSearchFrame.size());
}

void TestAlbumSkins::skinsDiffer()
{
    const QString skins = m_album + QStringLiteral("/Skins/");
    for (const QString &file : {QStringLiteral("Hintergrund.jpg"), QStringLiteral("Button 0 speichern.jpg"),
                               QStringLiteral("Film abspielen 0.jpg")}) {
        const QImage main(skins + QStringLiteral("Main/") + file);
        const QImage blue(skins + QStringLiteral("Blau/") + file);
        QVERIFY(!main.isNull() && !blue.isNull());
        QVERIFY2(main != blue, qPrintable(file));
    }
    QFile mainIni(skins + QStringLiteral("Main/Skin.ini"));
    QFile blueIni(skins + QStringLiteral("Blau/Skin.ini"));
    QVERIFY(mainIni.open(QIODevice::ReadOnly) && blueIni.open(QIODevice::ReadOnly));
    QVERIFY(mainIni.readAll() != blueIni.readAll());
}

void TestAlbumSkins::volumeRisesWithLevel()
{
    // Each louder picture lights more of its area in the skin's strong accent than the one before.
    for (const QString &skin : {QStringLiteral("Main"), QStringLiteral("Blau")}) {
        int previous = -1;
        for (int level = 0; level <= 6; ++level) {
            const QImage image(m_album + QStringLiteral("/Skins/%1/2Vol%2.jpg").arg(skin).arg(level));
            int bright = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c(image.pixel(x, y));
                    bright += c.hslSaturation() > 100 && c.lightness() > 110 ? 1 : 0;
                }
            QVERIFY2(bright > previous, qPrintable(QStringLiteral("%1 level %2").arg(skin).arg(level)));
            previous = bright;
        }
    }
}

QTEST_MAIN(TestAlbumSkins)
#include "tst_albumskins.moc"
