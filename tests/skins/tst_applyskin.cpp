#include "skins/ApplySkin.h"
#include "skins/ImageButton.h"
#include "skins/SkinFiles.h"
#include "skins/SkinImages.h"
#include "skins/SkinPanel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

using namespace zv;

namespace {

QPixmap solid(QSize size, const QColor &colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

QColor shownColour(const QLabel &label)
{
    return label.pixmap().isNull() ? QColor() : QColor(label.pixmap().toImage().pixel(0, 0));
}

// A background in which every pixel differs from its neighbours, so a misaligned copy shows.
QPixmap patternedBackground()
{
    QImage image(layout::kWindow, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 40 + (y / 256) * 100));
    return QPixmap::fromImage(image);
}

const QColor kFrame(255, 0, 255);

struct Window {
    SkinImages images;
    QWidget root;
    std::vector<std::unique_ptr<ImageButton>> buttons;
    SkinPanel picSuche{QStringLiteral("picSuche"), &root};
    SkinPanel picMenue{QStringLiteral("picMenue"), &root};
    SkinPanel picVorschau{QStringLiteral("picVorschau"), &root};
    QLabel imgSearch{&root};
    QPixmap picSearch;
    QPixmap background;
    int playerSkins = 0;
    SkinnedWindow skinned;

    Window()
    {
        for (const auto &keys : SkinButtons()) {
            buttons.push_back(std::make_unique<ImageButton>(keys.objectName, keys.pressedKey, keys.releasedKey,
                                                            images, &root));
            images.insert(keys.pressedKey, solid({20, 20}, Qt::darkRed));
            images.insert(keys.releasedKey, solid({20, 20}, Qt::green));
        }
        images.insert(QStringLiteral("frmSearch"), solid(layout::kSearchFrame.size(), kFrame));
        images.insert(QStringLiteral("picBG"), patternedBackground());
        for (std::size_t i = 0; i < buttons.size(); ++i)
            skinned.buttons[i] = buttons[i].get();
        skinned.picSearch = &picSearch;
        skinned.imgSearch = &imgSearch;
        skinned.setBackground = [this](const QPixmap &bg) { background = bg; };
        skinned.setPlayerSkin = [this] { ++playerSkins; };
        skinned.panels[0].panel = &picSuche;
        skinned.panels[1].panel = &picMenue;
        skinned.panels[2].panel = &picVorschau;
    }
};

} // namespace

class TestApplySkin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buttonPressAndRelease_data();
    void buttonPressAndRelease();
    void buttonKeepsPictureWhenKeyMissing();
    void panelsShowBackgroundUnderThem();
    void searchFrameKeepsBorderAndShowsBackground();
    void dressesButtonsAndBackground();
    void stopsAtMissingKey_data();
    void stopsAtMissingKey();
};

void TestApplySkin::buttonPressAndRelease_data()
{
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("clicks");
    QTest::newRow("left inside") << Qt::LeftButton << QPoint(5, 5) << 1;
    QTest::newRow("left released outside") << Qt::LeftButton << QPoint(50, 5) << 0;
    QTest::newRow("right inside") << Qt::RightButton << QPoint(5, 5) << 0;
    QTest::newRow("middle inside") << Qt::MiddleButton << QPoint(5, 5) << 0;
}

void TestApplySkin::buttonPressAndRelease()
{
    QFETCH(Qt::MouseButton, mouseButton);
    QFETCH(QPoint, releaseAt);
    QFETCH(int, clicks);
    SkinImages images;
    images.insert(QStringLiteral("btnSaveDn"), solid({10, 10}, Qt::blue));
    images.insert(QStringLiteral("btnSaveUp"), solid({10, 10}, Qt::yellow));
    ImageButton button(QStringLiteral("cmdAktual"), QStringLiteral("btnSaveDn"), QStringLiteral("btnSaveUp"), images);
    button.resize(20, 20);
    QCOMPARE(button.objectName(), QStringLiteral("cmdAktual"));
    QSignalSpy clicked(&button, &ImageButton::clicked);

    QTest::mousePress(&button, mouseButton, {}, QPoint(5, 5));
    QCOMPARE(shownColour(button), QColor(Qt::blue));
    // Pictures are fetched at each press, so a newly loaded skin shows without re-dressing.
    images.insert(QStringLiteral("btnSaveUp"), solid({10, 10}, Qt::cyan));
    QTest::mouseRelease(&button, mouseButton, {}, releaseAt);
    QCOMPARE(shownColour(button), QColor(Qt::cyan));
    QCOMPARE(clicked.count(), clicks);
}

