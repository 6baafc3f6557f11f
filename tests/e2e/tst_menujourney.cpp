// A user works the right-click menu of the real program: the list view, the blue skin, which is
// still there after a restart, a new album, an import and an export.
#include "store/PictureTrailer.h"
#include "support/ProgramRun.h"
#include "support/XDo.h"

#include <QGuiApplication>
#include <QImage>
#include <QScopeGuard>
#include <QScreen>
#include <QStorageInfo>
#include <QTest>

#include <signal.h>

using namespace zv::test;

namespace {

QImage screen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// How far the title band of the window at origin is from a skin's background, per channel.
double bandDifference(const QPoint &origin, const QImage &background)
{
    const QImage shot = screen();
    double sum = 0;
    int n = 0;
    for (int y = 4; y < 40; y += 3)
        for (int x = 400; x < 690; x += 7) { // right of where the chooser opens
            const QColor a = shot.pixelColor(origin + QPoint(x, y));
            const QColor b = background.pixelColor(x, y);
            sum += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
            n += 3;
        }
    return sum / n;
}

const QString kMain = QStringLiteral("Zidoverev");
const QString kBrowser = QStringLiteral("Velmora - Dateien einfügen");
const QString kExport = QStringLiteral("Velmora - Speichern unter");
const QPoint kFreeSurface(300, 400);
const QPoint kPreview(196 + 91, 60 + 91);
const QPoint kFirstRow(120, 440 + 30);
constexpr int kTypeAhead = 600; // longer than a view's type-ahead interval, so a new search starts

// Starts the program and waits for its main window; its geometry, or an empty rect.
QRect startProgram(ProgramRun &run)
{
    return run.start() ? awaitMainWindow() : QRect();
}

// A picture of one colour, with a trailer when a place is given.
bool picture(const QString &path, QColor colour, const QString &ort = {})
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, "JPEG"))
        return false;
    zv::PictureInfo info;
    info.ort = ort;
    return ort.isEmpty() || !zv::WritePictureInfo(path, info);
}

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Opens the popup menu on the window's free surface and walks it with keys.
bool chooseFromMenu(const QRect &window, const QStringList &keys)
{
    const QPoint at = window.topLeft() + kFreeSurface;
    const auto firstItem = [&] { // where the menu opens
        return QGuiApplication::primaryScreen()->grabWindow(0, at.x() + 10, at.y() + 4, 60, 12).toImage();
    };
    const QImage before = firstItem();
    if (!rightClickAt(at))
        return false;
    const QDeadlineTimer deadline(3000);
    while (firstItem() == before) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    QTest::qWait(100);
    return pressKeys(keys);
}

// Waits for a message or input box that is not one of the windows there before, clicks its
// margin so it has the keyboard (without a window manager it may come up without), and presses
// the keys.
bool answerBox(const QString &title, const QStringList &keys, const QStringList &before = {})
{
    const QDeadlineTimer deadline(10000);
    QString box;
    while (box.isEmpty() && !deadline.hasExpired()) {
        for (const QString &id : windowIds(title))
            if (!before.contains(id))
                box = id;
        QTest::qWait(50);
    }
    return !box.isEmpty() && clickInWindow(box, QPoint(3, 3)) && awaitFocus(box) && pressKeys(keys);
}

// The colour the main window's preview shows after clicking a list row and stepping down.
QList<QColor> previewsOfRows(const QRect &window, int rows)
{
    QList<QColor> seen;
    clickAt(window.topLeft() + kFirstRow);
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            pressKeys({QStringLiteral("Down")});
        QTest::qWait(300);
        seen << screen().pixelColor(window.topLeft() + kPreview);
    }
    return seen;
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

// In a folder tree at the window's top left: into the tree, to the folder's drive, then down its
// path with the arrow keys and typed names, as a person without the mouse would.
bool reachFolder(const QRect &window, const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    const QStorageInfo volume(path);
    const QString drive = volume.name().isEmpty() ? volume.rootPath() : volume.name();
    if (!clickAt(window.topLeft() + QPoint(40, 10))) // the first drive
        return false;
    QTest::qWait(kTypeAhead);
    if (!pressKeys({QStringLiteral("End")}) || !typeText(drive)) // the search wraps to the top
        return false;
    for (const QString &step : QDir(volume.rootPath()).relativeFilePath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QTest::qWait(kTypeAhead); // the subfolders are read one level ahead, on a thread
        if (!pressKeys({QStringLiteral("Right")}))
            return false;
        QTest::qWait(kTypeAhead);
        if (!typeText(step))
            return false;
    }
    return true;
}

