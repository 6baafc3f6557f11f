// The main window over a temporary album: preview, keys, buttons, editing, search and its menu.
#include "album/PreviewBox.h"
#include "album/modMenu.h"
#include "platform/Shell.h"
#include "skins/ImageButton.h"
#include "support/AlbumWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>

using namespace zv;
using namespace zv::test;

class TestFrmDaten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectionKeysAndActivation()
    {
        WindowFixture fx;
        fx.picture(QStringLiteral("p.jpg"), {300, 400});
        fx.file(QStringLiteral("kaputt.jpg"), "\xFF\xD8 broken");
        fx.file(QStringLiteral("notiz.doc"));
        fx.file(QStringLiteral("v.mpg"));
        for (int i = 0; i < 30; ++i)
            fx.file(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
        for (const QString &name : QDir(fx.media({})).entryList(QDir::Files))
            fx.info(name, name); // each file's place is its name
        QFile::setPermissions(fx.media(QStringLiteral("f00.txt")), QFile::ReadOwner);
        auto w = fx.open();
        QCOMPARE(fx.list.text(fx.rowOf(QStringLiteral("f00.txt")), AlbumListModel::Schreibschutz), QStringLiteral("X"));
        QVERIFY(fx.state.CurrentFile.isEmpty());
        w->showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(fx.field(*w, "txtOrt"), fx.album.at(0).name); // the first activation shows the first file

        auto *list = child<QTreeView>(*w, "lstBilder");
        const auto clickOn = [&](const QString &name) {
            list->scrollTo(fx.list.index(fx.rowOf(name), 0));
            fx.clickRow(*w, fx.rowOf(name));
        };
        fx.player.busy = true; // a click while the device still opens the last file
        const QStringList calls = fx.player.calls;
        clickOn(fx.list.text(fx.list.rowCount() - 1, 0));
        QCOMPARE(fx.state.CurrentFile, fx.media(fx.album.at(0).name));
        QCOMPARE(fx.player.calls, calls);
        fx.player.busy = false;
        fx.player.calls.clear();
        auto *image = child<QLabel>(*w, "imgvorschau");
        clickOn(QStringLiteral("p.jpg"));
        QCOMPARE(image->geometry(), QRect(23, 0, 137, 183));
        const qint64 shown = image->pixmap().cacheKey();
        // Neither a file of no known kind nor a picture that cannot be decoded hides the last one.
        for (const char *name : {"notiz.doc", "kaputt.jpg"}) {
            clickOn(QString::fromLatin1(name));
            QCOMPARE(fx.field(*w, "txtOrt"), QString::fromLatin1(name));
            QVERIFY(image->isVisible() && image->pixmap().cacheKey() == shown);
        }
        QCOMPARE(w->previewBox()->pictureRect(), QRectF(22.875, 0, 137.25, 183));
        clickOn(QStringLiteral("v.mpg"));
        QVERIFY(!image->isVisible());
        QCOMPARE(fx.player.calls, (QStringList{"close", "close", "close", "close", "open v.mpg"}));
        QSignalSpy requests(w.get(), &frmDaten::pictureWindowRequested);
        QTest::mouseDClick(w->previewBox(), Qt::LeftButton, {}, QPoint(2, 2)); // the band beside the picture
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0][0].toString(), fx.media(QStringLiteral("v.mpg")));

        clickOn(fx.list.text(0, 0));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(fx.field(*w, "txtOrt"), fx.list.text(1, 0));
        QTest::keyClick(list, Qt::Key_PageDown);
        QVERIFY(list->currentIndex().row() > 1);
        QCOMPARE(fx.field(*w, "txtOrt"), fx.list.text(1, 0));
        // Later activations leave the shown file alone.
        QEvent activation(QEvent::ActivationChange);
        QCoreApplication::sendEvent(w.get(), &activation);
        QCOMPARE(fx.state.CurrentFile, fx.media(fx.list.text(1, 0)));
    }

    void buttonsBoxesAndSkin()
    {
        WindowFixture fx(QStringLiteral("button 0 Hilfe.jpg")); // a skin without one picture
        auto w = fx.open();
        QVERIFY(child<ImageButton>(*w, "cmdX")->pixmap().isNull()); // those after the gap stay off
        w->showMainWindow();
        w->hide();
        w->showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(fx.dialogs.shown.size(), 1); // told once the window is up, and only once
        QVERIFY(fx.dialogs.shown[0].contains(QStringLiteral("button 0 Hilfe.jpg")));

        const QString help = fx.path() + QStringLiteral("/Hilfe/Hilfe.html");
        click(*w, "cmdHilfe");
        QCOMPARE(fx.shell.opened, QStringList{help});
        fx.shell.succeeds = false; // no handler for the page: the user is told which file
        click(*w, "cmdHilfe");
        QCOMPARE(fx.dialogs.shown.size(), 2);
        QVERIFY(fx.dialogs.shown[1].startsWith(QStringLiteral("Hilfe|Die Hilfeseite „") + help + QStringLiteral("“")));
        click(*w, "cmdHilfe2");
        QWidget *about = nullptr;
        QTRY_VERIFY((about = child(*w, "frmAbout")) && about->isVisible());
        click(*about, "lblEnde");
        QTRY_VERIFY(!child(*w, "frmAbout"));
        QSignalSpy quits(w.get(), &frmDaten::quitRequested);
        click(*w, "cmdX");
        QCOMPARE(fx.player.calls, QStringList{"close"});
        QCOMPARE(quits.size(), 1);

        w->setSaveLocked(true);
        QVERIFY(child(*w, "cmdSaveX")->isVisible());
        QVERIFY(child(*w, "cmdSaveX")->geometry().contains(child(*w, "cmdAktual")->geometry()));
        // The remarks grow while they have the focus and take 512 characters; the boxes refuse
        // what Windows-1252 cannot hold.
        auto *remarks = child<QPlainTextEdit>(*w, "txtBemerkungen");
        const int collapsed = remarks->height();
        remarks->setFocus();
        QTRY_VERIFY(remarks->height() > collapsed);
        remarks->insertPlainText(QString(513, QLatin1Char('b'))); // one past the limit
        QCOMPARE(remarks->toPlainText().size(), 512);
        remarks->setPlainText(QStringLiteral("Sonne 😀 am Rhein"));
        QCOMPARE(remarks->toPlainText(), QStringLiteral("Sonne  am Rhein"));
        auto *ort = child<QLineEdit>(*w, "txtOrt");
        ort->setFocus();
        QTRY_COMPARE(remarks->height(), collapsed);
        QGuiApplication::clipboard()->setText(QStringLiteral("Köln 北京 €x😀y"));
        ort->paste();
        QCOMPARE(ort->text(), QStringLiteral("Köln  €xy"));
    }

    void editingAndMenuCommands()
    {
        WindowFixture fx;
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            fx.file(QString::fromLatin1(name));
        auto w = shownWindow(fx);
        QVERIFY(w);
        auto *list = child<QTreeView>(*w, "lstBilder");
        fx.clickRow(*w, fx.rowOf(QStringLiteral("b.jpg")));
        child<QLineEdit>(*w, "txtDatum")->setText(QStringLiteral("5.2003"));
        click(*w, "cmdAktual");
        QCOMPARE(fx.field(*w, "txtDatum"), QStringLiteral("xx.05.2003"));
        // F2 edits the name in place; Return renames the file.
        QTest::keyClick(list, Qt::Key_F2);
        auto *editor = list->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Urlaub.jpg"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(QFile::exists(fx.media(QStringLiteral("Urlaub.jpg"))));

        // The views share rows and selection.
        w->runMenuCommand(ViewList);
        QCOMPARE(fx.state.ViewMode, 3);
        auto *icons = child<QListView>(*w, "lstSymbole");
        QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, icons->visualRect(fx.list.index(2, 0)).center());
        QCOMPARE(fx.state.CurrentFile, fx.media(fx.list.text(2, 0)));
        w->runMenuCommand(ViewDetails);
        QVERIFY(!icons->isVisible() && list->isVisible());
        QSignalSpy exports(w.get(), &frmDaten::exportRequested);
        QSignalSpy imports(w.get(), &frmDaten::importRequested);
        QSignalSpy skins(w.get(), &frmDaten::skinChooserRequested);
        list->selectionModel()->select(fx.list.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w->runMenuCommand(SaveAs);
        w->runMenuCommand(AddFiles);
        w->runMenuCommand(ChooseSkin);
        for (int inert : {int(StorageInfo), int(FreeSpace), int(UsedSpace), 0})
            w->runMenuCommand(inert);
        QCOMPARE(exports.size(), 1);
        QCOMPARE(exports[0][0].toStringList(), (QStringList{fx.list.text(0, 0), fx.list.text(2, 0)})); // list order
        QVERIFY(imports.size() == 1 && skins.size() == 1 && fx.dialogs.shown.isEmpty());

        // Delete asks each time, closes the player, then removes the selected rows and their files.
        fx.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(fx.list.rowCount(), 3);
        fx.player.calls.clear();
        w->runMenuCommand(RemoveFiles);
        QCOMPARE(fx.player.calls, QStringList{"close"});
        QCOMPARE(fx.dialogs.shown, QStringList(2, QStringLiteral("löschen|Soll der Löschvorgang gestartet werden?")));
        for (const QString &name : exports[0][0].toStringList())
            QVERIFY(!QFile::exists(fx.media(name)));
        QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Dateiname [1 Dateien geladen]"));
    }

    void searchModeAndSorting()
    {
        WindowFixture fx;
        fx.file(QStringLiteral("a.txt"));
        fx.info(QStringLiteral("a.txt"), QStringLiteral("Köln"), {}, QStringLiteral("01.02.2004"));
        fx.file(QStringLiteral("b.txt"));
        fx.info(QStringLiteral("b.txt"), QStringLiteral("Bonn"), {}, QStringLiteral("31.12.2002"));
        fx.file(QStringLiteral("c.txt"));
        fx.info(QStringLiteral("c.txt"), QStringLiteral("Köln"), QStringLiteral("Dom"), QStringLiteral("15.01.2003"));
        auto w = shownWindow(fx);
        QVERIFY(w);
        fx.clickRow(*w, fx.rowOf(QStringLiteral("c.txt")));
        click(*w, "cmdSuche");
        QCOMPARE(fx.field(*w, "txtBemerkungen"), QString());
        click(*w, "cmdBack"); // no search ran: the boxes show the file again
        QCOMPARE(fx.field(*w, "txtBemerkungen"), QStringLiteral("Dom"));
        QVERIFY(!child(*w, "picSuche")->isVisible());

        click(*w, "cmdSuche");
        child<QLineEdit>(*w, "txtOrt")->setText(QStringLiteral("köln"));
        click(*w, "cmdStart");
        QCOMPARE(fx.list.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Dateiname [2 Dateien gefunden]"));
        // The rows shown are live: saving works on the file of the row.
        fx.clickRow(*w, fx.rowOf(QStringLiteral("a.txt")));
        child<QLineEdit>(*w, "txtDatum")->setText(QStringLiteral("1999"));
        click(*w, "cmdAktual");
        QCOMPARE(ReadPictureInfo(fx.media(QStringLiteral("a.txt"))).info.datum, QStringLiteral("xx.xx.1999"));
        // The date header sorts the rows shown, the second click the other way round.
        auto *header = child<QTreeView>(*w, "lstBilder")->header();
        const QPoint date(header->sectionViewportPosition(2) + 20, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, date);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, date);
        QCOMPARE(fx.list.text(0, AlbumListModel::Dateiname), QStringLiteral("c.txt"));
        QCOMPARE(header->sortIndicatorSection(), 2);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        click(*w, "cmdBack");
        QCOMPARE(fx.list.rowCount(), 3);
        QCOMPARE(header->sortIndicatorSection(), -1);

        // A search that left nothing: searching again is refused with a message.
        click(*w, "cmdSuche");
        child<QLineEdit>(*w, "txtOrt")->setText(QStringLiteral("Ulm"));
        click(*w, "cmdStart");
        QCOMPARE(fx.list.rowCount(), 0);
        click(*w, "cmdStart");
        QCOMPARE(fx.dialogs.shown, QStringList{"Fehler|Es sind keine Einträge in der Liste"});
    }

    void menuStructure_data()
    {
        QTest::addColumn<bool>("dorido");
        QTest::addColumn<int>("viewMode");
        QTest::newRow("without Dorido, details") << false << 4;
        QTest::newRow("with Dorido, list") << true << 3;
    }

    void menuStructure()
    {
        QFETCH(bool, dorido);
        QFETCH(int, viewMode);
        QImage pie(90, 90, QImage::Format_ARGB32);
        pie.fill(Qt::green);
        const auto menu = BuildPopupMenu(MenuState{dorido, viewMode, {pie, QStringLiteral("frei:  1 GB"), {}, {}, {}}});
        QVERIFY(findMenuItem(*menu, SelectAll) && findMenuItem(*menu, ChooseSkin) && findMenuItem(*menu, FreeSpace));
        // The drive's usage stands in a second column, right of the commands and not among them.
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        const QWidget *column = child(*menu, "SpeicherInfo");
        QVERIFY(column);
        QVERIFY(column->geometry().left() >= menu->actionGeometry(findMenuItem(*menu, SelectAll)).right());
        QCOMPARE(child<QLabel>(*column, "picDrvInfo")->pixmap().height(), 90);
        QVERIFY(menu->actionGeometry(findMenuItem(*menu, FreeSpace)).isEmpty());
        const QList<QLabel *> labels = column->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel *l) { return l->text() == "frei:  1 GB"; }));
        menu->close();
        QStringList captions;
        for (const QAction *a : menu->findChild<QMenu *>(QStringLiteral("mnuDateien"))->actions())
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QStringList expected{"speichern unter", "hinzufügen", "entfernen", "neues Album"};
        if (dorido)
            expected << "-" << "bei Dorido bestellen";
        QCOMPARE(captions, expected);
        for (int mode = ViewIcons; mode <= ViewDetails; ++mode)
            QCOMPARE(IsItemChecked(*menu, mode), mode == viewMode);
    }

    void printOrderingQuotesEveryName()
    {
        WindowFixture fx;
        for (const char *name : {"Oma und Opa.jpg", "Köln.jpg"})
            fx.file(QString::fromUtf8(name));
        auto w = fx.open();
        w->runMenuCommand(OrderPrints); // no Dorido folder: told, nothing started
        QCOMPARE(fx.dialogs.shown.size(), 1);
        QVERIFY(fx.dialogs.shown[0].contains(QStringLiteral("Dorido/ips")));

        // A real program in its place writes down the arguments it got.
        QDir(fx.path()).mkpath(QStringLiteral("Dorido"));
        const QString received = fx.dir.filePath(QStringLiteral("received.txt"));
        QFile script(fx.dir.filePath(QStringLiteral("Dorido/ips")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + received.toUtf8() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        const auto shell = makeDesktopShell();
        frmDaten window(MainWindowServices{AlbumPaths{fx.path()}, fx.album, fx.list, fx.state, *shell, fx.dialogs},
                        SkinFolder(fx.path(), QStringLiteral("Main")));
        window.runMenuCommand(SelectAll);
        window.runMenuCommand(OrderPrints);
        QFile got(received);
        QTRY_VERIFY(got.exists() && got.size() > 0);
        QVERIFY(got.open(QIODevice::ReadOnly));
        const QStringList expected{fx.media(fx.list.text(0, 0)), fx.media(fx.list.text(1, 0))};
        QCOMPARE(QString::fromUtf8(got.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    }
};

QTEST_MAIN(TestFrmDaten)
#include "tst_frmdaten.moc"
