// Pictures fitted and loaded, the picture window, and the slide show: its walk and delay alone,
// then its window over a temporary album.
#include "support/AlbumFolder.h"
#include "support/CoreChecks.h"
#include "support/Fakes.h"
#include "support/PictureFiles.h"

#include "app/AppSettings.h"
#include "model/AlbumListModel.h"
#include "model/AlbumLoader.h"
#include "model/MediaKind.h"
#include "platform/SettingsStore.h"
#include "viewing/DiaButton.h"
#include "viewing/DiaDelay.h"
#include "viewing/DiaInput.h"
#include "viewing/DiaShowList.h"
#include "viewing/frmDiaShow.h"
#include "viewing/frmPicWindow.h"
#include "viewing/InfoPanelSizing.h"
#include "viewing/PictureImage.h"
#include "viewing/PictureLoader.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#ifdef ZV_HEIF_PICTURES
#include "support/HeifFiles.h"
#endif

using namespace zv;
using Direction = DiaWalk::Direction;

namespace {

// "BVU": Bild, Video, an unknown file; named f1.jpg, f2.jpg, ...
std::vector<ListRow> rows(const QString &kinds)
{
    std::vector<ListRow> list;
    for (int i = 0; i < kinds.size(); ++i) {
        ListRow row;
        row.key = i + 1;
        row.name = QStringLiteral("f%1.jpg").arg(i + 1);
        row.kind = kinds[i] == u'B' ? MediaKind::Bild : kinds[i] == u'V' ? MediaKind::Video : MediaKind::Unbekannt;
        list.push_back(row);
    }
    return list;
}

// a.jpg, a video, c.jpg with information and d.jpg that cannot be decoded, or only the video.
struct Show : test::AlbumFolder {
    explicit Show(bool pictures = true)
    {
        file(QStringLiteral("b.mp4"));
        if (!pictures)
            return;
        picture(QStringLiteral("a.jpg"), {400, 300});
        picture(QStringLiteral("c.jpg"), {300, 400});
        info(QStringLiteral("c.jpg"), QStringLiteral("Rom"), QStringLiteral("Am Brunnen"));
        file(QStringLiteral("d.jpg"), "\xFF\xD8\xFF\xE0 kaputt");
    }
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
    template <typename T = QLabel>
    T *child(const char *name) const
    {
        return window->findChild<T *>(name);
    }
    QString shown() const { return QFileInfo(window->shownFile()).fileName(); }
    // A button by name, the wheel a notch away from ("wheel+") or towards the user, or a key.
    void act(const QString &action)
    {
        if (action.startsWith(QLatin1String("cmd"))) {
            QTest::mouseClick(child<DiaButton>(qPrintable(action)), Qt::LeftButton);
        } else if (action.startsWith(QLatin1String("wheel"))) {
            QWheelEvent wheel(QPointF(600, 500), QPointF(600, 500), {}, QPoint(0, action.endsWith(u'+') ? 120 : -120),
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(window.get(), &wheel);
        } else {
            QTest::keyClick(window.get(), QKeySequence::fromString(action)[0].key());
        }
    }

    // Where a widget of the show sits in the window, which is where the user sees it.
    QRect inWindow(const QWidget *widget) const { return {widget->mapTo(window.get(), QPoint(0, 0)), widget->size()}; }
    // The five buttons' places; the pointer is moved and pressed through the window, so it
    // lands on whatever lies under it at that moment, as a user's would.
    QList<QRect> buttonPlaces() const
    {
        QList<QRect> places;
        for (const char *name : kButtons)
            places << inWindow(child<DiaButton>(name));
        return places;
    }
    static constexpr const char *kButtons[] = {"cmdPlay", "cmdPause", "cmdBack", "cmdNext", "cmdEnd"};

    Album album;
    AlbumListModel list;
    std::unique_ptr<SettingsStore> store;
    SettingsValues values;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<frmDiaShow> window;
};

#ifdef ZV_HEIF_PICTURES
// Top half red, bottom half blue.
QImage redOverBlue(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, size.width(), size.height() / 2, Qt::red);
    return image;
}

// An EXIF block that says "turn a quarter clockwise", which a phone's HEIC repeats from its own
// rotation box.
const QByteArray kTurnedExif("MM\x00\x2A\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06"
                             "\x00\x00\x00\x00\x00\x00",
                             26);
#endif

} // namespace

