#include "AlbumWalk.h"

#include "album/modMenu.h"
#include "album/PreviewBox.h"
#include "model/MediaKind.h"
#include "operations/CameraDateRun.h"
#include "operations/FolderFollower.h"
#include "operations/ImportRun.h"
#include "operations/ImportSources.h"
#include "operations/TurnRun.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "store/PictureTrailer.h"
#include "support/AlbumWindow.h"
#include "support/CoreChecks.h"
#include "support/TransferFakes.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>

namespace zv::test::walk {
namespace {

namespace fs = std::filesystem;

constexpr int kBoxes = 5;
// Box order of the model: Datum, Ort, Namen, Anlass, Bemerkungen.
const char *const kBoxNames[kBoxes] = {"txtDatum", "txtOrt", "txtNamen", "txtStichWorte", "txtBemerkungen"};
constexpr int kBoxLimits[kBoxes] = {PictureInfo::DatumWidth, PictureInfo::OrtWidth, PictureInfo::NamenWidth,
                                    PictureInfo::AnlassWidth, PictureInfo::BemerkungenWidth};
using Boxes = std::array<QString, kBoxes>;

Boxes boxesOf(const PictureInfo &info)
{
    const PictureInfo t = trimmed(info);
    return {t.datum, t.ort, t.namen, t.anlass, t.bemerkungen};
}

struct FileState {
    QByteArray bytes;
    bool readOnly = false;
    bool operator==(const FileState &) const = default;
};
using Files = std::map<QByteArray, FileState>; // by the name's own bytes

PictureInfo trailerOf(const QByteArray &bytes)
{
    if (bytes.size() < PictureInfo::TrailerSize)
        return {};
    const char *tail = bytes.constData() + bytes.size() - PictureInfo::TrailerSize;
    return trailer::hasMarker(tail) ? trailer::decodeTrimmed(tail) : PictureInfo{};
}

qsizetype mediaLength(const QByteArray &bytes)
{
    if (bytes.size() >= PictureInfo::TrailerSize
        && trailer::hasMarker(bytes.constData() + bytes.size() - PictureInfo::TrailerSize))
        return bytes.size() - PictureInfo::TrailerSize;
    return bytes.size();
}

std::optional<QSize> pictureSize(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    return image.isNull() ? std::nullopt : std::optional<QSize>(image.size());
}

// The ten-character date the album stores for what was typed, by its length alone.
QString storedDate(const QString &typed)
{
    switch (typed.size()) {
    case 4:
        return QStringLiteral("xx.xx.") + typed;
    case 6:
        return QStringLiteral("xx.0") + typed;
    case 7:
        return QStringLiteral("xx.") + typed;
    case 9:
        return QStringLiteral("0") + typed;
    case 10:
        return typed;
    default:
        return QStringLiteral("xx.xx.xxxx");
    }
}

QString shortName(const QByteArray &native)
{
    return displayFileName(decodeFileName(native));
}

QByteArray jpeg(QSize size, int hue)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(hue % 360, 255, 230));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

const QStringList kOrte = {"Köln", "Bonn", "Ulm", "Rom am Meer"};
const QStringList kNamen = {"Anna Bert", "Oma", "Opa, Anna", "Jean-Luc"};
const QStringList kAnlaesse = {"Urlaub", "Geburtstag", "Hochzeit (Fest)"};
const QStringList kDaten = {"01.05.1990", "xx.05.1990", "24.12.2002", "xx.xx.2003"};

PictureInfo infoNumber(int i)
{
    PictureInfo info;
    info.ort = kOrte[i % kOrte.size()];
    info.namen = kNamen[(i / 2) % kNamen.size()];
    info.anlass = i % 4 == 0 ? QString() : kAnlaesse[i % kAnlaesse.size()];
    info.datum = kDaten[(i / 3) % kDaten.size()];
    info.bemerkungen = i % 3 == 0 ? QStringLiteral("schön, Dom") : QString();
    return info;
}

// A camera's EXIF block with only the moment it took the picture, right after the start marker:
// IFD0 points to the EXIF IFD, which holds DateTimeOriginal.
QByteArray withCameraMoment(const QByteArray &jpeg, const QByteArray &moment)
{
    QByteArray tiff("MM\x00\x2A\x00\x00\x00\x08", 8);
    tiff += QByteArray("\x00\x01\x87\x69\x00\x04\x00\x00\x00\x01\x00\x00\x00\x1A", 14); // ExifIFD at 26
    tiff += QByteArray(4, '\0');
    tiff += QByteArray("\x00\x01\x90\x03\x00\x02\x00\x00\x00\x14\x00\x00\x00\x2C", 14); // 20 characters at 44
    tiff += QByteArray(4, '\0');
    tiff += moment.leftJustified(19, ' ', true) + '\0';
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    app1 += char((payload.size() + 2) >> 8);
    app1 += char((payload.size() + 2) & 0xFF);
    return jpeg.left(2) + app1 + payload + jpeg.mid(2);
}

// The day a camera's block names, as the album stores it; empty without one.
QString cameraDay(const QByteArray &bytes)
{
    static const QRegularExpression moment(QStringLiteral("(\\d{4}):(\\d{2}):(\\d{2}) \\d{2}:\\d{2}:\\d{2}"));
    const QRegularExpressionMatch m = moment.match(QString::fromLatin1(bytes.left(2048)));
    return m.hasMatch() ? m.captured(3) + QLatin1Char('.') + m.captured(2) + QLatin1Char('.') + m.captured(1)
                        : QString();
}

// The same bytes for the same name, in the album and in every import source. Every fourth
// picture comes from a camera: whole blocks, so it can be turned, and the moment it was taken.
QByteArray contentFor(const QByteArray &name, int number)
{
    const QString lower = QString::fromLatin1(name).toLower();
    QByteArray bytes;
    if (lower.endsWith(QLatin1String(".jpg")) && number % 4 == 1)
        bytes = withCameraMoment(jpeg(QSize(64, 48 + 16 * (number % 3)), number * 37),
                                 QStringLiteral("2019:08:%1 10:30:00").arg(10 + number % 18).toLatin1());
    else if (lower.endsWith(QLatin1String(".jpg")))
        bytes = jpeg(number % 2 ? QSize(60, 90 + 7 * number) : QSize(90 + 7 * number, 60), number * 37);
    else if (lower.endsWith(QLatin1String(".avi")) || lower.endsWith(QLatin1String(".mpg")))
        bytes = mediaBytes(300 + 17 * number);
    else
        bytes = "Notiz " + name;
    if (number % 3 != 0) // most files carry information, a third do not
        bytes += trailer::encode(infoNumber(number));
    return bytes;
}

struct Seeded {
    QByteArray name;
    bool readOnly = false;
    QByteArray bytes; // empty: from contentFor
};

// About thirty files of all three kinds; case twins, names that are not UTF-8, a picture that
// cannot be decoded, an empty file, some read-only.
std::vector<Seeded> albumFiles()
{
    std::vector<Seeded> files;
    for (int i = 0; i < 12; ++i)
        files.push_back({QByteArray("Bild") + QByteArray::number(i + 10) + ".jpg", i % 5 == 2, {}});
    files.push_back({"A.jpg", false, {}});
    files.push_back({"a.jpg", true, {}});
    files.push_back({"Oma und Opa.JPG", false, {}});
    files.push_back({"M\xFC"
                     "nchen.jpg",
                     false,
                     {}}); // Latin-1, as old media carry them
    files.push_back({"Stra\xDF"
                     "e.txt",
                     false,
                     {}});
    files.push_back({"\xE9t\xE9.avi", false, {}});
    files.push_back({"Film1.avi", false, {}});
    files.push_back({"Film2.mpg", true, {}});
    files.push_back({"Clip3.AVI", false, {}});
    files.push_back({"clip4.mpg", false, {}});
    files.push_back({"notiz.txt", false, {}});
    files.push_back({"Brief.txt", true, {}});
    files.push_back({"liste.TXT", false, {}});
    files.push_back({"leer.txt", false, QByteArray()});
    files.push_back({"kaputt.jpg", false, QByteArray("\xFF\xD8 kaputt") + trailer::encode(infoNumber(4))});
    files.push_back({"Urlaub.jpg", false, {}});
    files.push_back({"zebra.jpg", false, {}});
    files.push_back({"Xylophon.mpg", false, {}});
    return files;
}

class RandomDialogs : public Dialogs {
public:
    QStringList shown; // "title|text|answer"
    quint32 bits = 0;
    int asked = 0;
    std::function<void()> beforeAnswer;

