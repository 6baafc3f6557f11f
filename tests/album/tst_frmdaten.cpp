#include "album/AlbumListModel.h"
#include "album/frmDaten.h"
#include "app/Album.h"
#include "app/AlbumLoader.h"
#include "app/AppSettings.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/ImageButton.h"
#include "store/PictureTrailer.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace zv;

namespace {

class RecordingShell : public Shell {
public:
    QStringList opened;
    bool openDocument(const QString &path, ShowState) override
    {
        opened << path;
        return true;
    }
    bool startProgram(const QString &, const QString &, const QString &) override { return true; }
};

class SilentDialogs : public Dialogs {
public:
    QStringList texts;
    MessageAnswer message(const QString &, const QString &text, MessageIcon, MessageButtons) override
    {
        texts << text;
        return MessageAnswer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
};

// A program folder with the built skins and a media folder the test fills.
class AlbumFixture {
public:
    explicit AlbumFixture(const QString &missingSkinFile = {})
    {
        QDir(dir.path()).mkdir(QStringLiteral("Bilder"));
        const QString skins = qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/Skins");
        if (missingSkinFile.isEmpty()) {
            QFile::link(skins, dir.filePath(QStringLiteral("Skins")));
            return;
        }
        const QString main = dir.filePath(QStringLiteral("Skins/Main/"));
        QDir().mkpath(main);
        for (const QFileInfo &f : QDir(skins + QStringLiteral("/Main")).entryInfoList(QDir::Files)) {
            if (f.fileName() != missingSkinFile)
                QFile::copy(f.filePath(), main + f.fileName());
        }
    }
    QString media(const QString &name) const { return dir.filePath(QStringLiteral("Bilder/") + name); }
    void picture(const QString &name, QSize size, QColor colour = Qt::red) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(media(name), "JPEG");
    }
    void file(const QString &name, const QByteArray &bytes = "x") const
    {
        QFile f(media(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    void info(const QString &name, const QString &ort, const QString &bemerkungen = {}) const
    {
        PictureInfo i;
        i.ort = ort;
        i.datum = QStringLiteral("xx.05.1990");
        i.bemerkungen = bemerkungen;
        WritePictureInfo(media(name), i);
    }
    std::unique_ptr<frmDaten> open()
    {
        album = loadAlbum(dir.filePath(QStringLiteral("Bilder")));
        auto window = std::make_unique<frmDaten>(MainWindowServices{
            AlbumPaths{dir.path()}, album, settings, shell, dialogs, [this] { ++quits; }});
        window->setPlayer(nullptr, MediaHooks{[this] { media_calls << QStringLiteral("close"); },
                                              [this](const QString &p) { media_calls << QStringLiteral("open ") + QFileInfo(p).fileName(); }});
        window->fillList(nullptr);
        return window;
    }

    QTemporaryDir dir;
    Album album;
    SettingsValues settings;
    RecordingShell shell;
    SilentDialogs dialogs;
    QStringList media_calls;
    int quits = 0;
};

int rowOf(const frmDaten &w, const QString &name)
{
    for (int r = 0; r < w.listModel().rowCount(); ++r) {
        if (w.listModel().text(r, 0) == name)
            return r;
    }
    return -1;
}

void clickRow(frmDaten &w, int row)
{
    auto *list = w.findChild<QTreeView *>(QStringLiteral("lstBilder"));
    const QRect rect = list->visualRect(w.listModel().index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

QString field(const frmDaten &w, const char *name)
{
    if (auto *line = w.findChild<QLineEdit *>(QLatin1String(name)))
        return line->text();
    return w.findChild<QPlainTextEdit *>(QLatin1String(name))->toPlainText();
}

} // namespace

class TestFrmDaten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fillShowsColumnsAndHeader();
    void previewGeometry_data();
    void previewGeometry();
    void unknownKindKeepsPreviewButShowsItsInformation();
    void arrowKeysShowButPageDownDoesNot();
    void videoClosesThenOpens();
    void saveLockAndRemarksBox();
    void firstActivationShowsFirstFile();
    void windowButtons();
    void incompleteSkinIsToldAndWindowWorks();
    void skinButtonsSwapPictures();
};

void TestFrmDaten::fillShowsColumnsAndHeader()
{
    AlbumFixture fx;
    fx.picture(QStringLiteral("a.jpg"), {10, 10});
    fx.info(QStringLiteral("a.jpg"), QStringLiteral("Rom"));
    fx.file(QStringLiteral("b.mpg"), QByteArray(1536, 'v'));
    fx.file(QStringLiteral("c.txt"));
    QFile::setPermissions(fx.media(QStringLiteral("c.txt")), QFile::ReadOwner);
    auto w = fx.open();
    const AlbumListModel &m = w->listModel();
    auto *list = w->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    QCOMPARE(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Dateiname [3 Dateien geladen]"));
    const QStringList captions = {"Größe in KB", "Datum", "Ort", "Namen", "Anlass", "Typ", "Schreibschutz"};
    const QList<int> widths = {190, 75, 85, 120, 96, 96, 96, 1440};
    for (int c = 0; c < 8; ++c) {
        if (c > 0)
            QCOMPARE(m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), captions[c - 1]);
        QCOMPARE(list->header()->sectionSize(c), widths[c]);
    }
    QCOMPARE(m.data(m.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));

    const int a = rowOf(*w, QStringLiteral("a.jpg"));
    const int b = rowOf(*w, QStringLiteral("b.mpg"));
    const int c = rowOf(*w, QStringLiteral("c.txt"));
    QCOMPARE(m.text(a, AlbumListModel::Ort), QStringLiteral("Rom"));
    QCOMPARE(m.text(a, AlbumListModel::Datum), QStringLiteral("xx.05.1990"));
    QCOMPARE(m.text(b, AlbumListModel::Groesse), QStringLiteral("2"));
    QCOMPARE(m.text(b, AlbumListModel::Typ), QStringLiteral("Video"));
    QCOMPARE(m.text(c, AlbumListModel::Typ), QStringLiteral("unbekannt"));
    QCOMPARE(m.data(m.index(c, 3), Qt::ToolTipRole).toString(), QStringLiteral("unbekannt"));
    QCOMPARE(m.text(c, AlbumListModel::Schreibschutz), QStringLiteral("X"));
    QCOMPARE(m.text(a, AlbumListModel::Schreibschutz), QString());
    // Keys follow album order, whatever order the list shows.
    for (int r = 0; r < 3; ++r)
        QCOMPARE(m.data(m.index(r, 0), AlbumListModel::RowKeyRole).toString(), QStringLiteral("D%1").arg(r + 1));
}

void TestFrmDaten::previewGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("400x300") << QSize(400, 300) << QRectF(0, 22.875, 183, 137.25);
    QTest::newRow("300x400") << QSize(300, 400) << QRectF(22.875, 0, 137.25, 183);
    QTest::newRow("500x500") << QSize(500, 500) << QRectF(0, 0, 183, 183);
}

void TestFrmDaten::previewGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QRectF, expected);
    AlbumFixture fx;
    fx.picture(QStringLiteral("p.jpg"), size);
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    clickRow(*w, 0);
    QCOMPARE(w->CurrentFile(), fx.media(QStringLiteral("p.jpg")));
    QCOMPARE(w->previewRect(), expected);
    auto *image = w->findChild<QLabel *>(QStringLiteral("imgvorschau"));
    QVERIFY(image->isVisible());
    QCOMPARE(image->geometry(), expected.toRect());
}

void TestFrmDaten::unknownKindKeepsPreviewButShowsItsInformation()
{
    AlbumFixture fx;
    fx.picture(QStringLiteral("p.jpg"), {400, 300});
    fx.info(QStringLiteral("p.jpg"), QStringLiteral("Paris"), QStringLiteral("Zeile 1"));
    fx.file(QStringLiteral("notiz.doc"));
    fx.picture(QStringLiteral("kaputt.jpg"), {10, 10});
    fx.file(QStringLiteral("kaputt.jpg"), "\xFF\xD8 broken");
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *image = w->findChild<QLabel *>(QStringLiteral("imgvorschau"));

    clickRow(*w, rowOf(*w, QStringLiteral("p.jpg")));
    QCOMPARE(field(*w, "txtOrt"), QStringLiteral("Paris"));
    QCOMPARE(field(*w, "txtBemerkungen"), QStringLiteral("Zeile 1"));
    const QPixmap shown = image->pixmap();

    clickRow(*w, rowOf(*w, QStringLiteral("notiz.doc")));
    QCOMPARE(w->CurrentFile(), fx.media(QStringLiteral("notiz.doc")));
    QCOMPARE(field(*w, "txtOrt"), QString());
    QCOMPARE(field(*w, "txtDatum"), QString());
    QVERIFY(image->isVisible());
    QCOMPARE(image->pixmap().cacheKey(), shown.cacheKey());

    // A picture that cannot be decoded shows the last good one again.
    clickRow(*w, rowOf(*w, QStringLiteral("kaputt.jpg")));
    QVERIFY(image->isVisible());
    QCOMPARE(w->previewRect(), QRectF(0, 22.875, 183, 137.25));
}

void TestFrmDaten::arrowKeysShowButPageDownDoesNot()
{
    AlbumFixture fx;
    for (int i = 0; i < 30; ++i) {
        const QString name = QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0'));
        fx.file(name);
        fx.info(name, name);
    }
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *list = w->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    clickRow(*w, 0);
    const QString first = field(*w, "txtOrt");
    QCOMPARE(first, w->listModel().text(0, 0));

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(field(*w, "txtOrt"), w->listModel().text(1, 0));

    QTest::keyClick(list, Qt::Key_PageDown);
    QVERIFY(list->currentIndex().row() > 1);
    QCOMPARE(field(*w, "txtOrt"), w->listModel().text(1, 0));
    QCOMPARE(w->CurrentFile(), fx.media(w->listModel().text(1, 0)));

    QTest::keyClick(list, Qt::Key_Up);
    const int row = list->currentIndex().row();
    QCOMPARE(field(*w, "txtOrt"), w->listModel().text(row, 0));
}

void TestFrmDaten::videoClosesThenOpens()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.mpg"));
    fx.file(QStringLiteral("b.avi"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    clickRow(*w, rowOf(*w, QStringLiteral("a.mpg")));
    clickRow(*w, rowOf(*w, QStringLiteral("b.avi")));
    QCOMPARE(fx.media_calls, (QStringList{"close", "open a.mpg", "close", "open b.avi"}));
    QVERIFY(!w->findChild<QLabel *>(QStringLiteral("imgvorschau"))->isVisible());
}

void TestFrmDaten::saveLockAndRemarksBox()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *lock = w->findChild<QLabel *>(QStringLiteral("cmdSaveX"));
    auto *save = w->findChild<ImageButton *>(QStringLiteral("cmdAktual"));
    QVERIFY(!lock->isVisible());
    w->setSaveLocked(true);
    QVERIFY(lock->isVisible());
    QVERIFY(lock->geometry().contains(save->geometry()));
    QVERIFY(!lock->pixmap().isNull());

    auto *remarks = w->findChild<QPlainTextEdit *>(QStringLiteral("txtBemerkungen"));
    QCOMPARE(remarks->height(), 13);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    remarks->setFocus();
    QTRY_COMPARE(remarks->height(), 100);
    remarks->setPlainText(QString(600, QLatin1Char('b')));
    QCOMPARE(remarks->toPlainText().size(), 512);
    w->findChild<QTreeView *>(QStringLiteral("lstBilder"))->setFocus();
    QTRY_COMPARE(remarks->height(), 13);
    const int limits[] = {10, 128, 128, 128};
    const char *names[] = {"txtDatum", "txtOrt", "txtNamen", "txtStichWorte"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(w->findChild<QLineEdit *>(QLatin1String(names[i]))->maxLength(), limits[i]);
}

void TestFrmDaten::firstActivationShowsFirstFile()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    fx.info(QStringLiteral("a.txt"), QStringLiteral("Erster"));
    fx.file(QStringLiteral("b.txt"));
    fx.info(QStringLiteral("b.txt"), QStringLiteral("Zweiter"));
    auto w = fx.open();
    QVERIFY(w->CurrentFile().isEmpty());
    w->showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QString first = fx.album.at(0).name;
    QCOMPARE(w->CurrentFile(), fx.media(first));
    QCOMPARE(field(*w, "txtOrt"), fx.album.at(0).info.ort);
    // Later activations leave the shown file alone.
    clickRow(*w, 1);
    w->hide();
    w->showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(w->CurrentFile(), fx.media(w->listModel().text(1, 0)));
}

void TestFrmDaten::windowButtons()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTest::mouseClick(w->findChild<ImageButton *>(QStringLiteral("cmdHilfe")), Qt::LeftButton);
    QCOMPARE(fx.shell.opened, QStringList{fx.dir.path() + QStringLiteral("/Hilfe/Hilfe.html")});

