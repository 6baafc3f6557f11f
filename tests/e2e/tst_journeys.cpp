// A user works the real program with mouse and keys: the skinned window, the list view and the
// blue skin (still there after a restart), a date typed and saved, a search by place and a sort by
// date, a new album, an import and an export, a camera's date taken and a photo turned. Each file
// is a picture of its own colour, so the preview tells which rows the list holds.
#include "support/CoreChecks.h"
#include "support/PictureFiles.h"
#include "support/ProgramRun.h"

#include "app/MainWindowLayout.h"

#include <QImageReader>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStorageInfo>

#include <signal.h>

using namespace zv::test;
namespace layout = zv::layout;

namespace {

// Window background with no control on it, above the progress bar.
const QPoint kFreeSurface(layout::kPreview.center().x(), layout::kProgress.top() - 24);
const QPoint kPreview = layout::kPreview.center();
const QPoint kFirstRow = layout::kList.topLeft() + QPoint(89, 30); // below the column headers
const QPoint kClose = layout::kCloseButton.center();
// A panel button's middle in window coordinates.
QPoint inMenu(const QRect &button)
{
    return layout::kMenuPanel.topLeft() + button.center();
}
QPoint inSearchPanel(const QRect &button)
{
    return layout::kSearchPanel.topLeft() + button.center();
}
// The middle of the information field in this row, counted from txtDatum at the top.
QPoint field(int row)
{
    return QRect(QPoint(layout::kFieldLeft, layout::kFieldTop + row * layout::kFieldPitch), layout::kField).center();
}
const QPoint kDateField = field(0); // txtDatum
const QPoint kPlaceField = field(1); // txtOrt
constexpr int kTypeAhead = 600; // longer than a view's type-ahead interval, so a new search starts

struct Picture {
    QString name;
    QColor colour;
};

// How far the title band of the window at origin is from a skin's background, per channel.
double bandDifference(const QPoint &origin, const QImage &background)
{
    const QImage shot = screenShot();
    double sum = 0;
    int n = 0;
    for (int y = layout::kTitleBand.top() + 4; y < layout::kTitleBand.bottom() - 5; y += 3)
        for (int x = 400; x < layout::kHelp2Button.left() - 10; x += 7) { // right of where the chooser opens
            const QColor a = shot.pixelColor(origin + QPoint(x, y));
            const QColor b = background.pixelColor(x, y);
            sum += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
            n += 3;
        }
    return sum / n;
}

// The main list's rows from the top, told by the colour of the preview: a click on the first row,
// then Down for each row expected, and once more to see that no other follows.
QStringList listedRows(const QRect &window, const QList<Picture> &pictures, int expected)
{
    QString shown;
    const auto moved = [&](const QString &last) {
        const QColor colour = colourAt(window.topLeft() + kPreview);
        shown.clear();
        for (const Picture &p : pictures)
            shown = near(colour, p.colour) ? p.name : shown;
        return !shown.isEmpty() && shown != last;
    };
    QStringList rows;
    clickAt(window.topLeft() + kFirstRow);
    QTest::qWait(500);
    if (waitUntil([&] { return moved({}); }, 3000))
        rows << shown;
    while (!rows.isEmpty() && rows.size() <= expected && pressKeys({"Down"})
           && waitUntil([&] { return moved(rows.last()); }, rows.size() < expected ? 3000 : 500))
        rows << shown;
    return rows;
}

// The header's section borders as a person sees them: lines darker than the shading beside them
// from the header's top to its bottom, where no letter reaches.
QList<int> headerBorders(const QPoint &topLeft, int width)
{
    const QImage strip = screenShot(QRect(topLeft, QSize(width, 16)));
    QList<int> borders;
    for (int x = 2; x + 2 < strip.width(); ++x) {
        bool line = true;
        for (int y = 3; y < 15 && line; ++y) {
            const int here = qGray(strip.pixel(x, y));
            line = here + 20 < qGray(strip.pixel(x - 1, y)) && here + 20 < qGray(strip.pixel(x + 1, y));
        }
        if (line)
            borders << x;
    }
    return borders;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// In a folder tree at the window's top left: into the tree, to the folder's drive, then down its
// path with the arrow keys and typed names, as a person without the mouse would.
bool reachFolder(const QRect &window, const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    const QStorageInfo volume(path);
    const QString drive = volume.name().isEmpty() ? volume.rootPath() : volume.name();
    if (!clickAt(window.topLeft() + QPoint(40, 10))) // the dialog's first drive
        return false;
    QTest::qWait(kTypeAhead);
    if (!pressKeys({"End"}) || !typeText(drive)) // the search wraps to the top
        return false;
    for (const QString &step : QDir(volume.rootPath()).relativeFilePath(path).split('/', Qt::SkipEmptyParts)) {
        QTest::qWait(kTypeAhead); // the subfolders are read one level ahead, on a thread
        if (!pressKeys({"Right"}))
            return false;
        QTest::qWait(kTypeAhead);
        if (!typeText(step))
            return false;
    }
    return true;
}

// The middle of the highlighted row of the tree at the window's left edge, or -1.
int highlightedRow(const QRect &window, int treeWidth)
{
    const QImage shot = screenShot(QRect(window.topLeft(), QSize(treeWidth, window.height() - 40)));
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        int highlighted = 0;
        for (int x = 0; x < shot.width(); x += 4) {
            const QColor c = shot.pixelColor(x, y);
            highlighted += c.hsvSaturation() > 120 && c.hsvHue() > 180 && c.hsvHue() < 240;
        }
        if (highlighted > shot.width() / 8) {
            top = top < 0 ? y : top;
            bottom = y;
        } else if (top >= 0) {
            break;
        }
    }
    return top >= 0 ? (top + bottom) / 2 : -1;
}

// Clicks the highlighted row of the tree at the window's left edge, so the browser lists it.
bool clickSelectedNode(const QRect &window, int treeWidth)
{
    const int row = highlightedRow(window, treeWidth);
    return row >= 0 && clickAt(window.topLeft() + QPoint(treeWidth / 2, row));
}

} // namespace