    MessageAnswer message(const QString &title, const QString &text, MessageIcon, MessageButtons buttons) override
    {
        if (beforeAnswer)
            beforeAnswer();
        MessageAnswer answer = MessageAnswer::Ok;
        const bool yes = (bits >> (asked % 32)) & 1u;
        switch (buttons) {
        case MessageButtons::Ok:
            answer = MessageAnswer::Ok;
            break;
        case MessageButtons::OkCancel:
            answer = yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
            ++asked;
            break;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            answer = yes ? MessageAnswer::Yes : MessageAnswer::No;
            ++asked;
            break;
        case MessageButtons::RetryCancel:
            answer = MessageAnswer::Cancel;
            ++asked;
            break; // retrying could loop
        }
        static const char *const names[] = {"Ok", "Cancel", "Yes", "No", "Retry"};
        shown << title + QLatin1Char('|') + text + QLatin1Char('|') + QLatin1String(names[int(answer)]);
        return answer;
    }
    std::optional<QString> inputAnswer; // what the user types into an input box, or Cancel
    std::optional<QString> input(const QString &title, const QString &prompt, const QString &) override
    {
        shown << title + QLatin1Char('|') + prompt + QLatin1Char('|') + inputAnswer.value_or(QStringLiteral("Cancel"));
        return inputAnswer;
    }
};

// Key by key, as typed; QTest::keyClicks takes ASCII only.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

struct Failure {
    QString invariant;
    QString message;
};

class World;

struct Action {
    const char *name;
    int weight;
    std::optional<Step> (*draw)(std::mt19937 &, World &);
    void (*perform)(World &, const Step &);
};

const std::vector<Action> &actions();

class World : public WindowFixture {
public:
    World();
    ~World()
    {
        m_window.reset();
        // Read-only files would outlive the temporary folder.
        for (const auto &[name, file] : readFiles())
            fs::permissions((nativePath(media(QString())) + name).toStdString(), fs::perms::owner_write,
                            fs::perm_options::add);
    }
    bool open();

    // Performs the step and checks every promise; the first broken one, or nothing.
    std::optional<Failure> perform(const Step &step);

    int rows() const { return list.rowCount(); }
    int fileCount() const { return int(m_expectedFiles.size()); }
    bool searchMode() const { return m_searchMode; }
    QString rowName(int row) const { return list.row(row).name; }
    int currentRow() const { return lstBilder->currentIndex().isValid() ? lstBilder->currentIndex().row() : -1; }
    int serial = 0;

