// The slide show window over a temporary album and the real list model.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"
#include "support/PictureFiles.h"

#include "app/AlbumListModel.h"
#include "app/AlbumLoader.h"
#include "app/AppSettings.h"
#include "platform/SettingsStore.h"
#include "viewing/DiaButton.h"
#include "viewing/PictureImage.h"
#include "viewing/frmDiaShow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>

using namespace zv;

namespace {

struct Show : test::AlbumFolder {
    // Files are listed by name, whatever order the folder gives them in.
    frmDiaShow &open(const QString &delay = QStringLiteral("3000"))
    {
        album = loadAlbum(media({}));
        list.fill(album);
        list.sortRows([](const ListRow &a, const ListRow &b) { return a.name < b.name; });
        store = makeFileSettings(dir.filePath(QStringLiteral("settings.ini")));
        values.Delay = delay;
        window = std::make_unique<frmDiaShow>(DiaShowServices{list, AlbumPaths{path()}, *store, values, dialogs});
        return *window;
    }
    QString text(const char *name) const { return window->findChild<QLabel *>(QLatin1String(name))->text(); }
    DiaButton *button(const char *name) const { return window->findChild<DiaButton *>(QLatin1String(name)); }
    QString shown() const { return QFileInfo(window->shownFile()).fileName(); }

    Album album;
    AlbumListModel list;
    std::unique_ptr<SettingsStore> store;
    SettingsValues values;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<frmDiaShow> window;
};

// Steps "next", "back", keys "Right", "Left", "Space", "Escape", "wheel+" (away from the user)
// and "wheel-".
void act(Show &s, const QString &action)
{
    if (action == QLatin1String("next") || action == QLatin1String("back") || action == QLatin1String("play")
        || action == QLatin1String("pause"))
        QTest::mouseClick(s.button(("cmd" + action.left(1).toUpper() + action.mid(1)).toLatin1().constData()),
                          Qt::LeftButton);
    else if (action.startsWith(QLatin1String("wheel"))) {
        QWheelEvent wheel(QPointF(600, 500), QPointF(600, 500), {}, QPoint(0, action.endsWith(u'+') ? 120 : -120),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s.window.get(), &wheel);
    } else {
        const int key = action == QLatin1String("Right") ? Qt::Key_Right
            : action == QLatin1String("Left")            ? Qt::Key_Left
            : action == QLatin1String("Space")           ? Qt::Key_Space
                                                         : Qt::Key_Escape;
        QTest::keyClick(s.window.get(), Qt::Key(key));
    }
}

} // namespace

class TestDiaShow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stepping_data();
    void stepping();
    void nextWhileRunningPausesAndPlayResumes();
    void noPictureNoShow_data();
    void noPictureNoShow();
    void rowsRemovedWhileRunning();
    void brokenFilesKeepThePreviousPicture();
    void sidewaysPhotoIsUpright();
    void delay_data();
    void delay();
    void panelGrip_data();
    void panelGrip();
};

void TestDiaShow::stepping_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("index");
    QTest::newRow("first") << QStringList{"next"} << "a.jpg" << "Datei: 1/3";
    QTest::newRow("video skipped") << QStringList{"next", "next"} << "c.jpg" << "Datei: 3/3";
    QTest::newRow("wraps around") << QStringList{"next", "next", "next"} << "a.jpg" << "Datei: 1/3";
    QTest::newRow("back before the first") << QStringList{"back"} << "c.jpg" << "Datei: 3/3";
    QTest::newRow("back from the first") << QStringList{"next", "back"} << "c.jpg" << "Datei: 3/3";
    QTest::newRow("arrow keys") << QStringList{"Right", "Right", "Left"} << "a.jpg" << "Datei: 1/3";
    QTest::newRow("wheel") << QStringList{"wheel-", "wheel-", "wheel+"} << "a.jpg" << "Datei: 1/3";
}