class TestJourneys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void skinPreviewListViewAndBlueSkin();
    void endMovesTheSelectionNotTheSavedFile();
    void searchBackAndSortByDate();
    void newAlbumFromAllFiles();
    void importTwoFilesNumbered();
    void exportOneFile();
    void thumbnailsInSymbole();
    void exportAgainWhereTheFirstWent();
    void cameraDateAndTurns();
};

void TestJourneys::skinPreviewListViewAndBlueSkin()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    for (const char *name : {"a.jpg", "b.jpg"})
        QVERIFY(writePicture(run.media(name), Qt::darkGreen, {400, 300}));
    const QImage main(run.album.filePath("Skins/Main/Hintergrund.jpg"));
    const QImage blue(run.album.filePath("Skins/Blau/Hintergrund.jpg"));
    QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    const QPoint at = window.topLeft();

    // The Main skin; the first file previewed, fitted: a 4:3 picture leaves bands above and below.
    QTRY_VERIFY(bandDifference(at, main) < 12);
    QTRY_VERIFY(near(colourAt(at + kPreview), Qt::darkGreen));
    QVERIFY(!near(colourAt(at + QPoint(kPreview.x(), layout::kPreview.top() + 10)), Qt::darkGreen));

    // "Ansicht" → "Liste": the list loses its column headers.
    const QPoint header = at + layout::kList.topLeft() + QPoint(150, 8);
    const QColor headerBefore = colourAt(header);
    QVERIFY(chooseFromMenu(at + kFreeSurface, {"Down", "Down", "Down", "Down", "Right", "Down", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(colourAt(header) != headerBefore, 3000);

    // "Skin wählen" → Blau (the first) → "übernehmen"; a new start opens in blue.
    QVERIFY(chooseFromMenu(at + kFreeSurface, {"Down", "Down", "Down", "Down", "Down", "Return"}));
    QVERIFY(!awaitWindow("Skinauswahl").isEmpty());
    QTest::qWait(300);
    QVERIFY(pressKeys({"Down", "Up", "Tab", "space"}));
    QTRY_VERIFY_WITH_TIMEOUT(bandDifference(at, blue) < 14, 5000);
    run.process.kill();
    run.process.waitForFinished();
    QVERIFY(!(window = run.startWindow()).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(bandDifference(window.topLeft(), blue) < 14, 5000);
}

// A date typed for the second file is saved into it. End on the way moves the selection to the
// last row and leaves the boxes with the shown file: the last one keeps every byte.
void TestJourneys::endMovesTheSelectionNotTheSavedFile()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        QVERIFY(writePicture(run.media(name), Qt::darkCyan, {80, 60}, QString::fromLatin1(name)));
    const QStringList order = QDir(run.media({})).entryList(QDir::Files, QDir::Unsorted);
    QMap<QString, QByteArray> before;
    for (const QString &name : order)
        before[name] = readAll(run.media(name));
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());

    QVERIFY(pressKeys({"Down"})); // shows the second file
    QTest::qWait(300);
    QVERIFY(pressKeys({"End"})); // selects the last without showing it
    QVERIFY(clickAt(window.topLeft() + kDateField));
    QVERIFY(pressKeys({"ctrl+a"}));
    QVERIFY(typeText("1999"));
    QVERIFY(clickAt(window.topLeft() + inMenu(layout::kSaveButton))); // "Speichern"
    QVERIFY(clickAt(window.topLeft() + kClose));
    QVERIFY(run.process.waitForFinished(10000));
    const zv::PictureInfo saved = zv::trimmed(zv::ReadPictureInfo(run.media(order[1])).info);
    QCOMPARE(saved.datum, "xx.xx.1999");
    QCOMPARE(saved.ort, order[1]);
    for (const QString &name : {order[0], order[2], order[3]})
        QCOMPARE(readAll(run.media(name)), before[name]);
}

void TestJourneys::searchBackAndSortByDate()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    const QList<Picture> pictures{{"rot.jpg", QColor(200, 30, 30)},
                                  {"gruen.jpg", QColor(30, 170, 40)},
                                  {"blau.jpg", QColor(30, 40, 200)},
                                  {"gelb.jpg", QColor(220, 200, 20)}};
    const QStringList places{"Berlin", "Bonn", "Berlin Mitte", "Ulm"};
    const QStringList dates{"01.02.2004", "31.12.2002", "15.01.2003", "xx.xx.2003"};
    for (int i = 0; i < pictures.size(); ++i)
        QVERIFY(writePicture(run.media(pictures[i].name), pictures[i].colour, {80, 80}, places[i], dates[i]));
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    const QStringList all{"blau.jpg", "gelb.jpg", "gruen.jpg", "rot.jpg"};
    QCOMPARE(sorted(listedRows(window, pictures, 4)), all);

    QVERIFY(clickAt(window.topLeft() + inMenu(layout::kSearchButton))); // "Suchen"
    QVERIFY(clickAt(window.topLeft() + kPlaceField)); // "Ort:"
    QVERIFY(typeText("berlin")); // xdotool loses letters it must map first, as ö, when the program is slow
    QVERIFY(clickAt(window.topLeft() + inSearchPanel(layout::kStartButton))); // start
    QCOMPARE(sorted(listedRows(window, pictures, 2)), (QStringList{"blau.jpg", "rot.jpg"}));

    QVERIFY(clickAt(window.topLeft() + inSearchPanel(layout::kBackButton))); // "zurück"
    QCOMPARE(sorted(listedRows(window, pictures, 4)), all);

    // The "Datum" header, the third: the columns are as wide as their captions in this font.
    const QPoint header = window.topLeft() + layout::kList.topLeft();
    const QList<int> borders = headerBorders(header, layout::kList.width());
    QVERIFY2(borders.size() >= 3, qPrintable(QString::number(borders.size())));
    QVERIFY(clickAt(header + QPoint((borders[1] + borders[2]) / 2, 8)));
    QCOMPARE(listedRows(window, pictures, 4), (QStringList{"gruen.jpg", "blau.jpg", "gelb.jpg", "rot.jpg"}));
}

