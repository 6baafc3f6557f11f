#include "skins/ImageButton.h"
#include "album/PreviewBox.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace zv;

using test::WindowFixture;
using AlbumFixture = WindowFixture;

class TestFrmDaten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fillShowsColumnsAndHeader();
    void inputWhileMediaWaitsIsIgnored();
    void editingThroughTheWindow();
    void searchModeAndSorting();
    void boxesRefuseWhatCannotBeStored();
    void previewDoubleClickAsksForPictureWindow();
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
    const AlbumListModel &m = fx.list;
    auto *list = w->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    QCOMPARE(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Dateiname [3 Dateien geladen]"));
    // Every column fits the list without a long empty scroll.
    QVERIFY(list->header()->length() < 1000);

    const int a = fx.rowOf(QStringLiteral("a.jpg"));
    const int b = fx.rowOf(QStringLiteral("b.mpg"));
    const int c = fx.rowOf(QStringLiteral("c.txt"));
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
    fx.clickRow(*w, 0);
    QCOMPARE(fx.state.CurrentFile, fx.media(QStringLiteral("p.jpg")));
    QCOMPARE(w->previewBox()->pictureRect(), expected);
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

    fx.clickRow(*w, fx.rowOf(QStringLiteral("p.jpg")));
    QCOMPARE(fx.field(*w, "txtOrt"), QStringLiteral("Paris"));
    QCOMPARE(fx.field(*w, "txtBemerkungen"), QStringLiteral("Zeile 1"));
    const QPixmap shown = image->pixmap();

    fx.clickRow(*w, fx.rowOf(QStringLiteral("notiz.doc")));
    QCOMPARE(fx.state.CurrentFile, fx.media(QStringLiteral("notiz.doc")));
    QCOMPARE(fx.field(*w, "txtOrt"), QString());
    QCOMPARE(fx.field(*w, "txtDatum"), QString());
    QVERIFY(image->isVisible());
    QCOMPARE(image->pixmap().cacheKey(), shown.cacheKey());

    // A picture that cannot be decoded shows the last good one again.
    fx.clickRow(*w, fx.rowOf(QStringLiteral("kaputt.jpg")));
    QVERIFY(image->isVisible());
    QCOMPARE(w->previewBox()->pictureRect(), QRectF(0, 22.875, 183, 137.25));
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
    fx.clickRow(*w, 0);
    const QString first = fx.field(*w, "txtOrt");
    QCOMPARE(first, fx.list.text(0, 0));

    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(fx.field(*w, "txtOrt"), fx.list.text(1, 0));

    QTest::keyClick(list, Qt::Key_PageDown);
    QVERIFY(list->currentIndex().row() > 1);
    QCOMPARE(fx.field(*w, "txtOrt"), fx.list.text(1, 0));
    QCOMPARE(fx.state.CurrentFile, fx.media(fx.list.text(1, 0)));

    QTest::keyClick(list, Qt::Key_Up);
    const int row = list->currentIndex().row();
    QCOMPARE(fx.field(*w, "txtOrt"), fx.list.text(row, 0));
}

void TestFrmDaten::videoClosesThenOpens()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.mpg"));
    fx.file(QStringLiteral("b.avi"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    fx.clickRow(*w, fx.rowOf(QStringLiteral("a.mpg")));
    fx.clickRow(*w, fx.rowOf(QStringLiteral("b.avi")));
    QCOMPARE(fx.player.calls, (QStringList{"close", "open a.mpg", "close", "open b.avi"}));
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
}

void TestFrmDaten::firstActivationShowsFirstFile()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    fx.info(QStringLiteral("a.txt"), QStringLiteral("Erster"));
    fx.file(QStringLiteral("b.txt"));
    fx.info(QStringLiteral("b.txt"), QStringLiteral("Zweiter"));
    auto w = fx.open();
    QVERIFY(fx.state.CurrentFile.isEmpty());
    w->showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QString first = fx.album.at(0).name;
    QCOMPARE(fx.state.CurrentFile, fx.media(first));
    QCOMPARE(fx.field(*w, "txtOrt"), fx.album.at(0).info.ort);
    // Later activations leave the shown file alone.
    fx.clickRow(*w, 1);
    w->hide();
    w->showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(fx.state.CurrentFile, fx.media(fx.list.text(1, 0)));
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

    // Without a handler for the page the user is told which file could not be opened.
    fx.shell.succeeds = false;
    QTest::mouseClick(w->findChild<ImageButton *>(QStringLiteral("cmdHilfe")), Qt::LeftButton);
    QCOMPARE(fx.dialogs.shown.size(), 1);
    QVERIFY(fx.dialogs.shown[0].startsWith(QStringLiteral("Hilfe|Die Hilfeseite")));
    QVERIFY(fx.dialogs.shown[0].contains(fx.dir.path() + QStringLiteral("/Hilfe/Hilfe.html")));

    fx.player.calls.clear();
    QSignalSpy quits(w.get(), &frmDaten::quitRequested);
    QTest::mouseClick(w->findChild<ImageButton *>(QStringLiteral("cmdX")), Qt::LeftButton);
    QCOMPARE(fx.player.calls, QStringList{"close"});
    QCOMPARE(quits.size(), 1);
}