void TestDiaShow::stepping()
{
    QFETCH(QStringList, actions);
    QFETCH(QString, shown);
    QFETCH(QString, index);
    Show s;
    s.picture(QStringLiteral("a.jpg"), {400, 300}, Qt::red);
    s.file(QStringLiteral("b.mp4"));
    s.picture(QStringLiteral("c.jpg"), {300, 400}, Qt::blue);
    s.info(QStringLiteral("c.jpg"), QStringLiteral("Rom"), QStringLiteral("Am Brunnen"));
    frmDiaShow &w = s.open();
    QVERIFY(w.start());
    for (const QString &action : actions) {
        act(s, action);
        QTRY_VERIFY(!s.shown().isEmpty());
    }
    QTRY_COMPARE(s.shown(), shown);
    QCOMPARE(s.text("lblIndex"), index);
    QCOMPARE(s.text("lblFile"), shown);
    QCOMPARE(s.text("lblOrt"), shown == QLatin1String("c.jpg") ? QStringLiteral("Ort: Rom") : QStringLiteral("Ort: "));
    QCOMPARE(w.findChild<QPlainTextEdit *>(QStringLiteral("txtBemerk"))->toPlainText(),
             shown == QLatin1String("c.jpg") ? QStringLiteral("Am Brunnen") : QString());
    // Full screen on black: the picture fills one side of the screen, centred, undistorted.
    QCOMPARE(w.size(), w.screen()->geometry().size());
    const QRectF r = w.pictureRect();
    QVERIFY(qFuzzyCompare(r.height(), qreal(w.height())) || qFuzzyCompare(r.width(), qreal(w.width())));
    QCOMPARE(r.center(), QRectF(w.rect()).center());
    QCOMPARE(r.width() / r.height(), shown == QLatin1String("a.jpg") ? 4.0 / 3.0 : 3.0 / 4.0);
    const QImage onScreen = w.findChild<PictureImage *>()->shownImage();
    QCOMPARE(onScreen.size(), r.size().toSize());
    const QColor centre = onScreen.pixelColor(onScreen.rect().center());
    QCOMPARE(centre.red() > 150, shown == QLatin1String("a.jpg"));
    // On the screen itself, black beside the picture: nothing of an earlier picture is left.
    const QPoint beside = r.left() > 4 ? QPoint(r.left() / 2, w.height() / 2) : QPoint(w.width() / 2, r.top() / 2);
    QTRY_COMPARE(w.screen()->grabWindow(w.winId()).toImage().pixelColor(beside), QColor(Qt::black));
    act(s, QStringLiteral("Escape"));
    QVERIFY(!w.isVisible());
}

void TestDiaShow::nextWhileRunningPausesAndPlayResumes()
{
    Show s;
    s.picture(QStringLiteral("a.jpg"), {400, 300});
    s.file(QStringLiteral("b.mp4"));
    s.picture(QStringLiteral("c.jpg"), {400, 300});
    frmDiaShow &w = s.open(QStringLiteral("500"));
    QVERIFY(w.start());
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(w.isRunning());
    QVERIFY(w.shownFile().isEmpty()); // the first picture comes one delay after opening
    QTRY_COMPARE(s.shown(), QStringLiteral("a.jpg"));
    act(s, QStringLiteral("next"));
    QTRY_COMPARE(s.shown(), QStringLiteral("c.jpg"));
    QVERIFY(!w.isRunning());
    QVERIFY(s.button("cmdPause")->isActive());
    QVERIFY(!s.button("cmdPlay")->isActive());
    QTest::qWait(800);
    QCOMPARE(s.shown(), QStringLiteral("c.jpg"));
    act(s, QStringLiteral("play"));
    QVERIFY(w.isRunning());
    QVERIFY(s.button("cmdPlay")->isActive());
    QTRY_COMPARE(s.shown(), QStringLiteral("a.jpg"));
    act(s, QStringLiteral("Space"));
    QVERIFY(!w.isRunning());
    QVERIFY(s.button("cmdPause")->isActive());
    // Coming back from another window starts the timer again; the faces stay paused.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!w.isRunning());
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(w.isRunning());
    QVERIFY(s.button("cmdPause")->isActive());
}

void TestDiaShow::noPictureNoShow_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::newRow("empty list") << QStringList{};
    QTest::newRow("only a video and a document") << QStringList{"film.mp4", "brief.txt"};
}

void TestDiaShow::noPictureNoShow()
{
    QFETCH(QStringList, files);
    Show s;
    for (const QString &f : files)
        s.file(f);
    frmDiaShow &w = s.open();
    QVERIFY(!w.start());
    QVERIFY(!w.isVisible());
    QCOMPARE(s.dialogs.shown, QStringList{"Diashow|In der Liste ist kein Bild, das die Diashow zeigen könnte."});
}

void TestDiaShow::rowsRemovedWhileRunning()
{
    Show s;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        s.picture(QLatin1String(name), {400, 300});
    frmDiaShow &w = s.open();
    QVERIFY(w.start());
    for (int i = 0; i < 4; ++i)
        act(s, QStringLiteral("next"));
    QTRY_COMPARE(s.shown(), QStringLiteral("d.jpg"));
    // A search drops the shown row and the one before it.
    const std::vector<int> doomed{2, 3};
    s.list.removeRowList(doomed);
    act(s, QStringLiteral("next"));
    QTRY_COMPARE(s.shown(), QStringLiteral("a.jpg"));
    QCOMPARE(s.text("lblIndex"), QStringLiteral("Datei: 1/2"));
    act(s, QStringLiteral("back"));
    QTRY_COMPARE(s.shown(), QStringLiteral("b.jpg"));
    QCOMPARE(s.text("lblIndex"), QStringLiteral("Datei: 2/2"));
}