class TestViewing : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Named .jpg whatever its format: album files are classified by name, decoded by content.
    QString picture(const char *name, QSize size, QColor colour = Qt::red, const char *format = "JPEG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir_.filePath(QLatin1String(name));
        return image.save(path, format) ? path : QString();
    }

private Q_SLOTS:
    // Decoded at the preview's size despite a trailer; the broken, the missing and the pixel bomb
    // give nothing.
    void loader_data()
    {
        QTest::addColumn<QByteArray>("kind"); // a format, or how the file is made
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("decoded"); // empty: nothing
        QTest::newRow("jpeg") << QByteArray("JPEG") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("bmp") << QByteArray("BMP") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("small jpeg enlarged") << QByteArray("JPEG") << QSize(40, 30) << QSize(183, 137);
        QTest::newRow("stored sideways") << QByteArray("sideways") << QSize(400, 600) << QSize(122, 183);
        QTest::newRow("broken jpeg") << QByteArray("broken") << QSize() << QSize();
        QTest::newRow("missing") << QByteArray("missing") << QSize() << QSize();
        QTest::newRow("30000 x 30000 pixel bomb") << QByteArray("bomb") << QSize() << QSize();
        // Today's formats, each with its own extension and a trailer.
        QTest::newRow("png") << QByteArray("PNG") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("webp") << QByteArray("WEBP") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("tiff") << QByteArray("TIFF") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("heic") << QByteArray("HEIC") << QSize(400, 300) << QSize(183, 137);
        QTest::newRow("avif") << QByteArray("AVIF") << QSize(400, 300) << QSize(183, 137);
        // Its own boxes hold no rotation, so the EXIF orientation must not turn it.
        QTest::newRow("heic with EXIF orientation") << QByteArray("HEIC turned") << QSize(300, 400) << QSize(137, 183);
        // A valid start and then garbage, as a copy broken off.
        for (const char *format : {"PNG", "WEBP", "TIFF", "HEIC", "AVIF"})
            QTest::newRow(qPrintable(QStringLiteral("broken %1").arg(QString::fromLatin1(format).toLower())))
                << QByteArray("broken ") + format << QSize() << QSize();
    }
    void loader()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QSize, natural);
        QFETCH(QSize, decoded);
        QString path = dir_.filePath(QString::fromLatin1(kind) + QStringLiteral(".jpg"));
        const QByteArray format = kind.split(' ').value(kind.startsWith("broken") ? 1 : 0);
        const bool newFormat = QByteArrayList{"PNG", "WEBP", "TIFF", "HEIC", "AVIF"}.contains(format);
        if (newFormat) {
            path = dir_.filePath(QString::fromLatin1(kind).replace(u' ', u'_') + u'.'
                                 + QString::fromLatin1(format).toLower());
            const bool libheif = format == "HEIC" || format == "AVIF";
            if (libheif && mediaKindForFile(path) != MediaKind::Bild)
                QSKIP("this build has no decoder for the format (see the STATUS lines of cmake)");
            QCOMPARE(mediaKindForFile(path), MediaKind::Bild);
            const QSize size = natural.isValid() ? natural : QSize(400, 300);
            if (libheif) {
#ifdef ZV_HEIF_PICTURES
                QImage image = redOverBlue(size);
                if (!kind.endsWith("turned"))
                    image.fill(Qt::red);
                const QString failed =
                    test::writeHeif(path, image, format == "HEIC" ? heif_compression_HEVC : heif_compression_AV1,
                                    kind.endsWith("turned") ? kTurnedExif : QByteArray());
                if (failed == QLatin1String("no encoder in this libheif"))
                    QSKIP("libheif here has no encoder to make the file");
                QVERIFY2(failed.isEmpty(), qPrintable(failed));
#endif
            } else {
                QImage image(size, QImage::Format_RGB32);
                image.fill(Qt::red);
                QVERIFY(image.save(path, format.constData()));
            }
            if (kind.startsWith("broken")) {
                const QByteArray whole = test::readAll(path);
                QVERIFY(test::writeAll(path, whole.left(whole.size() / 8) + test::mediaBytes(whole.size() / 2)));
            }
        } else if (kind == "sideways")
            QVERIFY(test::writeSidewaysJpeg(path, natural.transposed()));
        else if (kind == "bomb")
            QVERIFY(test::writePixelBomb(path));
        else if (kind == "broken")
            QVERIFY(test::writeAll(path, "\xFF\xD8\xFF\xE0 not really a jpeg"));
        else if (kind != "missing")
            path = picture("bild.jpg", natural, Qt::red, kind.constData());
        if (decoded.isEmpty()) {
            QVERIFY(!loadPicture(path, QSize(183, 183)) && !loadPicture(path));
            return;
        }
        QVERIFY(loadPicture(path)); // without the trailer too
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append) && file.write(QByteArray("FileInfo").leftJustified(914, ' ')) == 914);
        file.close();
        const auto loaded = loadPicture(path, QSize(183, 183));
        QVERIFY(loaded);
        QCOMPARE(loaded->naturalSize, natural);
        QCOMPARE(loaded->image.size(), decoded);
        QVERIFY(kind == "sideways" ? test::looksUpright(loaded->image)
                                   : QColor(loaded->image.pixel(50, 50)).red() > 150);
    }

    // Refitted on resize without decoding again; what is no picture leaves the previous one.
    void pictureWindow()
    {
        const QString red = picture("rot.jpg", {1600, 1200}, Qt::red);
        const QString blue = picture("blau.jpg", {300, 400}, Qt::blue);
        const QString video = dir_.filePath(QStringLiteral("film.mp4"));
        QFile(video).open(QIODevice::WriteOnly);
        frmPicWindow w;
        w.showPicture(red);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(w.shownFile(), red);
        w.resize(900, 300);
        QTRY_COMPARE(w.pictureRect(), QRectF(250, 0, 400, 300));
        QVERIFY(!w.isLoading());
        QCOMPARE(w.findChild<PictureImage *>()->geometry(), QRect(250, 0, 400, 300));
        w.refreshPicWindow(blue);
        QCOMPARE(w.windowTitle(), blue);
        QTRY_COMPARE(w.shownFile(), blue);
        QCOMPARE(w.pictureRect(), QRectF(337.5, 0, 225, 300));
        w.refreshPicWindow(video);
        QTRY_VERIFY(!w.isLoading());
        QCOMPARE(w.windowTitle(), video);
        QCOMPARE(w.shownFile(), blue);
        // Broken pictures of today's formats: a valid start, then garbage.
        const QByteArray starts[] = {QByteArray("\x89PNG\r\n\x1a\n", 8), QByteArray("RIFF\0\0\1\0WEBPVP8 ", 16),
                                     QByteArray("II*\0\x08\0\0\0", 8),
                                     QByteArray("\0\0\0\x18"
                                                "ftypheic\0\0\0\0mif1heic",
                                                24)};
        for (const QByteArray &start : starts) {
            const QString broken = dir_.filePath(QStringLiteral("kaputt%1.jpg").arg(&start - starts));
            QVERIFY(test::writeAll(broken, start + test::mediaBytes(5000)));
            w.refreshPicWindow(broken);
            QTRY_VERIFY(!w.isLoading());
            QCOMPARE(w.shownFile(), blue);
        }
        QCOMPARE(w.findChildren<PictureImage *>().size(), 1);
        QVERIFY(w.findChild<PictureImage *>()->isVisible());
    }

    // Steps "f"orward and "b"ack; at "|" the list changes under the show. Each step shows a row
    // (its name without ".jpg") or nothing; then where the show stands.
    void walk_data()
    {
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("at");
        const auto row = [](const char *name, const char *kinds, const char *steps, const char *shown, const char *at) {
            QTest::newRow(name) << QString(kinds) << QString(steps) << QString() << QString(shown) << QString(at);
        };
        row("video skipped, wraps to the start", "BVB", "fff", "f1 f3 f1", "1/3");
        row("back before the first picture: last", "BVB", "b", "f3", "3/3");
        row("back to the nearest picture before the end", "BBVU", "fb", "f1 f2", "2/4");
        row("single picture", "VBV", "ffb", "f2 f2 f2", "2/3");
        row("no picture: no loop", "VVU", "fb", "- -", "0/3");
        row("empty list", "", "fb", "- -", "0/0");
        const auto changed = [](const char *name, const char *change, const char *next, const char *at) {
            QTest::newRow(name) << "BVBBBB"
                                << "fff|f" << change << QStringLiteral("f1 f3 f4 ") + next << at;
        };
        changed("rows from the shown one to the end removed", "remove 3,4,5", "f1", "1/3");
        changed("rows before it removed", "remove 0,1", "f5", "3/4");
        changed("shown row removed", "remove 3", "f5", "4/5");
        changed("sorted backwards", "reverse", "f3", "4/6");
        changed("refilled without it", "refill", "f1", "1/2");
        changed("every picture removed", "remove 0,2,3,4,5", "-", "1/1");
    }
    void walk()
    {
        QFETCH(QString, kinds);
        QFETCH(QString, steps);
        QFETCH(QString, change);
        QFETCH(QString, shown);
        QFETCH(QString, at);
        AlbumListModel model;
        model.appendRows(rows(kinds));
        DiaShowList show(model);
        QStringList seen;
        for (QChar s : steps) {
            if (s != u'|') {
                const auto slide = show.step(s == u'f' ? Direction::Forward : Direction::Back);
                seen << (slide ? slide->row.name.chopped(4) : QStringLiteral("-"));
            } else if (change.startsWith(QLatin1String("remove"))) {
                std::vector<int> doomed;
                for (const QString &n : change.mid(7).split(u','))
                    doomed.push_back(n.toInt());
                model.removeRowList(doomed);
            } else if (change == QLatin1String("reverse")) {
                model.sortRows([](const ListRow &a, const ListRow &b) { return a.key > b.key; });
            } else {
                model.removeRowsIf([](const ListRow &) { return true; });
                model.appendRows(rows(QStringLiteral("BV")));
            }
        }
        QCOMPARE(seen.join(u' '), shown);
        QCOMPARE(QStringLiteral("%1/%2").arg(show.current()).arg(show.rowCount()), at);
    }

    void delay_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("delay");
        QTest::newRow("shortest") << "500" << 500;
        QTest::newRow("longest") << "30000" << 30000;
        QTest::newRow("too short") << "499" << 3000;
        QTest::newRow("too long") << "30001" << 3000;
    }
    void delay()
    {
        QFETCH(QString, setting);
        QFETCH(int, delay);
        QCOMPARE(DiaDelay(setting), delay);
    }

    // Dragging the grip: the panel reaches half the grip past the pointer, never narrower than the
    // grip, and taller only while the pointer is within the band; from 230 wide the lines widen.
    void infoPanel_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QSize>("panel"); // it was 50 x 40
        QTest::addColumn<int>("lineWidth"); // -1: the lines keep theirs
        QTest::newRow("narrow") << QPoint(100, 100) << QSize(108, 108) << -1;
        QTest::newRow("wide") << QPoint(300, 50) << QSize(308, 58) << 284;
        QTest::newRow("230 wide, above the band") << QPoint(222, 8) << QSize(230, 40) << 206;
        QTest::newRow("band's lowest") << QPoint(100, 230) << QSize(108, 238) << -1;
        QTest::newRow("below the band") << QPoint(100, 231) << QSize(108, 40) << -1;
        QTest::newRow("left of the window") << QPoint(-50, 100) << QSize(16, 108) << -1;
    }
    void infoPanel()
    {
        QFETCH(QPoint, pointer);
        QFETCH(QSize, panel);
        QFETCH(int, lineWidth);
        const QSize grip(16, 16);
        const InfoPanelLayout sized = sizeInfoPanel(pointer, QSize(50, 40), grip);
        QCOMPARE(sized.panel, panel);
        QCOMPARE(sized.grip, QPoint(panel.width() - 16, panel.height() - 16)); // the grip in the corner
        QCOMPARE(sized.lineWidth.value_or(-1), lineWidth);
        const InfoPanelLayout folded = collapsedInfoPanel(grip);
        QCOMPARE(folded.panel, grip);
        QCOMPARE(folded.grip, QPoint(0, 0));
    }

    // Touchpads send parts of a notch; the parts add up, across a change of direction too.
    void wheelSteps_data()
    {
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<QList<int>>("steps");
        QTest::newRow("a notch towards the user") << QList<int>{-120} << QList<int>{1};
        QTest::newRow("a notch away") << QList<int>{120} << QList<int>{-1};
        QTest::newRow("touchpad thirds") << QList<int>{-40, -40, -40} << QList<int>{0, 0, 1};
        QTest::newRow("two notches at once") << QList<int>{-240} << QList<int>{2};
        QTest::newRow("back and forth") << QList<int>{-60, 60, -60} << QList<int>{0, 0, 0};
        QTest::newRow("rest kept") << QList<int>{-100, -100, 120, 100} << QList<int>{0, 1, 0, -1};
    }
    void wheelSteps()
    {
        QFETCH(QList<int>, deltas);
        WheelSteps wheel;
        QList<int> steps;
        for (const int delta : deltas)
            steps << wheel.turn(delta);
        QTEST(steps, "steps");
    }

    // After d.jpg, which cannot be decoded, the picture stays the last one shown.
    void windowSteps_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("index");
        const auto row = [](const char *name, const QStringList &actions, const char *file, const char *shown,
                            const char *index) {
            QTest::newRow(name) << actions << QString(file) << QString(shown) << QStringLiteral("Datei: ") + index;
        };
        row("broken file", {"cmdNext", "cmdNext", "cmdNext"}, "d.jpg", "c.jpg", "4/4");
        row("back before the first", {"cmdBack", "cmdBack"}, "c.jpg", "c.jpg", "3/4");
        row("arrow keys, back from the first", {"Right", "Left"}, "d.jpg", "a.jpg", "4/4");
        row("wheel", {"wheel-", "wheel-", "wheel+"}, "a.jpg", "a.jpg", "1/4");
    }
    void windowSteps()
    {
        QFETCH(QStringList, actions);
        QFETCH(QString, file);
        QFETCH(QString, shown);
        QFETCH(QString, index);
        Show s;
        frmDiaShow &w = s.open();
        QVERIFY(w.start());
        for (const QString &action : actions) {
            s.act(action);
            QTRY_VERIFY(s.shown() == s.child("lblFile")->text() || s.child("lblFile")->text() == "d.jpg");
        }
        QTest::qWait(50);
        QCOMPARE(s.shown(), shown);
        QCOMPARE(s.child("lblIndex")->text(), index);
        QCOMPARE(s.child("lblFile")->text(), file);
        const bool told = file == QLatin1String("c.jpg"); // the only one with information
        QCOMPARE(s.child("lblOrt")->text(), told ? QStringLiteral("Ort: Rom") : QStringLiteral("Ort: "));
        QCOMPARE(s.child<QPlainTextEdit>("txtBemerk")->toPlainText(), told ? QStringLiteral("Am Brunnen") : QString());
    }

    // A phone's album: screenshots, web pictures, scans and iPhone photos are shown, the mp4 skipped.
    void windowShowsTodaysPictures()
    {
        Show s(false);
        QStringList expected{"a.png", "e.webp", "f.TIF"};
        QVERIFY(s.picture(QStringLiteral("a.png"), {400, 300}, Qt::green, "PNG"));
        QVERIFY(s.picture(QStringLiteral("e.webp"), {300, 400}, Qt::green, "WEBP"));
        QVERIFY(s.picture(QStringLiteral("f.TIF"), {30, 30}, Qt::green, "TIFF"));
#ifdef ZV_HEIF_PICTURES
        const QString failed =
            test::writeHeif(s.media(QStringLiteral("d.heic")), redOverBlue({400, 300}), heif_compression_HEVC);
        if (failed.isEmpty())
            expected.insert(1, QStringLiteral("d.heic"));
        else
            qWarning("no HEIC in the show: %s", qPrintable(failed));
#endif
        for (const QString &name : expected)
            s.info(name, QStringLiteral("Rom")); // with a trailer, as album files are
        frmDiaShow &w = s.open();
        QVERIFY(w.start());
        QStringList seen;
        for (qsizetype i = 0; i <= expected.size(); ++i) {
            s.act(QStringLiteral("cmdNext"));
            QTRY_COMPARE(s.child("lblFile")->text(), expected[i % expected.size()]);
            QTRY_COMPARE(s.shown(), expected[i % expected.size()]); // decoded, not left at the one before
        }
    }

    // Stepping by hand pauses a running show, play and the space bar go on; the slider saves the delay.
    void windowPausesAndSavesTheDelay()
    {
        Show s;
        QVERIFY(QFile::remove(s.media(QStringLiteral("d.jpg")))); // no wait at a broken file
        frmDiaShow &w = s.open(QStringLiteral("500"));
        QCOMPARE(w.interval(), 500);
        QVERIFY(w.start());
        QVERIFY(QTest::qWaitForWindowActive(&w)); // the timer runs while the show is the active window
        QVERIFY(w.shownFile().isEmpty()); // the first picture comes one delay after opening
        QTRY_COMPARE(s.shown(), QStringLiteral("a.jpg"));
        s.act(QStringLiteral("cmdNext"));
        QTRY_COMPARE(s.shown(), QStringLiteral("c.jpg"));
        QVERIFY(!w.isRunning());
        QVERIFY(s.child<DiaButton>("cmdPause")->isActive() && !s.child<DiaButton>("cmdPlay")->isActive());
        s.act(QStringLiteral("cmdPlay"));
        QVERIFY(w.isRunning());
        QTRY_COMPARE(s.shown(), QStringLiteral("a.jpg"));
        s.act(QStringLiteral("Space"));
        QVERIFY(!w.isRunning());
        QVERIFY(s.child<DiaButton>("cmdPause")->isActive());
        s.child<QSlider>("sldDelay")->setValue(4500);
        QCOMPARE(w.interval(), 4500);
        QCOMPARE(makeFileSettings(s.dir.filePath(QStringLiteral("settings.ini")))
                     ->value(QStringLiteral("DiaShow"), QStringLiteral("Delay"), {}),
                 QStringLiteral("4500"));
    }

    // Coming in at any button, the buttons stay where they were, the slider shows away from
    // them and from the pointer, and goes again when the pointer leaves; a press there is the button's.
    void barKeepsItsButtons_data()
    {
        QTest::addColumn<QString>("button");
        for (const char *name : Show::kButtons)
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void barKeepsItsButtons()
    {
        QFETCH(QString, button);
        Show s;
        frmDiaShow &w = s.open();
        QVERIFY(w.start());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWindow *screen = w.windowHandle();
        const auto slider = s.child<QSlider>("sldDelay");
        QTest::mouseMove(screen, w.rect().center());
        const QList<QRect> resting = s.buttonPlaces();
        QVERIFY(slider->visibleRegion().isEmpty()); // hidden or cut off, the bar decides

        const QPoint aim = s.inWindow(s.child<DiaButton>(qPrintable(button))).center();
        QTest::mouseMove(screen, aim);
        QVERIFY(!slider->visibleRegion().isEmpty());
        QCOMPARE(s.buttonPlaces(), resting);
        const QRect sliderPlace = s.inWindow(slider);
        QVERIFY(!sliderPlace.contains(aim));
        for (const QRect &place : resting)
            QVERIFY2(!sliderPlace.intersects(place), qPrintable(QStringLiteral("%1,%2").arg(place.x()).arg(place.y())));

        QTest::mouseMove(screen, sliderPlace.center()); // on the way to the slider the bar stays open
        QVERIFY(!slider->visibleRegion().isEmpty());
        QCOMPARE(s.buttonPlaces(), resting);
        QTest::mouseMove(screen, w.rect().center());
        QVERIFY(slider->visibleRegion().isEmpty()); // hidden or cut off, the bar decides
        QCOMPARE(s.buttonPlaces(), resting);

        // A press where the pointer came in at a button is that button's, never the slider's.
        QSignalSpy pressed(s.child<DiaButton>(qPrintable(button)), &DiaButton::pressed);
        QTest::mouseMove(screen, aim);
        QTest::mousePress(screen, Qt::LeftButton, {}, aim);
        QTest::mouseRelease(screen, Qt::LeftButton, {}, aim);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(s.values.Delay, QStringLiteral("3000"));
        QCOMPARE(w.interval(), 3000);
        QCOMPARE(makeFileSettings(s.dir.filePath(QStringLiteral("settings.ini")))
                     ->value(QStringLiteral("DiaShow"), QStringLiteral("Delay"), {}),
                 QString());
    }

    void noPictureNoShow()
    {
        Show s(false);
        QVERIFY(!s.open().start());
        QVERIFY(!s.window->isVisible());
        QCOMPARE(s.dialogs.shown, QStringList{"Diashow|In der Liste ist kein Bild, das die Diashow zeigen könnte."});
    }
};

QTEST_MAIN(TestViewing)
#include "tst_viewing.moc"