// Clicks the highlighted row of the tree at the window's left edge, so the browser lists it.
bool clickSelectedNode(const QRect &window, int treeWidth)
{
    const QImage shot = screen().copy(QRect(window.topLeft(), QSize(treeWidth, window.height() - 40)));
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
    return top >= 0 && clickAt(window.topLeft() + QPoint(treeWidth / 2, (top + bottom) / 2));
}

} // namespace

class TestMenuJourney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listViewAndBlueSkin();
    void newAlbumFromAllFiles();
    void importTwoFilesNumbered();
    void exportOneFile();
};

void TestMenuJourney::listViewAndBlueSkin()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    for (const char *name : {"a.jpg", "b.jpg"}) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(run.media(QString::fromLatin1(name))));
    }
    const QImage blue(run.album.filePath(QStringLiteral("Skins/Blau/Hintergrund.jpg")));
    QVERIFY(!blue.isNull());
    QVERIFY(run.start());
    QRect window = awaitMainWindow();
    QVERIFY(!window.isEmpty());
    const QPoint freeSurface = window.topLeft() + QPoint(300, 400);

    // "Ansicht" → "Liste": the list loses its column headers.
    const QPoint header = window.topLeft() + QPoint(31 + 150, 440 + 8);
    const QColor headerBefore = screen().pixelColor(header);
    QVERIFY(xdotool({"mousemove", QString::number(freeSurface.x()), QString::number(freeSurface.y()), "click", "3"}));
    QTest::qWait(400);
    QVERIFY(pressKeys({"Down", "Down", "Down", "Right", "Down", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(screen().pixelColor(header) != headerBefore, 3000);

    // "Skin wählen" → Blau → "übernehmen".
    QVERIFY(xdotool({"mousemove", QString::number(freeSurface.x()), QString::number(freeSurface.y()), "click", "3"}));
    QTest::qWait(400);
    QVERIFY(pressKeys({"Down", "Down", "Down", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(!windowNamed(QStringLiteral("Skinauswahl")).isEmpty(), 5000);
    QTest::qWait(300);
    QVERIFY(pressKeys({"Down", "Up", "Tab", "space"})); // "Blau" comes first
    QTest::qWait(1000);
    screen().save(QStringLiteral("menujourney-skin.png")); // left for a person to look at
    QTRY_VERIFY_WITH_TIMEOUT(bandDifference(window.topLeft(), blue) < 14, 5000);

    // A new start opens in blue.
    run.process.kill();
    run.process.waitForFinished();
    QVERIFY(run.start());
    QVERIFY(!(window = awaitMainWindow()).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(bandDifference(window.topLeft(), blue) < 14, 5000);
}

void TestMenuJourney::newAlbumFromAllFiles()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(picture(run.media(QStringLiteral("rot.jpg")), Qt::red, QStringLiteral("Köln")));
    QVERIFY(picture(run.media(QStringLiteral("blau.jpg")), Qt::blue));
    QTemporaryDir parent;
    const QString target = parent.filePath(QStringLiteral("Urlaub 2004"));
    const QRect window = startProgram(run);
    QVERIFY(!window.isEmpty());

    QVERIFY(chooseFromMenu(window, {"Down", "Return"})); // "alles markieren"
    QVERIFY(chooseFromMenu(window, {"Down", "Down", "Right", "Down", "Down", "Down", "Return"})); // "neues Album"
    QVERIFY(answerBox(QStringLiteral("neues Album"), {"ctrl+a"}));
    QVERIFY(typeText(target));
    QVERIFY(pressKeys({"Return"}));

    // The new album's own program starts and shows its window.
    const QString program = target + QStringLiteral("/zidoverev");
    QList<qint64> started;
    const auto stop = qScopeGuard([&] {
        for (const qint64 pid : processesOf(program))
            ::kill(pid_t(pid), SIGKILL);
    });
    QTRY_VERIFY_WITH_TIMEOUT(!(started = processesOf(program)).isEmpty(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(hasWindow(started.first(), kMain), 15000);

    QVERIFY(QFileInfo(program).isExecutable());
    QCOMPARE(bytes(program), bytes(run.album.filePath(QStringLiteral("zidoverev"))));
    QCOMPARE(QDir(target + QStringLiteral("/Bilder")).entryList(QDir::Files, QDir::Name),
             (QStringList{"blau.jpg", "rot.jpg"}));
    for (const char *name : {"blau.jpg", "rot.jpg"}) // the trailer travels with the file
        QCOMPARE(bytes(target + QStringLiteral("/Bilder/") + QLatin1String(name)), bytes(run.media(QLatin1String(name))));
    for (const char *folder : {"Skins", "Hilfe"}) {
        QDirIterator it(run.album.filePath(QLatin1String(folder)), QDir::Files, QDirIterator::Subdirectories);
        int files = 0;
        for (; it.hasNext(); ++files) {
            const QString source = it.next();
            QCOMPARE(bytes(target + source.mid(run.album.path().size())), bytes(source));
        }
        QVERIFY(files > 0);
    }
}

void TestMenuJourney::importTwoFilesNumbered()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(picture(run.media(QStringLiteral("rot.jpg")), Qt::red));
    QTemporaryDir source;
    QVERIFY(picture(source.filePath(QStringLiteral("blau.jpg")), Qt::blue, QStringLiteral("Bonn")));
    QVERIFY(picture(source.filePath(QStringLiteral("gelb.jpg")), Qt::yellow));
    QFile note(source.filePath(QStringLiteral("notiz.txt"))); // not a media file: not listed
    QVERIFY(note.open(QIODevice::WriteOnly) && note.write("x") == 1);
    note.close();
    const QRect window = startProgram(run);
    QVERIFY(!window.isEmpty());

    QVERIFY(chooseFromMenu(window, {"Down", "Down", "Right", "Down", "Return"})); // "hinzufügen"
    const QRect browser = awaitWindow(kBrowser);
    QVERIFY(!browser.isEmpty());
    QVERIFY(reachFolder(browser, source.path()));
    QVERIFY(clickSelectedNode(browser, 180)); // the tree's width
    // All files listed, numbering on from 41, "hinzufügen".
    QVERIFY(pressKeys({"Tab", "ctrl+a", "Tab", "space", "Tab", "ctrl+a"}));
    QVERIFY(typeText(QStringLiteral("41")));
    const QStringList untitled = windowIds({});
    QVERIFY(pressKeys({"Tab", "space"}));
    QVERIFY(answerBox({}, {"Return"}, untitled)); // "Aktion ausgeführt.", a box without a title
    QVERIFY(clickAt(browser.topLeft() + QPoint(browser.width() - 48, browser.height() - 19))); // "fertig"
    QVERIFY(awaitWindowGone(kBrowser));

    // Numbered in the order the browser listed them, with the trailer; the note stays behind.
    const QByteArray blue = bytes(source.filePath(QStringLiteral("blau.jpg")));
    const QByteArray yellow = bytes(source.filePath(QStringLiteral("gelb.jpg")));
    const QByteArray first = bytes(run.media(QStringLiteral("000041.jpg")));
    QVERIFY(first == blue || first == yellow);
    QCOMPARE(bytes(run.media(QStringLiteral("000042.jpg"))), first == blue ? yellow : blue);
    // The main list has them as its second and third rows.
    const QList<QColor> rows = previewsOfRows(window, 3);
    QVERIFY(near(rows[0], Qt::red));
    QVERIFY(near(rows[1], first == blue ? Qt::blue : Qt::yellow));
    QVERIFY(near(rows[2], first == blue ? Qt::yellow : Qt::blue));
    QVERIFY(clickAt(window.topLeft() + QPoint(776, 23))); // cmdX
    QVERIFY(run.process.waitForFinished(10000));
    QCOMPARE(QDir(run.album.filePath(QStringLiteral("Bilder"))).entryList(QDir::Files, QDir::Name),
             (QStringList{"000041.jpg", "000042.jpg", "rot.jpg"}));
}

void TestMenuJourney::exportOneFile()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    QVERIFY(picture(run.media(QStringLiteral("rot.jpg")), Qt::red, QStringLiteral("Köln")));
    QVERIFY(picture(run.media(QStringLiteral("blau.jpg")), Qt::blue, QStringLiteral("Bonn")));
    QTemporaryDir target;
    const QRect window = startProgram(run);
    QVERIFY(!window.isEmpty());
    const QList<QColor> rows = previewsOfRows(window, 2); // the second row stays selected
    const bool blueChosen = near(rows[1], Qt::blue);
    QVERIFY(near(rows[0], blueChosen ? Qt::red : Qt::blue));
    const QString chosen = blueChosen ? QStringLiteral("blau.jpg") : QStringLiteral("rot.jpg");

    QVERIFY(chooseFromMenu(window, {"Down", "Down", "Right", "Return"})); // "speichern unter"
    const QRect dialog = awaitWindow(kExport);
    QVERIFY(!dialog.isEmpty());
    QVERIFY(reachFolder(dialog, target.path()));
    QVERIFY(pressKeys({"Tab", "space"})); // "speichern"
    // While it copies, the dialog is titled after the file; it closes when the copy is in place.
    QVERIFY(awaitWindowGone(kExport));
    QVERIFY(awaitWindowGone(QStringLiteral("Kopiere: ") + chosen));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{chosen});
    QCOMPARE(bytes(target.filePath(chosen)), bytes(run.media(chosen)));
}

QTEST_MAIN(TestMenuJourney)
#include "tst_menujourney.moc"