    // Step performers
    void click(const Step &s, Qt::KeyboardModifiers modifiers);
    void key(const Step &s);
    void typeAhead(const Step &s);
    void rightClick(const Step &s);
    void header(const Step &s);
    void search(const Step &s);
    void back(const Step &s);
    void view(const Step &s);
    void rename(const Step &s, bool commit);
    void type(const Step &s);
    void save(const Step &s);
    void remove(const Step &s);
    void import(const Step &s);
    void dropFiles(const Step &s);
    void outside(const Step &s);
    void ask(const Step &s);
    void newAlbum(const Step &s);
    // stop: the run is stopped at once, as "… abbrechen" in the menu does.
    void cameraDates(const Step &s, bool stop);
    void turn(const Step &s, bool stop);

private:
    QAbstractItemView *shownView() const
    {
        return m_viewMode == ViewDetails ? static_cast<QAbstractItemView *>(lstBilder) : lstSymbole;
    }
    QString pathOf(const QString &name) const { return AlbumPaths{path()}.mediaFile(name); }
    QByteArray nativeNameOf(const QString &path) const { return nativePath(path.section(QLatin1Char('/'), -1)); }
    std::vector<int> selectedRows() const;
    void clickAt(int row, int column, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void settle() const;
    Files readFiles(const QString &folder = {}) const; // the media folder's when none is given
    bool picSucheShown() const;
    void fail(const QString &invariant, const QString &message)
    {
        if (!m_failure)
            m_failure = Failure{invariant, message};
    }

    // Model
    void shows(const QString &path);
    void showsIfSelected(int row);
    void clearShown();
    Boxes actualBoxes() const;
    QLineEdit *editorIn(const QAbstractItemView *view) const;
    void checkEditors();
    void checkAll();
    void checkShown();
    void checkFiles(const Files &now);
    void checkAlbumAndList(const Files &now);

    RandomDialogs m_dialogs;
    std::unique_ptr<frmDaten> m_window;
    QTreeView *lstBilder = nullptr;
    QListView *lstSymbole = nullptr;
    PreviewBox *m_preview = nullptr;
    QLabel *m_image = nullptr;
    std::array<QWidget *, kBoxes> m_boxes{};

    QTemporaryDir m_sources;
    FakeDrives m_drives;
    ScriptedQuestion m_question;
    std::unique_ptr<SettingsStore> m_settings;
    int m_drops = 0; // drops the window handed on
    QStringList m_requests; // what the window asked the program for: "export|names", "import", …
    int m_pictureRuns = 0; // camera dates and turns the window asked for
    std::unique_ptr<CameraDateRun> m_dateRun;
    std::unique_ptr<TurnRun> m_turnRun;

    Files m_expectedFiles;
    QString m_currentFile;
    Boxes m_expectedBoxes;
    // What the boxes were last given (not what was typed since): Speichern keeps what another
    // program wrote since into the fields the user left alone.
    Boxes m_shownBoxes;
    std::unique_ptr<FolderFollower> m_follower;
    bool m_searchMode = false;
    bool m_searchWords = false; // the boxes hold search words: from Suchen until a file is shown or Zurück
    bool m_listFiltered = false;
    int m_viewMode = ViewDetails;
    // The preview: shown or not, and then the natural size of the picture it shows.
    bool m_previewShown = false;
    QSize m_previewSize;
    std::optional<QSize> m_lastGood; // what an undecodable picture falls back to
    bool m_previewCleared = false; // the shown file was deleted since the last picture
    std::map<QByteArray, MediaKind> m_kinds;
    std::optional<Failure> m_failure;
};

World::World()
    : m_settings(makeFileSettings(m_sources.filePath(QStringLiteral("settings.ini"))))
{
    m_drives.drive = DriveInfo{
        QStringLiteral("/"), QStringLiteral("/"), DriveType::Fixed, false, qint64(1) << 40, qint64(1) << 41, true};
    const QByteArray folder = nativePath(media(QString()));
    // The print-ordering program "bei Dorido bestellen" starts.
    QDir(path()).mkdir(QStringLiteral("Dorido"));
    writeNative(nativePath(path() + QStringLiteral("/Dorido/ips")), "#!/bin/sh\n");
    fs::permissions(nativePath(path() + QStringLiteral("/Dorido/ips")).toStdString(), fs::perms::owner_all);
    int number = 0;
    for (const Seeded &f : albumFiles()) {
        const QByteArray bytes = f.bytes.isNull() && f.name != "leer.txt" ? contentFor(f.name, number) : f.bytes;
        writeNative(folder + f.name, bytes);
        if (f.readOnly)
            fs::permissions((folder + f.name).toStdString(),
                            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        m_kinds[f.name] = mediaKindForFile(decodeFileName(f.name));
        ++number;
    }
}

bool World::open()
{
    list.follow(album);
    album = loadAlbum(media(QString()));
    // A new album gets a small program file rather than a copy of the walk's own.
    const QString program = m_sources.filePath(QStringLiteral("zidoverev"));
    writeNative(nativePath(program), "#!/bin/sh\n");
    m_window = std::make_unique<frmDaten>(
        MainWindowServices{AlbumPaths{path()}, album, list, state, shell, m_dialogs, {}, nullptr, nullptr, program},
        SkinFolder(path(), QStringLiteral("Main")));
    QObject::connect(m_window.get(), &frmDaten::exportRequested,
                     [this](const QStringList &names) { m_requests << QStringLiteral("export|") + names.join('/'); });
    QObject::connect(m_window.get(), &frmDaten::importRequested, [this] { m_requests << QStringLiteral("import"); });
    QObject::connect(m_window.get(), &frmDaten::skinChooserRequested, [this] { m_requests << QStringLiteral("skin"); });
    QObject::connect(m_window.get(), &frmDaten::slideShowRequested, [this] { m_requests << QStringLiteral("dia"); });
    m_window->setPlayer(nullptr, &player);
    m_window->FillList();
    // As the program imports a drop, with the walk's answers to the overwrite question.
    QObject::connect(m_window.get(), &frmDaten::filesDropped, [this](const QList<QUrl> &urls) {
        ++m_drops;
        const DropPlan plan = planDroppedImport(urls, AlbumPaths{path()});
        if (plan.sources.isEmpty())
            return;
        ImportRun run({AlbumPaths{path()}, album, &list, m_drives, *m_settings, m_question}, plan.sources, {});
        const auto report = [this](const QString &title, const QString &text) {
            fail(QStringLiteral("(walk)"), QStringLiteral("the drop's import failed: %1|%2").arg(title, text));
        };
        if (const auto refused = run.begin())
            return report(refused->title, refused->text);
        runNow(run, report);
        run.end();
    });
    // The "Bilder" commands in the background, wired as the program wires them; a step waits
    // for its run to end.
    m_dateRun = std::make_unique<CameraDateRun>(AlbumPaths{path()}, album);
    QObject::connect(m_window.get(), &frmDaten::cameraDatesRequested, [this](const QStringList &names) {
        ++m_pictureRuns;
        m_window->setPicturesRunning(PictureWork::CameraDates);
        m_dateRun->start(names);
    });
    QObject::connect(m_dateRun.get(), &CameraDateRun::stored, m_window.get(), &frmDaten::takeStoredInformation);
    QObject::connect(m_window.get(), &frmDaten::cameraDatesStopRequested, m_dateRun.get(), &PictureRun::cancel);
    m_turnRun = std::make_unique<TurnRun>(AlbumPaths{path()}, album);
    QObject::connect(m_window.get(), &frmDaten::turnsRequested,
                     [this](const QStringList &names, Turn turn, const QStringList &readOnlyAgreed) {
                         ++m_pictureRuns;
                         m_window->setPicturesRunning(PictureWork::Turns);
                         m_turnRun->start(names, turn, readOnlyAgreed);
                     });
    QObject::connect(m_turnRun.get(), &TurnRun::turned, m_window.get(), &frmDaten::showTurnedFile);
    QObject::connect(m_window.get(), &frmDaten::turnsStopRequested, m_turnRun.get(), &PictureRun::cancel);
    for (PictureRun *run : {static_cast<PictureRun *>(m_dateRun.get()), static_cast<PictureRun *>(m_turnRun.get())})
        QObject::connect(run, &PictureRun::finished, m_window.get(),
                         [this] { m_window->setPicturesRunning(PictureWork::None); });
    lstBilder = m_window->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    lstSymbole = m_window->findChild<QListView *>(QStringLiteral("lstSymbole"));
    m_preview = m_window->previewBox();
    m_image = m_preview ? m_preview->findChild<QLabel *>(QStringLiteral("imgvorschau")) : nullptr;
    for (int i = 0; i < kBoxes; ++i)
        m_boxes[i] = m_window->findChild<QWidget *>(QLatin1String(kBoxNames[i]));
    if (!lstBilder || !lstSymbole || !m_image || std::count(m_boxes.begin(), m_boxes.end(), nullptr))
        return false;
    m_window->showMainWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        return false;
    // As the program does: the album follows its folder while others write it.
    m_follower = std::make_unique<FolderFollower>(AlbumContext{AlbumPaths{path()}, album, state, nullptr});
    if (m_follower->start() != 0)
        return false;
    settle();
    m_expectedFiles = readFiles();
    // The first activation shows a file; from here on the model knows what it must be.
    if (!state.CurrentFile.isEmpty())
        shows(state.CurrentFile);
    checkAll();
    return true;
}

void World::settle() const
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Files World::readFiles(const QString &folder) const
{
    Files files;
    std::error_code error;
    const QString from = folder.isEmpty() ? media(QString()) : folder;
    for (const fs::directory_entry &entry : fs::directory_iterator(nativePath(from).toStdString(), error)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const bool readOnly = (entry.status().permissions() & fs::perms::owner_write) == fs::perms::none;
        files[QByteArray::fromStdString(entry.path().filename().native())] = {QByteArray::fromStdString(bytes),
                                                                              readOnly};
    }
    return files;
}

std::vector<int> World::selectedRows() const
{
    std::set<int> rows;
    for (const QItemSelectionRange &range : lstBilder->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.insert(r);
    return {rows.begin(), rows.end()};
}

Boxes World::actualBoxes() const
{
    Boxes boxes;
    for (int i = 0; i < kBoxes; ++i) {
        if (auto *line = qobject_cast<QLineEdit *>(m_boxes[i]))
            boxes[i] = line->text();
        else
            boxes[i] = static_cast<QPlainTextEdit *>(m_boxes[i])->toPlainText();
    }
    return boxes;
}

// ---- the model ----

void World::shows(const QString &path)
{
    m_currentFile = path;
    m_searchWords = false;
    const QByteArray name = nativeNameOf(path);
    const auto file = m_expectedFiles.find(name);
    m_expectedBoxes = boxesOf(file == m_expectedFiles.end() ? PictureInfo{} : trailerOf(file->second.bytes));
    m_shownBoxes = m_expectedBoxes;
    const MediaKind kind = m_kinds.count(name) ? m_kinds[name] : MediaKind::Unbekannt;
    if (kind == MediaKind::Video) {
        m_previewShown = false;
    } else if (kind == MediaKind::Bild) {
        const auto size = file == m_expectedFiles.end() ? std::nullopt : pictureSize(file->second.bytes);
        if (size) {
            m_lastGood = size;
            m_previewCleared = false;
        }
        m_previewShown = m_lastGood.has_value();
        if (m_lastGood)
            m_previewSize = *m_lastGood;
    }
}

void World::showsIfSelected(int row)
{
    if (row >= 0 && lstBilder->selectionModel()->isRowSelected(row)) {
        shows(pathOf(rowName(row)));
        return;
    }
    // Without a selected row the shown file stays, its information is read into the boxes
    // again, and the preview is left alone.
    m_searchWords = false;
    const auto file = m_expectedFiles.find(nativeNameOf(m_currentFile));
    m_expectedBoxes =
        m_currentFile.isEmpty() || file == m_expectedFiles.end() ? Boxes{} : boxesOf(trailerOf(file->second.bytes));
    m_shownBoxes = m_expectedBoxes;
}

void World::clearShown()
{
    m_currentFile.clear();
    m_expectedBoxes = {};
    m_shownBoxes = {};
    m_previewShown = false;
    m_previewCleared = true;
}

QLineEdit *World::editorIn(const QAbstractItemView *view) const
{
    for (QLineEdit *editor : view->viewport()->findChildren<QLineEdit *>())
        if (!editor->isHidden())
            return editor;
    return nullptr;
}

void World::checkEditors()
{
    const QAbstractItemView *shown = shownView();
    for (const QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(lstBilder), static_cast<QAbstractItemView *>(lstSymbole)}) {
        if (!editorIn(view))
            continue;
        if (view != shown)
            fail(QStringLiteral("(e) editor"),
                 QStringLiteral("a rename editor is open in the hidden view %1").arg(view->objectName()));
        else if (selectedRows().size() != 1)
            fail(QStringLiteral("(e) editor"),
                 QStringLiteral("a rename editor is open with %1 selected rows").arg(selectedRows().size()));
    }
}

void World::checkShown()
{
    if (state.CurrentFile != m_currentFile)
        fail(QStringLiteral("(a) CurrentFile"),
             QStringLiteral("CurrentFile is \"%1\", the model expects \"%2\"")
                 .arg(displayFileName(state.CurrentFile), displayFileName(m_currentFile)));
    if (!m_searchWords) {
        const Boxes boxes = actualBoxes();
        for (int i = 0; i < kBoxes; ++i)
            if (boxes[i] != m_expectedBoxes[i])
                fail(QStringLiteral("(a) boxes"),
                     QStringLiteral("%1 holds \"%2\", expected \"%3\" (the information of \"%4\")")
                         .arg(QLatin1String(kBoxNames[i]), boxes[i], m_expectedBoxes[i],
                              displayFileName(m_currentFile)));
    }
    const bool shown = m_image->isVisibleTo(m_preview) && !m_image->pixmap().isNull();
    // After the shown file was deleted, an undecodable picture may fall back to nothing.
    const bool tolerated = m_previewCleared && !shown;
    if (shown != m_previewShown && !tolerated) {
        fail(QStringLiteral("(a) preview"),
             QStringLiteral("the preview %1 a picture, expected %2 (shown file \"%3\")")
                 .arg(shown ? QStringLiteral("shows") : QStringLiteral("shows no"),
                      m_previewShown ? QStringLiteral("one") : QStringLiteral("none"), displayFileName(m_currentFile)));
    } else if (shown) {
        const QSizeF box = m_preview->size();
        const double w = m_previewSize.width(), h = m_previewSize.height();
        QSizeF fit(w / h * box.height(), box.height());
        if (fit.width() > box.width())
            fit = QSizeF(box.width(), h / w * box.width());
        const QSizeF got = m_preview->pictureRect().size();
        if (std::abs(got.width() - fit.width()) > 0.01 || std::abs(got.height() - fit.height()) > 0.01)
            fail(QStringLiteral("(a) preview"),
                 QStringLiteral("the preview shows a %1 x %2 picture, expected the %3 x %4 one of \"%5\"")
                     .arg(got.width())
                     .arg(got.height())
                     .arg(fit.width())
                     .arg(fit.height())
                     .arg(displayFileName(m_currentFile)));
    }
}

void World::checkFiles(const Files &now)
{
    for (const auto &[name, expected] : m_expectedFiles) {
        const auto it = now.find(name);
        if (it == now.end())
            fail(QStringLiteral("(b) bytes"), QStringLiteral("\"%1\" vanished").arg(shortName(name)));
        else if (it->second.bytes != expected.bytes)
            fail(QStringLiteral("(b) bytes"),
                 QStringLiteral("\"%1\" changed (%2 bytes, expected %3; shown file \"%4\")")
                     .arg(shortName(name))
                     .arg(it->second.bytes.size())
                     .arg(expected.bytes.size())
                     .arg(displayFileName(m_currentFile)));
        else if (it->second.readOnly != expected.readOnly)
            fail(QStringLiteral("(b) bytes"),
                 QStringLiteral("\"%1\" changed its read-only attribute").arg(shortName(name)));
    }
    for (const auto &[name, state] : now)
        if (!m_expectedFiles.count(name))
            fail(QStringLiteral("(b) bytes"), QStringLiteral("\"%1\" appeared").arg(shortName(name)));
}

void World::checkAlbumAndList(const Files &now)
{
    QStringList onDisk;
    std::map<QString, PictureInfo> texts;
    for (const auto &[name, file] : now) {
        onDisk << decodeFileName(name);
        texts[onDisk.last()] = trailerOf(file.bytes);
    }
    QStringList inAlbum;
    for (const AlbumEntry &entry : album.entries()) {
        inAlbum << entry.name;
        const auto it = texts.find(entry.name);
        if (it != texts.end() && boxesOf(entry.info) != boxesOf(it->second))
            fail(QStringLiteral("(c) texts"), QStringLiteral("the album holds other texts for \"%1\" than its trailer")
                                                  .arg(displayFileName(entry.name)));
    }
    QStringList inList;
    for (int r = 0; r < list.rowCount(); ++r) {
        inList << list.row(r).name;
        const auto it = texts.find(inList.last());
        if (it == texts.end())
            continue;
        const PictureInfo &t = it->second;
        const QStringList cells = {list.text(r, AlbumListModel::Datum), list.text(r, AlbumListModel::Ort),
                                   list.text(r, AlbumListModel::Namen), list.text(r, AlbumListModel::Anlass)};
        const QStringList file = {t.datum, t.ort, t.namen, t.anlass};
        if (cells != file)
            fail(QStringLiteral("(c) texts"),
                 QStringLiteral("row %1 \"%2\" shows %3, its trailer holds %4")
                     .arg(r)
                     .arg(displayFileName(inList.last()), cells.join(QLatin1Char('|')), file.join(QLatin1Char('|'))));
    }
    std::sort(onDisk.begin(), onDisk.end());
    std::sort(inAlbum.begin(), inAlbum.end());
    if (inAlbum != onDisk)
        fail(QStringLiteral("(c) names"), QStringLiteral("album [%1], files [%2]")
                                              .arg(inAlbum.join(QLatin1Char('/')), onDisk.join(QLatin1Char('/'))));
    std::sort(inList.begin(), inList.end());
    if (m_listFiltered) {
        const bool unique = std::adjacent_find(inList.begin(), inList.end()) == inList.end();
        if (!unique || !std::includes(inAlbum.begin(), inAlbum.end(), inList.begin(), inList.end()))
            fail(QStringLiteral("(c) names"), QStringLiteral("searched list [%1] is no subset of the album [%2]")
                                                  .arg(inList.join(QLatin1Char('/')), inAlbum.join(QLatin1Char('/'))));
    } else if (inList != inAlbum) {
        fail(
            QStringLiteral("(c) names"),
            QStringLiteral("list [%1], album [%2]").arg(inList.join(QLatin1Char('/')), inAlbum.join(QLatin1Char('/'))));
    }
}

void World::checkAll()
{
    const Files now = readFiles();
    checkShown();
    checkFiles(now);
    checkAlbumAndList(now);
    checkEditors();
    if (picSucheShown() != m_searchMode)
        fail(QStringLiteral("(a) search mode"),
             QStringLiteral("the search panel is %1").arg(m_searchMode ? "hidden" : "shown"));
}

std::optional<Failure> World::perform(const Step &step)
{
    m_dialogs.bits = step.answers;
    m_dialogs.asked = 0;
    m_dialogs.shown.clear();
    m_dialogs.beforeAnswer = {};
    const auto action = std::find_if(actions().begin(), actions().end(),
                                     [&](const Action &a) { return step.action == QLatin1String(a.name); });
    if (action == actions().end())
        return Failure{QStringLiteral("(walk)"), QStringLiteral("no action \"%1\"").arg(step.action)};
    action->perform(*this, step);
    settle();
    checkAll();
    return m_failure;
}

// ---- performers ----

void World::clickAt(int row, int column, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QAbstractItemView *view = shownView();
    const QModelIndex index = list.index(row, view == lstBilder ? column : 0);
    view->scrollTo(index);
    QRect rect = view->visualRect(index);
    if (!view->viewport()->rect().intersects(rect))
        rect = view->visualRect(list.index(row, 0));
    QTest::mouseClick(view->viewport(), button, modifiers, rect.center());
}

void World::click(const Step &s, Qt::KeyboardModifiers modifiers)
{
    if (rows() == 0)
        return;
    const int row = s.a % rows();
    const QString name = rowName(row);
    clickAt(row, s.b, Qt::LeftButton, modifiers);
    settle();
    if (modifiers != Qt::NoModifier) { // every click shows the selected row, or rereads the shown file
        showsIfSelected(currentRow());
        return;
    }
    if (selectedRows() != std::vector<int>{row} || currentRow() != row)
        fail(QStringLiteral("(click) selection"),
             QStringLiteral("after a click on row %1 \"%2\" the current row is %3 and %4 rows are selected")
                 .arg(row)
                 .arg(displayFileName(name))
                 .arg(currentRow())
                 .arg(selectedRows().size()));
    shows(pathOf(name));
}

struct KeyName {
    const char *name;
    Qt::Key key;
};
const KeyName kKeys[] = {{"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},        {"Left", Qt::Key_Left},
                         {"Right", Qt::Key_Right},   {"Home", Qt::Key_Home},        {"End", Qt::Key_End},
                         {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown}};

void World::key(const Step &s)
{
    const auto key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                  [&](const KeyName &k) { return s.text == QLatin1String(k.name); });
    if (key == std::end(kKeys))
        return fail(QStringLiteral("(walk)"), QStringLiteral("no key \"%1\"").arg(s.text));
    QAbstractItemView *view = shownView();
    view->setFocus();
    QTest::keyPress(view, key->key);
    QTest::keyRelease(view, key->key);
    settle();
    if (key->key == Qt::Key_Up || key->key == Qt::Key_Down || key->key == Qt::Key_Left || key->key == Qt::Key_Right)
        showsIfSelected(currentRow()); // page keys, Home and End move the selection only
}

void World::typeAhead(const Step &s)
{
    QAbstractItemView *view = shownView();
    view->setFocus();
    typeText(view, s.text);
}

void World::rightClick(const Step &s)
{
    if (rows() == 0)
        return;
    // The menu runs its own loop; the user closes it with Escape.
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
    });
    closer.start();
    clickAt(s.a % rows(), s.b, Qt::RightButton, {});
    closer.stop();
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

void World::header(const Step &s)
{
    if (m_viewMode != ViewDetails)
        return;
    QHeaderView *header = lstBilder->header();
    lstBilder->horizontalScrollBar()->setValue(header->sectionPosition(s.a));
    const int x =
        header->sectionViewportPosition(s.a) + std::min(header->sectionSize(s.a), header->viewport()->width()) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(std::clamp(x, 0, header->viewport()->width() - 1), header->height() / 2));
}

void World::search(const Step &s)
{
    QTest::mouseClick(m_window->findChild<QWidget *>(QStringLiteral("cmdSuche")), Qt::LeftButton);
    m_searchMode = true;
    m_searchWords = true;
    const QStringList words = s.text.split(QLatin1Char('|'));
    for (int i = 0; i < std::min<int>(4, words.size()); ++i) {
        m_boxes[i]->setFocus();
        typeText(m_boxes[i], words[i]);
    }
    const bool rowsLeft = rows() > 0;
    QTest::mouseClick(m_window->findChild<QWidget *>(QStringLiteral("cmdStart")), Qt::LeftButton);
    if (rowsLeft)
        m_listFiltered = true;
}

void World::back(const Step &)
{
    if (!m_searchMode)
        return; // the button is hidden outside search mode
    QTest::mouseClick(m_window->findChild<QWidget *>(QStringLiteral("cmdBack")), Qt::LeftButton);
    m_searchMode = false;
    m_searchWords = false;
    m_listFiltered = false;
    const auto file = m_expectedFiles.find(nativeNameOf(m_currentFile));
    m_expectedBoxes =
        m_currentFile.isEmpty() || file == m_expectedFiles.end() ? Boxes{} : boxesOf(trailerOf(file->second.bytes));
    m_shownBoxes = m_expectedBoxes;
}

void World::view(const Step &s)
{
    m_window->runMenuCommand(s.a);
    m_viewMode = s.a;
}

void World::rename(const Step &s, bool commit)
{
    QAbstractItemView *view = shownView();
    view->setFocus();
    settle(); // an editor left open by a slow click commits as the focus moves
    const int row = currentRow();
    const QString oldName = row >= 0 ? rowName(row) : QString();
    QTest::keyClick(view, Qt::Key_F2);
    settle();
    checkEditors();
    QLineEdit *editor = editorIn(view);
    if (!editor)
        return;
    if (!commit) {
        QTest::keyClick(editor, Qt::Key_Escape);
        return;
    }
    editor->selectAll();
    typeText(editor, s.text);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    if (oldName.isEmpty() || s.text == displayFileName(oldName))
        return;
    bool refused = s.text.contains(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]"))) || s.text.isEmpty();
    for (const auto &[name, file] : m_expectedFiles)
        refused = refused || decodeFileName(name).toCaseFolded() == s.text.toCaseFolded();
    if (refused)
        return;
    const QByteArray from = nativePath(oldName), to = nativePath(s.text);
    const auto node = m_expectedFiles.extract(from);
    if (node.empty())
        return fail(QStringLiteral("(walk)"),
                    QStringLiteral("renamed \"%1\" is not in the model").arg(displayFileName(oldName)));
    m_expectedFiles[to] = node.mapped();
    m_kinds[to] = m_kinds[from];
    if (m_currentFile == pathOf(oldName))
        m_currentFile = pathOf(s.text);
}

void World::type(const Step &s)
{
    const int i = std::clamp(s.a, 0, kBoxes - 1);
    QWidget *box = m_boxes[i];
    box->setFocus();
    settle();
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        s.b ? line->selectAll() : line->end(false);
    } else {
        auto *text = static_cast<QPlainTextEdit *>(box);
        s.b ? text->selectAll() : text->moveCursor(QTextCursor::End);
    }
    typeText(box, s.text);
    if (!m_searchWords)
        m_expectedBoxes[i] = ((s.b ? QString() : m_expectedBoxes[i]) + s.text).left(kBoxLimits[i]);
}