    QTest::mouseClick(w->findChild<ImageButton *>(QStringLiteral("cmdHilfe2")), Qt::LeftButton);
    QWidget *about = nullptr;
    QTRY_VERIFY((about = w->findChild<QWidget *>(QStringLiteral("frmAbout"))) && about->isVisible());
    QTest::mouseClick(about->findChild<QLabel *>(QStringLiteral("lblEnde")), Qt::LeftButton);
    QTRY_VERIFY(!w->findChild<QWidget *>(QStringLiteral("frmAbout")));

    fx.media_calls.clear();
    QTest::mouseClick(w->findChild<ImageButton *>(QStringLiteral("cmdX")), Qt::LeftButton);
    QCOMPARE(fx.media_calls, QStringList{"close"});
    QCOMPARE(fx.quits, 1);
}

void TestFrmDaten::incompleteSkinIsToldAndWindowWorks()
{
    AlbumFixture fx(QStringLiteral("button 0 Hilfe.jpg"));
    fx.picture(QStringLiteral("p.jpg"), {400, 300});
    auto w = fx.open();
    // Pictures before the gap are on, those after it are not.
    QVERIFY(!w->findChild<ImageButton *>(QStringLiteral("cmdAktual"))->pixmap().isNull());
    QVERIFY(w->findChild<ImageButton *>(QStringLiteral("cmdX"))->pixmap().isNull());
    QVERIFY(fx.dialogs.texts.isEmpty());
    w->showMainWindow();
    QCOMPARE(fx.dialogs.texts.size(), 1);
    QVERIFY(fx.dialogs.texts[0].contains(QStringLiteral("button 0 Hilfe.jpg")));
    w->hide();
    w->showMainWindow();
    QCOMPARE(fx.dialogs.texts.size(), 1);
    clickRow(*w, 0);
    QCOMPARE(w->previewRect(), QRectF(0, 22.875, 183, 137.25));
}

void TestFrmDaten::skinButtonsSwapPictures()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *save = w->findChild<ImageButton *>(QStringLiteral("cmdAktual"));
    const QImage released = save->pixmap().toImage();
    QVERIFY(!released.isNull());
    QTest::mousePress(save, Qt::LeftButton);
    const QImage pressed = save->pixmap().toImage();
    QVERIFY(pressed != released);
    QTest::mouseRelease(save, Qt::LeftButton);
    QCOMPARE(save->pixmap().toImage(), released);

}

QTEST_MAIN(TestFrmDaten)
#include "tst_frmdaten.moc"