void TestJourneys::newAlbumFromAllFiles()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(writePicture(run.media("rot.jpg"), Qt::red, {60, 60}, "Köln"));
    QVERIFY(writePicture(run.media("blau.jpg"), Qt::blue));
    QTemporaryDir parent;
    const QString target = parent.filePath("Urlaub 2004");
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());

    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Return"})); // "alles markieren"
    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface,
                           {"Down", "Down", "Right", "Down", "Down", "Down", "Return"})); // "neues Album"
    QVERIFY(answerBox("neues Album", {"ctrl+a"}));
    QVERIFY(typeText(target));
    QVERIFY(pressKeys({"Return"}));

    // The new album's own program starts and shows its window.
    const QString program = target + "/zidoverev";
    QList<qint64> started;
    const auto stop = qScopeGuard([&] {
        for (const qint64 pid : processesOf(program))
            ::kill(pid_t(pid), SIGKILL);
    });
    QTRY_VERIFY_WITH_TIMEOUT(!(started = processesOf(program)).isEmpty(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!windowIds("Zidoverev", started.first()).isEmpty(), 15000);

    QVERIFY(QFileInfo(program).isExecutable());
    QCOMPARE(readAll(program), readAll(run.album.filePath("zidoverev")));
    QCOMPARE(QDir(target + "/Bilder").entryList(QDir::Files, QDir::Name), (QStringList{"blau.jpg", "rot.jpg"}));
    for (const char *name : {"blau.jpg", "rot.jpg"}) // the trailer travels with the file
        QCOMPARE(readAll(target + "/Bilder/" + name), readAll(run.media(name)));
    for (const char *folder : {"Skins", "Hilfe"}) {
        QDirIterator it(run.album.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        int files = 0;
        for (; it.hasNext(); ++files) {
            const QString source = it.next();
            QCOMPARE(readAll(target + source.mid(run.album.path().size())), readAll(source));
        }
        QVERIFY(files > 0);
    }
}

void TestJourneys::importTwoFilesNumbered()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(writePicture(run.media("rot.jpg"), Qt::red));
    QTemporaryDir source;
    QVERIFY(writePicture(source.filePath("blau.jpg"), Qt::blue, {60, 60}, "Bonn"));
    QVERIFY(writePicture(source.filePath("gelb.jpg"), Qt::yellow));
    QVERIFY(writeAll(source.filePath("notiz.txt"), "x")); // not a media file: not listed
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());

    // "hinzufügen"
    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Down", "Right", "Down", "Return"}));
    const QRect browser = awaitWindow("Velmora - Dateien einfügen");
    QVERIFY(!browser.isEmpty());
    QVERIFY(reachFolder(browser, source.path()));
    QVERIFY(clickSelectedNode(browser, 180)); // the tree's width
    // All files listed, numbering on from 41, past "Aufnahmedatum übernehmen" to "hinzufügen".
    QVERIFY(pressKeys({"Tab", "ctrl+a", "Tab", "space", "Tab", "ctrl+a"}));
    QVERIFY(typeText("41"));
    const QStringList untitled = windowIds({});
    QVERIFY(pressKeys({"Tab", "Tab", "space"}));
    QVERIFY(answerBox({}, {"Return"}, untitled)); // "Aktion ausgeführt.", a box without a title
    QVERIFY(clickAt(browser.topLeft() + QPoint(browser.width() - 48, browser.height() - 19))); // the dialog's "fertig"
    QVERIFY(awaitWindowGone("Velmora - Dateien einfügen"));

    // Numbered in the order the browser listed them, with the trailer, and listed after the
    // first row; the note stays behind.
    const bool blueFirst = readAll(run.media("000041.jpg")) == readAll(source.filePath("blau.jpg"));
    const QString first = blueFirst ? "blau.jpg" : "gelb.jpg";
    const QString second = blueFirst ? "gelb.jpg" : "blau.jpg";
    QCOMPARE(readAll(run.media("000041.jpg")), readAll(source.filePath(first)));
    QCOMPARE(readAll(run.media("000042.jpg")), readAll(source.filePath(second)));
    const QList<Picture> colours{{"rot.jpg", Qt::red}, {"blau.jpg", Qt::blue}, {"gelb.jpg", Qt::yellow}};
    QCOMPARE(listedRows(window, colours, 3), (QStringList{"rot.jpg", first, second}));
    QVERIFY(clickAt(window.topLeft() + kClose));
    QVERIFY(run.process.waitForFinished(10000));
    QCOMPARE(QDir(run.media({})).entryList(QDir::Files, QDir::Name),
             (QStringList{"000041.jpg", "000042.jpg", "rot.jpg"}));
}