void World::save(const Step &)
{
    QTest::mouseClick(m_window->findChild<QWidget *>(QStringLiteral("cmdAktual")), Qt::LeftButton);
    settle();
    if (m_searchWords) {
        if (m_dialogs.shown.isEmpty())
            fail(QStringLiteral("(b) search save"),
                 QStringLiteral("Speichern with search words in the boxes told the user nothing"));
        return; // nothing may be written
    }
    if (m_currentFile.isEmpty())
        return;
    const QByteArray name = nativeNameOf(m_currentFile);
    const auto it = m_expectedFiles.find(name);
    if (it == m_expectedFiles.end())
        return;
    // A field both the user and another program changed is asked about; Nein there takes the
    // other program's text instead of declining the save.
    QStringList conflictAnswers;
    bool declined = false;
    bool agreed = false;
    for (const QString &d : std::as_const(m_dialogs.shown)) {
        if (d.contains(QLatin1String("Ein anderes Programm hat")))
            conflictAnswers << d.section(QLatin1Char('|'), -1);
        else if (d.endsWith(QLatin1String("|No")) || d.endsWith(QLatin1String("|Cancel")))
            declined = true;
        else if (d.endsWith(QLatin1String("|Yes")))
            agreed = true;
    }
    if (declined || (it->second.readOnly && !agreed))
        return; // the file must stay as it was
    // Each field: what the boxes were given, what they hold, what the file holds now.
    const Boxes disk = boxesOf(trailerOf(it->second.bytes));
    Boxes kept = m_expectedBoxes;
    int conflicts = 0;
    for (int i = 0; i < kBoxes; ++i) {
        const auto stored = [i](const QString &t) { return i == 0 ? storedDate(t) : withoutTrailingSpaces(t); };
        const QString was = stored(m_shownBoxes[i]), mine = stored(m_expectedBoxes[i]), theirs = stored(disk[i]);
        if (theirs == was || theirs == mine)
            continue;
        if (mine == was || conflictAnswers.value(conflicts++) == QLatin1String("No"))
            kept[i] = disk[i];
    }
    if (conflicts != conflictAnswers.size())
        return fail(QStringLiteral("(b) conflicts"),
                    QStringLiteral("%1 fields of \"%2\" were changed here and by another program, %3 asked about")
                        .arg(conflicts)
                        .arg(displayFileName(m_currentFile))
                        .arg(conflictAnswers.size()));
    PictureInfo typed;
    typed.datum = storedDate(kept[0]);
    typed.ort = kept[1];
    typed.namen = kept[2];
    typed.anlass = kept[3];
    typed.bemerkungen = kept[4];
    const QByteArray before = it->second.bytes;
    const QByteArray after = readFiles()[name].bytes;
    const qsizetype media = mediaLength(before);
    const bool written = after.size() == media + PictureInfo::TrailerSize && after.startsWith(before.left(media))
                         && boxesOf(trailerOf(after)) == boxesOf(typed);
    if (!written) {
        for (const auto &[other, file] : readFiles())
            if (other != name && m_expectedFiles.count(other) && m_expectedFiles[other] != file)
                return fail(QStringLiteral("(b) saved elsewhere"),
                            QStringLiteral("Speichern wrote into \"%1\", the shown file is \"%2\"")
                                .arg(shortName(other), displayFileName(m_currentFile)));
        if (after == before)
            return fail(QStringLiteral("(b) not saved"),
                        QStringLiteral("Speichern left \"%1\" as it was; told: %2")
                            .arg(displayFileName(m_currentFile), m_dialogs.shown.join(QLatin1String(" / "))));
        return fail(QStringLiteral("(b) bytes"),
                    QStringLiteral("Speichern did not write exactly the boxes' trailer after the media bytes of \"%1\"")
                        .arg(displayFileName(m_currentFile)));
    }
    it->second.bytes = after;
    m_expectedBoxes = boxesOf(typed); // the boxes show what was stored
    m_shownBoxes = m_expectedBoxes;
}