void TestApplySkin::buttonKeepsPictureWhenKeyMissing()
{
    SkinImages images;
    images.insert(QStringLiteral("xUp"), solid({10, 10}, Qt::yellow));
    ImageButton button(QStringLiteral("cmdX"), QStringLiteral("xDn"), QStringLiteral("xUp"), images);
    button.resize(20, 20);
    QVERIFY(button.showReleased());
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(shownColour(button), QColor(Qt::yellow));
    images.clear();
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(shownColour(button), QColor(Qt::yellow));
    QVERIFY(!button.showReleased());
}

void TestApplySkin::panelsShowBackgroundUnderThem()
{
    Window w;
    QVERIFY(ApplySkin(w.skinned, w.images).complete);
    const QImage bg = w.images.find(u"picBG")->toImage();
    for (const auto &[panel, area] : w.skinned.panels) {
        const QImage shown = panel->backdrop().toImage();
        QCOMPARE(shown.size(), area.size());
        for (const QPoint p : {QPoint(0, 0), QPoint(area.width() - 1, area.height() - 1), QPoint(area.width() / 2, 7),
                               QPoint(3, area.height() / 2)})
            QCOMPARE(QColor(shown.pixel(p)), QColor(bg.pixel(area.topLeft() + p)));
        // What the panel paints on screen is that same piece.
        panel->resize(area.size());
        const QImage painted = panel->grab().toImage();
        QCOMPARE(QColor(painted.pixel(5, 6)), QColor(bg.pixel(area.topLeft() + QPoint(5, 6))));
    }
}

void TestApplySkin::searchFrameKeepsBorderAndShowsBackground()
{
    Window w;
    QVERIFY(ApplySkin(w.skinned, w.images).complete);
    const QImage bg = w.images.find(u"picBG")->toImage();
    const QImage shown = w.imgSearch.pixmap().toImage();
    const QRect area = layout::kSearchFrame;
    QCOMPARE(shown.size(), area.size());
    QCOMPARE(w.picSearch.toImage(), shown);
    // Border: 10 px left, right and bottom, a 24 px band on top.
    for (const QPoint p : {QPoint(0, 0), QPoint(9, 80), QPoint(200, 23), QPoint(385, 80), QPoint(200, 140),
                           QPoint(394, 149)})
        QCOMPARE(QColor(shown.pixel(p)), kFrame);
    for (const QPoint p : {QPoint(10, 24), QPoint(384, 24), QPoint(10, 139), QPoint(384, 139), QPoint(200, 80)})
        QCOMPARE(QColor(shown.pixel(p)), QColor(bg.pixel(area.topLeft() + p)));
}

void TestApplySkin::dressesButtonsAndBackground()
{
    Window w;
    const auto outcome = ApplySkin(w.skinned, w.images);
    QVERIFY(outcome.complete);
    QVERIFY(outcome.message.isEmpty());
    for (const auto &button : w.buttons)
        QCOMPARE(shownColour(*button), QColor(Qt::green));
    QCOMPARE(w.background.size(), layout::kWindow);
    QCOMPARE(w.playerSkins, 1);
}

void TestApplySkin::stopsAtMissingKey_data()
{
    QTest::addColumn<QString>("missingKey");
    QTest::addColumn<int>("dressedButtons");
    QTest::newRow("first button") << "btnSaveUp" << 0;
    QTest::newRow("question mark button") << "hUp" << 7;
    QTest::newRow("search frame") << "frmSearch" << 9;
    QTest::newRow("background") << "picBG" << 9;
}

void TestApplySkin::stopsAtMissingKey()
{
    QFETCH(QString, missingKey);
    QFETCH(int, dressedButtons);
    Window w;
    SkinImages images;
    const auto put = [&](const QString &key, const QPixmap &picture) {
        if (key != missingKey)
            images.insert(key, picture);
    };
    for (const auto &keys : SkinButtons())
        put(keys.releasedKey, solid({20, 20}, Qt::green));
    put(QStringLiteral("frmSearch"), solid(layout::kSearchFrame.size(), kFrame));
    put(QStringLiteral("picBG"), patternedBackground());

    const auto outcome = ApplySkin(w.skinned, images);
    QVERIFY(!outcome.complete);
    QCOMPARE(outcome.stoppedAt, missingKey);
    QVERIFY(outcome.message.contains(missingKey));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(!w.buttons[i]->pixmap().isNull(), i < dressedButtons);
    QVERIFY(w.background.isNull());
    QCOMPARE(w.playerSkins, 0);
    QVERIFY(w.picMenue.backdrop().isNull());
    QVERIFY(w.imgSearch.pixmap().isNull());
}

QTEST_MAIN(TestApplySkin)
#include "tst_applyskin.moc"