void TestJourneys::exportOneFile()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(writePicture(run.media("rot.jpg"), Qt::red, {60, 60}, "Köln"));
    QVERIFY(writePicture(run.media("blau.jpg"), Qt::blue, {60, 60}, "Bonn"));
    QTemporaryDir target;
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    const QStringList rows = listedRows(window, {{"rot.jpg", Qt::red}, {"blau.jpg", Qt::blue}}, 2);
    QCOMPARE(rows.size(), 2);
    const QString chosen = rows[1]; // the second row stays selected

    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Down", "Right", "Return"})); // "speichern unter"
    const QRect dialog = awaitWindow("Velmora - Speichern unter");
    QVERIFY(!dialog.isEmpty());
    QVERIFY(reachFolder(dialog, target.path()));
    QVERIFY(pressKeys({"Tab", "space"})); // "speichern"
    // While it copies, the dialog is titled after the file; it closes when the copy is in place.
    QVERIFY(awaitWindowGone("Velmora - Speichern unter"));
    QVERIFY(awaitWindowGone("Kopiere: " + chosen));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{chosen});
    QCOMPARE(readAll(target.filePath(chosen)), readAll(run.media(chosen)));
}

// "Ansicht" → "Symbole" over a red, a green and a blue picture: each cell shows its picture's
// colour in place of the kind icon, and the thumbnails land in the desktop's shared cache.
void TestJourneys::thumbnailsInSymbole()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    const QList<Picture> pictures{{"rot.jpg", Qt::red}, {"gruen.jpg", Qt::green}, {"blau.jpg", Qt::blue}};
    for (const Picture &p : pictures)
        QVERIFY(writePicture(run.media(p.name), p.colour, {400, 300}));
    const QStringList order = QDir(run.media({})).entryList(QDir::Files, QDir::Unsorted);
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    const QPoint at = window.topLeft();

    QVERIFY(chooseFromMenu(at + kFreeSurface, {"Down", "Down", "Down", "Down", "Right", "Return"}));
    // A cell of the grid is 96 pixels wide; its icon of 64 sits at the top, in the middle. The
    // selected first one is tinted with the highlight, so a colour is told by its strongest channel.
    const auto cellColours = [&] {
        QStringList seen;
        for (int cell = 0; cell < order.size(); ++cell) {
            const QColor c = colourAt(at + layout::kList.topLeft() + QPoint(cell * 96 + 48, 34));
            const auto strongest = [](int a, int b, int d) { return a > 150 && b < 110 && d < 110; };
            seen << (strongest(c.red(), c.green(), c.blue())   ? "rot.jpg"
                     : strongest(c.green(), c.red(), c.blue()) ? "gruen.jpg"
                     : strongest(c.blue(), c.red(), c.green()) ? "blau.jpg"
                                                               : "?");
        }
        return seen;
    };
    QTRY_COMPARE_WITH_TIMEOUT(cellColours(), order, 10000);
    const QDir normal(run.home.filePath(QStringLiteral("cache/thumbnails/normal")));
    QCOMPARE(normal.entryList(QStringList{QStringLiteral("*.png")}, QDir::Files).size(), 3);
}