void World::remove(const Step &s)
{
    if (s.a)
        m_window->runMenuCommand(SelectAll);
    QStringList selected;
    bool captured = false;
    m_dialogs.beforeAnswer = [&] {
        if (captured)
            return;
        captured = true;
        for (const int r : selectedRows())
            selected << rowName(r);
    };
    if (s.b) {
        m_window->runMenuCommand(RemoveFiles);
    } else {
        QAbstractItemView *view = shownView();
        view->setFocus();
        QTest::keyPress(view, Qt::Key_Delete);
        QTest::keyRelease(view, Qt::Key_Delete);
    }
    settle();
    m_dialogs.beforeAnswer = {};
    const bool yes = !m_dialogs.shown.isEmpty() && m_dialogs.shown.first().endsWith(QLatin1String("|Yes"));
    if (!yes)
        return;
    for (const QString &name : selected) {
        m_expectedFiles.erase(nativePath(name));
        if (pathOf(name) == m_currentFile)
            clearShown();
    }
}

// Files come back the way a user adds them: through the import.
void World::import(const Step &s)
{
    QStringList sources;
    for (const QString &name : s.text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QByteArray bytes = contentFor(name.toLatin1(), 40 + name.mid(3, 3).toInt());
        writeAll(m_sources.filePath(name), bytes);
        sources << m_sources.filePath(name);
        m_expectedFiles[nativePath(name)] = {bytes, false};
        m_kinds[nativePath(name)] = mediaKindForFile(name);
    }
    ImportRun run({AlbumPaths{path()}, album, &list, m_drives, *m_settings, m_question}, sources, {});
    const auto report = [this](const QString &title, const QString &text) {
        fail(QStringLiteral("(walk)"), QStringLiteral("import failed: %1|%2").arg(title, text));
    };
    if (const auto refused = run.begin())
        return report(refused->title, refused->text);
    runNow(run, report);
    run.end();
}