void TestFrmDaten::incompleteSkinIsToldAndWindowWorks()
{
    AlbumFixture fx(QStringLiteral("button 0 Hilfe.jpg"));
    fx.picture(QStringLiteral("p.jpg"), {400, 300});
    auto w = fx.open();
    // Pictures before the gap are on, those after it are not.
    QVERIFY(!w->findChild<ImageButton *>(QStringLiteral("cmdAktual"))->pixmap().isNull());
    QVERIFY(w->findChild<ImageButton *>(QStringLiteral("cmdX"))->pixmap().isNull());
    QVERIFY(fx.dialogs.shown.isEmpty());
    w->showMainWindow();
    QCOMPARE(fx.dialogs.shown.size(), 1);
    QVERIFY(fx.dialogs.shown[0].contains(QStringLiteral("button 0 Hilfe.jpg")));
    w->hide();
    w->showMainWindow();
    QCOMPARE(fx.dialogs.shown.size(), 1);
    fx.clickRow(*w, 0);
    QCOMPARE(w->previewBox()->pictureRect(), QRectF(0, 22.875, 183, 137.25));
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

void TestFrmDaten::inputWhileMediaWaitsIsIgnored()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.mpg"));
    fx.file(QStringLiteral("b.txt"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    fx.player.busy = true;
    fx.clickRow(*w, fx.rowOf(QStringLiteral("b.txt")));
    QVERIFY(fx.player.calls.isEmpty());
    QVERIFY(fx.state.CurrentFile.isEmpty());
    fx.player.busy = false;
    fx.clickRow(*w, fx.rowOf(QStringLiteral("a.mpg")));
    QCOMPARE(fx.player.calls, (QStringList{"close", "open a.mpg"}));
}

void TestFrmDaten::editingThroughTheWindow()
{
    AlbumFixture fx;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        fx.picture(QString::fromLatin1(name), {40, 30});
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *list = w->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    fx.clickRow(*w, fx.rowOf(QStringLiteral("b.jpg")));
    auto *date = w->findChild<QLineEdit *>(QStringLiteral("txtDatum"));
    date->setText(QStringLiteral("5.2003"));
    QTest::mouseClick(w->findChild<ImageButton *>(QStringLiteral("cmdAktual")), Qt::LeftButton);
    QCOMPARE(date->text(), QStringLiteral("xx.05.2003"));
    QCOMPARE(ReadPictureInfo(fx.media(QStringLiteral("b.jpg"))).info.datum, QStringLiteral("xx.05.2003"));

    // F2 edits the name in place; Return renames the file.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = list->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Urlaub.jpg"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(QFile::exists(fx.media(QStringLiteral("Urlaub.jpg"))));
    QCOMPARE(fx.list.text(fx.rowOf(QStringLiteral("Urlaub.jpg")), 0), QStringLiteral("Urlaub.jpg"));
    QCOMPARE(fx.state.CurrentFile, fx.media(QStringLiteral("Urlaub.jpg")));

    // Delete asks once, then removes the selected rows and their files.
    fx.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
    list->selectionModel()->select(fx.list.index(fx.rowOf(QStringLiteral("a.jpg")), 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(fx.list.rowCount(), 3);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(fx.dialogs.shown, (QStringList{"löschen|Soll der Löschvorgang gestartet werden?",
                                            "löschen|Soll der Löschvorgang gestartet werden?"}));
    QCOMPARE(fx.list.rowCount(), 1);
    QVERIFY(!QFile::exists(fx.media(QStringLiteral("Urlaub.jpg"))) && !QFile::exists(fx.media(QStringLiteral("a.jpg"))));
    QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Dateiname [1 Dateien geladen]"));
}

void TestFrmDaten::searchModeAndSorting()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    fx.info(QStringLiteral("a.txt"), QStringLiteral("Köln"), {}, QStringLiteral("01.02.2004"));
    fx.file(QStringLiteral("b.txt"));
    fx.info(QStringLiteral("b.txt"), QStringLiteral("Bonn"), {}, QStringLiteral("31.12.2002"));
    fx.file(QStringLiteral("c.txt"));
    fx.info(QStringLiteral("c.txt"), QStringLiteral("Köln"), QStringLiteral("Dom"), QStringLiteral("15.01.2003"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const auto click = [&](const char *button) {
        QTest::mouseClick(w->findChild<ImageButton *>(QLatin1String(button)), Qt::LeftButton);
    };
    fx.clickRow(*w, fx.rowOf(QStringLiteral("c.txt")));
    click("cmdSuche");
    QVERIFY(w->findChild<QWidget *>(QStringLiteral("picSuche"))->isVisible());
    QCOMPARE(fx.field(*w, "txtOrt"), QString());
    QCOMPARE(fx.field(*w, "txtBemerkungen"), QString());
    click("cmdBack"); // no search ran: the list is not refilled
    QCOMPARE(fx.field(*w, "txtBemerkungen"), QStringLiteral("Dom"));
    QVERIFY(!w->findChild<QWidget *>(QStringLiteral("picSuche"))->isVisible());

    click("cmdSuche");
    w->findChild<QLineEdit *>(QStringLiteral("txtOrt"))->setText(QStringLiteral("köln"));
    click("cmdStart");
    QCOMPARE(fx.list.rowCount(), 2);
    QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Dateiname [2 Dateien gefunden]"));
    QCOMPARE(fx.album.size(), 3u);

    // The rows shown are live: saving works on the file of the row.
    fx.clickRow(*w, fx.rowOf(QStringLiteral("a.txt")));
    w->findChild<QLineEdit *>(QStringLiteral("txtDatum"))->setText(QStringLiteral("1999"));
    click("cmdAktual");
    QCOMPARE(ReadPictureInfo(fx.media(QStringLiteral("a.txt"))).info.datum, QStringLiteral("xx.xx.1999"));
    QCOMPARE(ReadPictureInfo(fx.media(QStringLiteral("c.txt"))).info.datum, QStringLiteral("15.01.2003"));

    // The date header sorts the rows shown, then the other way round.
    auto *header = w->findChild<QTreeView *>(QStringLiteral("lstBilder"))->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 20, 5));
    QCOMPARE(fx.list.text(0, AlbumListModel::Dateiname), QStringLiteral("a.txt")); // xx.xx.1999 first
    QCOMPARE(header->sortIndicatorSection(), 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 20, 5));
    QCOMPARE(fx.list.text(0, AlbumListModel::Dateiname), QStringLiteral("c.txt"));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    click("cmdBack");
    QCOMPARE(fx.list.rowCount(), 3);
    QCOMPARE(header->sortIndicatorSection(), -1);

    // Searching an empty list is refused with a message.
    click("cmdSuche");
    w->findChild<QLineEdit *>(QStringLiteral("txtOrt"))->setText(QStringLiteral("Ulm"));
    click("cmdStart");
    QCOMPARE(fx.list.rowCount(), 0);
    QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Dateiname [0 Dateien gefunden]"));
    click("cmdStart");
    QCOMPARE(fx.dialogs.shown, QStringList{"Fehler|Es sind keine Einträge in der Liste"});
}

void TestFrmDaten::boxesRefuseWhatCannotBeStored()
{
    AlbumFixture fx;
    fx.file(QStringLiteral("a.txt"));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto *ort = w->findChild<QLineEdit *>(QStringLiteral("txtOrt"));
    ort->setFocus();
    QTest::keyClicks(ort, QStringLiteral("Koln "));
    QInputMethodEvent typed; // how an input method delivers Chinese
    typed.setCommitString(QStringLiteral("北京 €"));
    QApplication::sendEvent(ort, &typed);
    QCOMPARE(ort->text(), QStringLiteral("Koln  €"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x😀y"));
    ort->paste();
    QCOMPARE(ort->text(), QStringLiteral("Koln  €xy"));
    auto *remarks = w->findChild<QPlainTextEdit *>(QStringLiteral("txtBemerkungen"));
    remarks->setFocus();
    remarks->insertPlainText(QStringLiteral("Sonne 😀 am Rhein")); // as a paste arrives
    QCOMPARE(remarks->toPlainText(), QStringLiteral("Sonne  am Rhein"));
}

void TestFrmDaten::previewDoubleClickAsksForPictureWindow()
{
    AlbumFixture fx;
    fx.picture(QStringLiteral("p.jpg"), {400, 300});
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    fx.clickRow(*w, 0);
    QSignalSpy requests(w.get(), &frmDaten::pictureWindowRequested);
    auto *image = w->findChild<QLabel *>(QStringLiteral("imgvorschau"));
    QTest::mouseDClick(image, Qt::LeftButton);
    QTest::mouseDClick(w->previewBox(), Qt::LeftButton, {}, QPoint(2, 2)); // the band beside the picture
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0][0].toString(), fx.media(QStringLiteral("p.jpg")));
}

QTEST_MAIN(TestFrmDaten)
#include "tst_frmdaten.moc"