void TestDiaShow::brokenFilesKeepThePreviousPicture()
{
    Show s;
    s.picture(QStringLiteral("a.jpg"), {400, 300});
    s.file(QStringLiteral("b.jpg"), "\xFF\xD8\xFF\xE0 kaputt");
    QVERIFY(test::writePixelBomb(s.media(QStringLiteral("c.jpg"))));
    s.file(QStringLiteral("d.jpg"), "");
    s.picture(QStringLiteral("e.jpg"), {300, 400});
    frmDiaShow &w = s.open();
    QVERIFY(w.start());
    act(s, QStringLiteral("next"));
    QTRY_COMPARE(s.shown(), QStringLiteral("a.jpg"));
    for (const char *broken : {"b.jpg", "c.jpg", "d.jpg"}) {
        act(s, QStringLiteral("next"));
        QCOMPARE(s.text("lblFile"), QLatin1String(broken));
        QTest::qWait(50);
        QCOMPARE(s.shown(), QStringLiteral("a.jpg"));
    }
    QCOMPARE(s.text("lblIndex"), QStringLiteral("Datei: 4/5"));
    act(s, QStringLiteral("next"));
    QTRY_COMPARE(s.shown(), QStringLiteral("e.jpg"));
    QVERIFY(w.pictureRect().width() < w.pictureRect().height());
}

void TestDiaShow::sidewaysPhotoIsUpright()
{
    Show s;
    QVERIFY(test::writeSidewaysJpeg(s.media(QStringLiteral("hochkant.jpg")), QSize(600, 400)));
    frmDiaShow &w = s.open();
    QVERIFY(w.start());
    act(s, QStringLiteral("next"));
    QTRY_COMPARE(s.shown(), QStringLiteral("hochkant.jpg"));
    QCOMPARE(w.pictureRect().height(), qreal(w.height()));
    QCOMPARE(w.pictureRect().width(), w.height() * 400.0 / 600.0);
    QVERIFY(test::looksUpright(w.findChild<PictureImage *>()->shownImage()));
}

void TestDiaShow::delay_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("interval");
    QTest::newRow("from the setting") << "4500" << 4500;
    QTest::newRow("not a whole number") << "4,5 s" << 3000;
    QTest::newRow("too short") << "10" << 3000;
}

void TestDiaShow::delay()
{
    QFETCH(QString, setting);
    QFETCH(int, interval);
    Show s;
    s.picture(QStringLiteral("a.jpg"), {40, 30});
    frmDiaShow &w = s.open(setting);
    auto *slider = w.findChild<QSlider *>(QStringLiteral("sldDelay"));
    QCOMPARE(w.interval(), interval);
    QCOMPARE(slider->value(), interval);
    QCOMPARE(s.values.Delay, setting); // opening changes nothing
    slider->setValue(5000);
    QCOMPARE(w.interval(), 5000);
    QCOMPARE(s.values.Delay, QStringLiteral("5000"));
    QCOMPARE(makeFileSettings(s.dir.filePath(QStringLiteral("settings.ini")))
                 ->value(QStringLiteral("DiaShow"), QStringLiteral("Delay"), {}),
             QStringLiteral("5000"));
}

void TestDiaShow::panelGrip_data()
{
    QTest::addColumn<QPoint>("pointer"); // window coordinates
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<int>("lineWidth");
    QTest::newRow("opened wide") << QPoint(400, 200) << QSize(408, 208) << 384;
    QTest::newRow("narrow: lines keep their width") << QPoint(150, 200) << QSize(158, 208) << 206;
    QTest::newRow("left of the window") << QPoint(-40, 200) << QSize(16, 208) << 206;
}

void TestDiaShow::panelGrip()
{
    QFETCH(QPoint, pointer);
    QFETCH(QSize, panel);
    QFETCH(int, lineWidth);
    Show s;
    s.picture(QStringLiteral("a.jpg"), {40, 30});
    frmDiaShow &w = s.open();
    QVERIFY(w.start());
    auto *info = w.findChild<QWidget *>(QStringLiteral("picInfo"));
    auto *grip = w.findChild<QLabel *>(QStringLiteral("cmdShowHide"));
    QCOMPARE(info->size(), grip->size()); // folded at first
    QTest::mousePress(grip, Qt::LeftButton, {}, QPoint(8, 8));
    const QPoint local = pointer - grip->mapTo(&w, QPoint());
    QMouseEvent move(QEvent::MouseMove, local, grip->mapToGlobal(local), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(grip, &move);
    QCOMPARE(info->size(), panel);
    QCOMPARE(grip->geometry().bottomRight(), QPoint(panel.width() - 1, panel.height() - 1));
    QCOMPARE(s.window->findChild<QLabel *>(QStringLiteral("lblAnlass"))->width(), lineWidth);
    QCOMPARE(s.window->findChild<QPlainTextEdit *>(QStringLiteral("txtBemerk"))->width(), lineWidth);
}

QTEST_MAIN(TestDiaShow)
#include "tst_frmdiashow.moc"