// Files dropped onto the shown view from a file manager: new ones (a .txt is no media file and
// stays out), with a = 1 also one named as album file b, replaced only when the question's answer
// is yes; with a = 2 album file b itself, which changes nothing.
void World::dropFiles(const Step &s)
{
    const auto existing = m_expectedFiles.empty()
                              ? m_expectedFiles.end()
                              : std::next(m_expectedFiles.begin(), s.b % int(m_expectedFiles.size()));
    QList<QUrl> urls;
    const QDir from(m_sources.filePath(QStringLiteral("gezogen")));
    from.mkpath(QStringLiteral("."));
    bool asks = false;
    if (s.a == 2) {
        if (existing == m_expectedFiles.end())
            return;
        urls << localFileUrl(media(decodeFileName(existing->first)));
    } else {
        for (const QString &name : s.text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            const QByteArray bytes = contentFor(name.toLatin1(), 80 + name.mid(4, 3).toInt());
            writeAll(from.filePath(name), bytes);
            urls << localFileUrl(from.filePath(name));
            if (name.endsWith(QLatin1String(".txt")))
                continue;
            m_expectedFiles[nativePath(name)] = {bytes, false};
            m_kinds[nativePath(name)] = mediaKindForFile(name);
        }
        // Replacing a write-protected file is refused with a message, and a .txt is not taken:
        // the walk leaves those be.
        if (s.a == 1 && existing != m_expectedFiles.end() && !existing->second.readOnly
            && lowerExtension(decodeFileName(existing->first)) != QLatin1String("txt")) {
            const QString name = decodeFileName(existing->first);
            const QByteArray bytes = contentFor(existing->first, 90 + s.b % 7);
            writeNative(nativePath(from.filePath(name)), bytes);
            urls.prepend(localFileUrl(from.filePath(name)));
            asks = true;
            m_question.answers = {s.answers & 1u ? QStringLiteral("j") : QStringLiteral("n")};
            if (s.answers & 1u)
                existing->second = {bytes, false};
        }
    }
    const qsizetype askedBefore = m_question.asked.size();
    const int dropsBefore = m_drops;
    const bool taken = zv::test::dropFiles(shownView()->viewport(), urls);
    m_question.answers.clear();
    if (!taken || m_drops != dropsBefore + 1)
        fail(QStringLiteral("(d) drop"),
             QStringLiteral("the %1 did not take the dropped files").arg(shownView()->objectName()));
    if ((m_question.asked.size() > askedBefore) != asks)
        fail(QStringLiteral("(d) drop"), QStringLiteral("the overwrite question was %1asked").arg(asks ? "not " : ""));
}

// Another program writes the album while the window runs: one field of a file's trailer (b is
// the field, Datum to Bemerkungen; a the file, -1 the shown one), or a new file (b == kBoxes).
// The album must follow.
void World::outside(const Step &s)
{
    QString name;
    PictureInfo wanted;
    if (s.b == kBoxes) {
        name = QStringLiteral("aus%1.jpg").arg(++serial, 3, 10, QLatin1Char('0'));
        const QByteArray bytes = contentFor(name.toLatin1(), 60 + serial);
        writeNative(nativePath(media(name)), bytes);
        m_expectedFiles[nativePath(name)] = {bytes, false};
        m_kinds[nativePath(name)] = mediaKindForFile(name);
        wanted = trailerOf(bytes);
    } else {
        if (m_expectedFiles.empty())
            return;
        const auto it = s.a < 0 ? m_expectedFiles.find(nativeNameOf(m_currentFile))
                                : std::next(m_expectedFiles.begin(), s.a % int(m_expectedFiles.size()));
        if (it == m_expectedFiles.end() || (m_currentFile.isEmpty() && s.a < 0) || it->second.readOnly)
            return; // the other program may not write it either
        name = decodeFileName(it->first);
        wanted = trailerOf(it->second.bytes);
        QString *fields[kBoxes] = {&wanted.datum, &wanted.ort, &wanted.namen, &wanted.anlass, &wanted.bemerkungen};
        *fields[s.b] = s.text;
        if (const TrailerError error = WritePictureInfo(pathOf(name), wanted))
            return fail(QStringLiteral("(walk)"), QStringLiteral("the other program's write failed: ") + error.message);
        it->second.bytes = readFiles()[it->first].bytes;
        wanted = trailerOf(it->second.bytes);
    }
    const bool followed = QTest::qWaitFor(
        [&] {
            const AlbumEntry *entry = album.find(name);
            return entry && boxesOf(entry->info) == boxesOf(wanted);
        },
        5000);
    if (!followed)
        fail(QStringLiteral("(c) follows"),
             QStringLiteral("the album did not follow what another program wrote into \"%1\"")
                 .arg(displayFileName(name)));
}

// "Bilder" → "Aufnahmedatum übernehmen" on the selection: a file from a camera whose date is
// empty or unknown gets the camera's day, written as Speichern writes it; every other file stays.
// The shown file's boxes take the day unless the user has typed into them. A stopped run leaves
// each file dated or as it was.
void World::cameraDates(const Step &, bool stop)
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    const bool untouched = actualBoxes() == m_shownBoxes && !m_searchWords;
    const int runsBefore = m_pictureRuns;
    m_window->runMenuCommand(TakeCameraDate);
    if (stop)
        m_window->runMenuCommand(StopCameraDate);
    if (m_pictureRuns != runsBefore + 1)
        return fail(QStringLiteral("(t) camera date"), QStringLiteral("the window asked for no camera dates"));
    if (!QTest::qWaitFor([this] { return !m_dateRun->isRunning(); }, 10000))
        return fail(QStringLiteral("(t) camera date"), QStringLiteral("the camera dates did not end"));
    settle();
    const Files now = stop ? readFiles() : Files();
    for (const int row : rows) {
        const QByteArray name = nativePath(rowName(row));
        const auto file = m_expectedFiles.find(name);
        if (file == m_expectedFiles.end() || file->second.readOnly)
            continue;
        PictureInfo info = trailerOf(file->second.bytes);
        const QString day = cameraDay(file->second.bytes);
        const QString datum = info.datum.trimmed();
        if (day.isEmpty() || !(datum.isEmpty() || datum == QLatin1String("xx.xx.xxxx")))
            continue;
        info.datum = day;
        const QByteArray dated = file->second.bytes.left(mediaLength(file->second.bytes)) + trailer::encode(info);
        if (const auto there = now.find(name); stop && (there == now.end() || there->second.bytes != dated))
            continue; // not reached before the stop: it must be as it was
        file->second.bytes = dated;
        if (name == nativeNameOf(m_currentFile) && untouched) {
            m_expectedBoxes = boxesOf(info);
            m_shownBoxes = m_expectedBoxes;
        }
    }
}