// The export dialog opens large enough to find a folder; the second time it opens at the folder
// chosen the first time, so "speichern" alone puts the file beside the first.
void TestJourneys::exportAgainWhereTheFirstWent()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(writePicture(run.media("rot.jpg"), Qt::red, {60, 60}));
    QVERIFY(writePicture(run.media("blau.jpg"), Qt::blue, {60, 60}));
    QTemporaryDir target;
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    const QStringList rows = listedRows(window, {{"rot.jpg", Qt::red}, {"blau.jpg", Qt::blue}}, 2);
    QCOMPARE(rows.size(), 2); // the second row stays selected

    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Down", "Right", "Return"})); // "speichern unter"
    QRect dialog = awaitWindow("Velmora - Speichern unter");
    QVERIFY(dialog.width() >= 480 && dialog.height() >= 560);
    QVERIFY(reachFolder(dialog, target.path()));
    QVERIFY(pressKeys({"Tab", "space"})); // "speichern"
    QVERIFY(awaitWindowGone("Velmora - Speichern unter"));
    QTRY_COMPARE_WITH_TIMEOUT(QDir(target.path()).entryList(QDir::Files), QStringList{rows[1]}, 5000);

    QVERIFY(clickAt(window.topLeft() + kFirstRow));
    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Down", "Right", "Return"}));
    QVERIFY(!(dialog = awaitWindow("Velmora - Speichern unter")).isEmpty());
    QVERIFY(waitUntil([&] { return highlightedRow(dialog, dialog.width()) >= 0; }, 10000)); // the folder reached
    QVERIFY(pressKeys({"Tab", "space"}));
    QVERIFY(awaitWindowGone("Velmora - Speichern unter"));
    QTRY_COMPARE_WITH_TIMEOUT(QDir(target.path()).entryList(QDir::Files, QDir::Name), sorted(rows), 5000);
    QCOMPARE(readAll(target.filePath(rows[0])), readAll(run.media(rows[0])));
}