// "Bilder" → a turn of the selection: a camera's picture turns by a quarter (left, right) or
// stays (upright: it has no orientation to undo); anything else stays as it was, with a message.
// A turned file keeps its trailer byte for byte and its read-only mark; a stopped run leaves each
// file turned or as it was.
void World::turn(const Step &s, bool stop)
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    const int commands[] = {TurnUpright, TurnLeft, TurnRight};
    const Files before = readFiles();
    const int runsBefore = m_pictureRuns;
    m_window->runMenuCommand(commands[s.a % 3]);
    if (stop)
        m_window->runMenuCommand(StopTurns);
    const bool writable = std::any_of(rows.begin(), rows.end(), [&](int row) {
        const auto file = before.find(nativePath(rowName(row)));
        return file != before.end() && !file->second.readOnly;
    });
    if (writable && m_pictureRuns != runsBefore + 1)
        return fail(QStringLiteral("(t) turn"), QStringLiteral("the window asked for no turn"));
    if (!QTest::qWaitFor([this] { return !m_turnRun->isRunning(); }, 10000))
        return fail(QStringLiteral("(t) turn"), QStringLiteral("the turns did not end"));
    settle();
    const Files now = readFiles();
    for (const int row : rows) {
        const QByteArray name = nativePath(rowName(row));
        const auto was = before.find(name);
        const auto is = now.find(name);
        if (was == before.end() || is == now.end() || was->second.bytes == is->second.bytes)
            continue;
        const QByteArray &old = was->second.bytes;
        const QByteArray &fresh = is->second.bytes;
        const auto oldSize = pictureSize(old.left(mediaLength(old)));
        const auto newSize = pictureSize(fresh.left(mediaLength(fresh)));
        if (s.a % 3 == 0 || !oldSize || !newSize || *newSize != oldSize->transposed())
            fail(QStringLiteral("(t) turn"), QStringLiteral("\"%1\" was turned wrongly").arg(shortName(name)));
        else if (old.mid(mediaLength(old)) != fresh.mid(mediaLength(fresh)))
            fail(QStringLiteral("(t) turn"), QStringLiteral("\"%1\" lost its trailer in a turn").arg(shortName(name)));
        else if (is->second.readOnly != was->second.readOnly)
            fail(QStringLiteral("(t) turn"),
                 QStringLiteral("\"%1\" changed its read-only mark in a turn").arg(shortName(name)));
        m_expectedFiles[name] = is->second;
        if (name == nativeNameOf(m_currentFile) && m_previewShown && newSize)
            m_previewSize = *newSize;
    }
}

// What only asks the program or the desktop for something: a dialog, the help page, the
// slide show, the print-ordering program. The album stays as it is, and the request carries the
// selection in list order.
void World::ask(const Step &s)
{
    QStringList selected;
    QStringList paths;
    for (const int row : selectedRows()) {
        selected << rowName(row);
        paths << pathOf(rowName(row));
    }
    const qsizetype requests = m_requests.size(), started = shell.started.size(), opened = shell.opened.size();
    const auto click = [this](const char *button) {
        if (auto *widget = m_window->findChild<QWidget *>(QLatin1String(button)))
            QTest::mouseClick(widget, Qt::LeftButton);
    };
    QString wanted;
    switch (s.a % 6) {
    case 0:
        m_window->runMenuCommand(SaveAs);
        wanted = QStringLiteral("export|") + selected.join('/');
        break;
    case 1:
        m_window->runMenuCommand(AddFiles);
        wanted = QStringLiteral("import");
        break;
    case 2:
        m_window->runMenuCommand(ChooseSkin);
        wanted = QStringLiteral("skin");
        break;
    case 3:
        click("cmdDia");
        wanted = QStringLiteral("dia");
        break;
    case 4:
        m_window->runMenuCommand(OrderPrints);
        if (shell.started.size() != started + 1
            || shell.started.last().program != path() + QStringLiteral("/Dorido/ips")
            || shell.started.last().arguments != paths)
            fail(QStringLiteral("(ask) order"),
                 QStringLiteral("the selection did not reach the print-ordering program"));
        return;
    default:
        click("cmdHilfe");
        if (shell.opened.size() != opened + 1 || shell.opened.last() != AlbumPaths{path()}.helpPage())
            fail(QStringLiteral("(ask) help"), QStringLiteral("Hilfe did not open the help page"));
        return;
    }
    if (m_requests.size() != requests + 1 || m_requests.last() != wanted)
        fail(QStringLiteral("(ask) request"),
             QStringLiteral("the window asked for \"%1\", not \"%2\"").arg(m_requests.mid(requests).join(';'), wanted));
}

// "neues Album": into a new folder, the selected files come along byte for byte and the new
// album is started; into the album itself nothing is made; a cancelled question does nothing.
void World::newAlbum(const Step &s)
{
    const QString target = m_sources.filePath(QStringLiteral("neu%1").arg(++serial));
    const int kind = s.a % 3;
    m_dialogs.inputAnswer = kind == 0 ? std::optional(target) : kind == 1 ? std::optional(path()) : std::nullopt;
    QStringList selected;
    for (const int row : selectedRows())
        selected << rowName(row);
    const qsizetype started = shell.started.size();
    m_window->runMenuCommand(NewAlbum);
    m_dialogs.inputAnswer.reset();
    if (kind != 0) {
        if (shell.started.size() != started || QFileInfo::exists(target))
            fail(QStringLiteral("(new) album"), QStringLiteral("a new album was made where none may be"));
        return;
    }
    if (shell.started.size() != started + 1 || !shell.started.last().program.startsWith(target + QLatin1Char('/')))
        return fail(QStringLiteral("(new) album"), QStringLiteral("the new album was not started"));
    const Files made = readFiles(target + QStringLiteral("/Bilder"));
    if (made.size() != std::size_t(selected.size()))
        return fail(
            QStringLiteral("(new) album"),
            QStringLiteral("the new album holds %1 files, not the %2 selected").arg(made.size()).arg(selected.size()));
    for (const QString &name : selected) {
        const auto copy = made.find(nativePath(name));
        const auto original = m_expectedFiles.find(nativePath(name));
        if (copy == made.end() || original == m_expectedFiles.end() || copy->second.bytes != original->second.bytes)
            return fail(QStringLiteral("(new) album"),
                        QStringLiteral("\"%1\" did not come into the new album whole").arg(displayFileName(name)));
    }
}

// ---- the step table ----

int below(std::mt19937 &rng, int n)
{
    return n <= 0 ? 0 : int(rng() % unsigned(n));
}

std::optional<Step> drawRowColumn(std::mt19937 &rng, World &)
{
    return Step{{}, below(rng, 1000), below(rng, AlbumListModel::ColumnCount), 0, {}};
}

QString pick(std::mt19937 &rng, const QStringList &from)
{
    return from[below(rng, int(from.size()))];
}