// A phone photo stored on its side, with the moment it was taken in its EXIF block: "Bilder" →
// "Aufnahmedatum übernehmen" writes that day into the trailer, "aufrecht stellen" turns the
// stored pixels, and "rechts drehen" turns what the preview shows; the place typed before stays.
void TestJourneys::cameraDateAndTurns()
{
    if (QStandardPaths::findExecutable("exiv2").isEmpty())
        QSKIP("exiv2 is not installed");
    ProgramRun run;
    QVERIFY(run.layOut());
    const QString photo = run.media("telefon.jpg");
    QVERIFY(writeSidewaysJpeg(photo, {64, 48})); // top red, bottom blue; upright blue left, red right
    QCOMPARE(QProcess::execute("exiv2", {"-M", "set Exif.Photo.DateTimeOriginal Ascii 2024:07:14 09:30:00", photo}), 0);
    zv::PictureInfo info;
    info.ort = "Köln";
    QVERIFY(!zv::WritePictureInfo(photo, info));
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    QVERIFY(clickAt(window.topLeft() + kFirstRow));

    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Down", "Down", "Right", "Return"}));
    QVERIFY(answerBox("Aufnahmedatum übernehmen", {"Return"}));
    QCOMPARE(zv::ReadPictureInfo(photo).info.datum, "14.07.2024");
    QCOMPARE(zv::ReadPictureInfo(photo).info.ort.trimmed(), "Köln");
    const QByteArray trailer = readAll(photo).right(zv::PictureInfo::TrailerSize);

    // "aufrecht stellen": the stored pixels now stand as the preview showed them.
    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface, {"Down", "Down", "Down", "Right", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(
        readAll(photo).right(zv::PictureInfo::TrailerSize) == trailer && readAll(photo).size() != 0 &&
            [&] {
                QImageReader stored(photo);
                stored.setAutoTransform(false);
                return looksUpright(stored.read());
            }(),
        5000);

    // "rechts drehen": blue, on the left, turns to the top in the preview.
    const QPoint middle = window.topLeft() + kPreview;
    const int quarter = layout::kPreview.height() / 8;
    QVERIFY(chooseFromMenu(window.topLeft() + kFreeSurface,
                           {"Down", "Down", "Down", "Right", "Down", "Down", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(near(colourAt(middle - QPoint(0, quarter)), Qt::blue)
                                 && near(colourAt(middle + QPoint(0, quarter)), Qt::red),
                             5000);
    QImageReader stored(photo);
    stored.setAutoTransform(false);
    QCOMPARE(stored.size(), QSize(64, 48));
    QCOMPARE(readAll(photo).right(zv::PictureInfo::TrailerSize), trailer);
}

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