const std::vector<Action> &actions()
{
    static const std::vector<Action> table = {
        {"Click", 16, drawRowColumn, [](World &w, const Step &s) { w.click(s, Qt::NoModifier); }},
        {"ShiftClick", 3, drawRowColumn, [](World &w, const Step &s) { w.click(s, Qt::ShiftModifier); }},
        {"CtrlClick", 3, drawRowColumn, [](World &w, const Step &s) { w.click(s, Qt::ControlModifier); }},
        {"Key", 16,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, 0, 0, 0, QLatin1String(kKeys[below(rng, std::size(kKeys))].name)};
         },
         [](World &w, const Step &s) { w.key(s); }},
        {"TypeAhead", 3,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, 0, 0, 0, pick(rng, {"b", "a", "f", "c", "u", "z", "bi", "x", "m", "o"})};
         },
         [](World &w, const Step &s) { w.typeAhead(s); }},
        {"RightClick", 2, drawRowColumn, [](World &w, const Step &s) { w.rightClick(s); }},
        {"Header", 3,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, below(rng, AlbumListModel::ColumnCount), 0, 0, {}};
         },
         [](World &w, const Step &s) { w.header(s); }},
        {"Search", 3,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             QStringList words(4);
             words[below(rng, 4)] = pick(rng, {"1990", "2002", "köln", "anna", "urlaub", "oma", "ulm", "fest", "xyz"});
             if (below(rng, 3) == 0)
                 words[below(rng, 4)] = pick(rng, {"bonn", "opa", "05.1990", "geburtstag"});
             return Step{{}, 0, 0, 0, words.join(QLatin1Char('|'))};
         },
         [](World &w, const Step &s) { w.search(s); }},
        {"Back", 4,
         [](std::mt19937 &, World &w) -> std::optional<Step> {
             return w.searchMode() ? std::optional<Step>(Step{}) : std::nullopt;
         },
         [](World &w, const Step &s) { w.back(s); }},
        {"View", 3,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, 1 + below(rng, 4), 0, 0, {}};
         },
         [](World &w, const Step &s) { w.view(s); }},
        {"RenameCancel", 2, [](std::mt19937 &, World &) -> std::optional<Step> { return Step{}; },
         [](World &w, const Step &s) { w.rename(s, false); }},
        {"Rename", 3,
         [](std::mt19937 &rng, World &w) -> std::optional<Step> {
             const int row = w.currentRow();
             if (row < 0)
                 return std::nullopt;
             const QString name = w.rowName(row);
             const QString extension = name.contains(QLatin1Char('.')) ? name.section(QLatin1Char('.'), -1) : QString();
             switch (below(rng, 4)) {
             case 0:
                 return Step{{}, 0, 0, 0, displayFileName(w.rowName(below(rng, w.rows())))}; // taken
             case 1:
                 return Step{{}, 0, 0, 0, displayFileName(name).toUpper()}; // only the case differs
             case 2:
                 return Step{{}, 0, 0, 0, QStringLiteral("Neu:%1.%2").arg(++w.serial).arg(extension)}; // invalid
             default:
                 return Step{{}, 0, 0, 0, QStringLiteral("Neu%1.%2").arg(++w.serial).arg(extension)};
             }
         },
         [](World &w, const Step &s) { w.rename(s, true); }},
        {"Type", 14,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             const int box = below(rng, kBoxes);
             QString text;
             for (int n = 1 + below(rng, 3); n > 0; --n)
                 text += box == 0 ? pick(rng, {"1", "5.", "2003", "12", ".", "x"})
                                  : pick(rng, {"a", "Ö", "ß", " ", "Anna", "köln", "é", "7"});
             return Step{{}, box, below(rng, 4) == 0 ? 1 : 0, 0, text};
         },
         [](World &w, const Step &s) { w.type(s); }},
        {"Save", 10,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, 0, 0, quint32(rng()) & 0xFF, {}};
         },
         [](World &w, const Step &s) { w.save(s); }},
        {"Delete", 3,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, below(rng, 5) == 0 ? 1 : 0, below(rng, 2), quint32(rng()) & 1u, {}};
         },
         [](World &w, const Step &s) { w.remove(s); }},
        {"Outside", 3,
         [](std::mt19937 &rng, World &w) -> std::optional<Step> {
             const int field = below(rng, kBoxes + 1);
             const QStringList texts[kBoxes + 1] = {kDaten, kOrte, kNamen, kAnlaesse, {"neu", "schön, Dom"}, {""}};
             // Half of them write the shown file, where a save must merge.
             const int file = below(rng, 2) == 0 ? -1 : below(rng, std::max(1, w.fileCount()));
             return Step{{}, file, field, 0, pick(rng, texts[field])};
         },
         [](World &w, const Step &s) { w.outside(s); }},
        {"DropFiles", 3,
         [](std::mt19937 &rng, World &w) -> std::optional<Step> {
             QStringList names;
             for (int n = 1 + below(rng, 2); n > 0; --n)
                 names << QStringLiteral("drop%1.%2")
                              .arg(++w.serial, 3, 10, QLatin1Char('0'))
                              .arg(pick(rng, {"jpg", "avi", "mpg", "pdf", "txt"}));
             return Step{{}, below(rng, 3), below(rng, 1000), quint32(rng()) & 1u, names.join(QLatin1Char('/'))};
         },
         [](World &w, const Step &s) { w.dropFiles(s); }},
        {"CameraDates", 2, [](std::mt19937 &, World &) -> std::optional<Step> { return Step{}; },
         [](World &w, const Step &s) { w.cameraDates(s, false); }},
        {"StopCameraDates", 1, [](std::mt19937 &, World &) -> std::optional<Step> { return Step{}; },
         [](World &w, const Step &s) { w.cameraDates(s, true); }},
        {"Turn", 3,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, below(rng, 3), 0, quint32(rng()) & 0xF, {}};
         },
         [](World &w, const Step &s) { w.turn(s, false); }},
        {"Ask", 2, drawRowColumn, [](World &w, const Step &s) { w.ask(s); }},
        {"NewAlbum", 1, drawRowColumn, [](World &w, const Step &s) { w.newAlbum(s); }},
        {"StopTurns", 1,
         [](std::mt19937 &rng, World &) -> std::optional<Step> {
             return Step{{}, below(rng, 3), 0, quint32(rng()) & 0xF, {}};
         },
         [](World &w, const Step &s) { w.turn(s, true); }},
        // Drawn by the walk itself when the album runs low.
        {"Import", 0,
         [](std::mt19937 &rng, World &w) -> std::optional<Step> {
             QStringList names;
             for (int n = 4 + below(rng, 5); n > 0; --n)
                 names << QStringLiteral("imp%1.%2")
                              .arg(++w.serial, 3, 10, QLatin1Char('0'))
                              .arg(pick(rng, {"jpg", "jpg", "avi", "mpg", "txt"}));
             return Step{{}, 0, 0, 0, names.join(QLatin1Char('/'))};
         },
         [](World &w, const Step &s) { w.import(s); }},
    };
    return table;
}

Step draw(std::mt19937 &rng, World &world)
{
    const auto &table = actions();
    if (world.fileCount() < 10) {
        const auto importRow = std::find_if(table.begin(), table.end(), [](const Action &a) { return a.weight == 0; });
        Step step = *importRow->draw(rng, world);
        step.action = QLatin1String(importRow->name);
        return step;
    }
    int total = 0;
    for (const Action &a : table)
        total += a.weight;
    for (;;) {
        int at = below(rng, total);
        for (const Action &a : table) {
            if ((at -= a.weight) >= 0)
                continue;
            if (auto step = a.draw(rng, world)) {
                step->action = QLatin1String(a.name);
                return *step;
            }
            break;
        }
    }
}

Outcome run(const std::function<std::optional<Step>(World &, int)> &next, int steps)
{
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0); // slow clicks edit at once, alike in every replay
    Outcome outcome;
    QElapsedTimer clock;
    clock.start();
    World world;
    if (!world.open()) {
        outcome.failed = true;
        outcome.invariant = QStringLiteral("(walk)");
        outcome.message = QStringLiteral("the main window did not open and activate");
        return outcome;
    }
    for (int i = 0; i < steps; ++i) {
        const std::optional<Step> step = next(world, i);
        if (!step)
            break;
        outcome.walked << *step;
        if (const auto failure = world.perform(*step)) {
            outcome.failed = true;
            outcome.invariant = failure->invariant;
            outcome.message = failure->message;
            break;
        }
    }
    outcome.seconds = clock.elapsed() / 1000.0;
    return outcome;
}

} // namespace

bool World::picSucheShown() const
{
    const QWidget *panel = m_window->findChild<QWidget *>(QStringLiteral("picSuche"));
    return panel && panel->isVisibleTo(m_window.get());
}

QString Step::toText() const
{
    const QByteArray encoded = QUrl::toPercentEncoding(text, "/:.,()", "-");
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(action)
        .arg(a)
        .arg(b)
        .arg(answers)
        .arg(text.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(encoded));
}

std::optional<Step> Step::fromText(const QString &line)
{
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    if (parts.size() != 5)
        return std::nullopt;
    bool ok[3] = {};
    Step step{parts[0], parts[1].toInt(&ok[0]), parts[2].toInt(&ok[1]), parts[3].toUInt(&ok[2]), {}};
    if (!ok[0] || !ok[1] || !ok[2])
        return std::nullopt;
    if (parts[4] != QLatin1String("-"))
        step.text = QUrl::fromPercentEncoding(parts[4].toLatin1());
    return step;
}

QString toText(const QList<Step> &steps)
{
    QString text;
    for (const Step &step : steps)
        text += step.toText() + QLatin1Char('\n');
    return text;
}

std::optional<QList<Step>> parseSteps(const QString &text, QString *badLine)
{
    QList<Step> steps;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const auto step = Step::fromText(line);
        if (!step) {
            if (badLine)
                *badLine = line;
            return std::nullopt;
        }
        steps << *step;
    }
    return steps;
}

QString Outcome::report(const QString &origin) const
{
    return QStringLiteral("%1: after %2 steps %3: %4\n# kind: %5\n# replay: the steps below, one per line\n%6")
        .arg(origin)
        .arg(walked.size())
        .arg(invariant, message, kind(), toText(walked));
}

Outcome walk(quint32 seed, int steps)
{
    std::mt19937 rng(seed);
    return run([&](World &world, int) -> std::optional<Step> { return draw(rng, world); }, steps);
}

Outcome replay(const QList<Step> &steps)
{
    return run(
        [&](World &, int i) -> std::optional<Step> {
            return i < steps.size() ? std::optional<Step>(steps[i]) : std::nullopt;
        },
        int(steps.size()));
}

QList<Step> minimise(const QList<Step> &steps, const QString &kind)
{
    QList<Step> best = steps;
    const auto stillFails = [&](const QList<Step> &candidate) {
        const Outcome o = replay(candidate);
        return o.failed && o.kind() == kind;
    };
    for (qsizetype chunk = std::max<qsizetype>(1, best.size() / 2); chunk >= 1; chunk /= 2) {
        for (qsizetype at = 0; at < best.size();) {
            QList<Step> candidate = best;
            candidate.remove(at, std::min(chunk, best.size() - at));
            if (!candidate.isEmpty() && stillFails(candidate))
                best = candidate;
            else
                at += chunk;
        }
    }
    const Outcome last = replay(best);
    if (last.failed)
        best = last.walked; // steps after the failure are not needed
    return best;
}

} // namespace zv::test::walk
