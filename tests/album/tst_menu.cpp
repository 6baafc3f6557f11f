// The popup menu and the commands behind it, through the main window.
#include "album/NewAlbum.h"
#include "album/modMenu.h"
#include "platform/Shell.h"
#include "support/WindowFixture.h"

#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace zv;
using namespace zv::test;

class TestMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void structure_data();
    void structure();
    void viewModesShareRowsAndSelection();
    void commandsAskTheProgramOrAct();
    void printOrderingQuotesEveryName();
    void newAlbumCopiesTheSelectionAndWhatAnAlbumNeeds();
};

void TestMenu::structure_data()
{
    QTest::addColumn<bool>("dorido");
    QTest::addColumn<int>("viewMode");
    QTest::newRow("without Dorido, details") << false << 4;
    QTest::newRow("with Dorido, list") << true << 3;
}

void TestMenu::structure()
{
    QFETCH(bool, dorido);
    QFETCH(int, viewMode);
    const auto menu = BuildPopupMenu(MenuState{dorido, viewMode, {}});
    QVERIFY(findMenuItem(*menu, SelectAll) && findMenuItem(*menu, ChooseSkin) && findMenuItem(*menu, FreeSpace));
    const QMenu *files = menu->findChild<QMenu *>(QStringLiteral("mnuDateien"));
    QStringList captions;
    for (const QAction *a : files->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QStringList expected{"speichern unter", "hinzufügen", "entfernen", "neues Album"};
    if (dorido)
        expected << "-" << "bei Dorido bestellen";
    QCOMPARE(captions, expected);
    for (int mode = ViewIcons; mode <= ViewDetails; ++mode)
        QCOMPARE(IsItemChecked(*menu, mode), mode == viewMode);
    QCOMPARE(findMenuItem(*menu, ViewList)->text(), QStringLiteral("Liste"));
}

void TestMenu::viewModesShareRowsAndSelection()
{
    WindowFixture fx;
    for (const char *name : {"a.jpg", "b.txt", "c.mpg"})
        fx.file(QString::fromLatin1(name));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->runMenuCommand(ViewList);
    QCOMPARE(fx.state.ViewMode, 3);
    auto *icons = w->findChild<QListView *>(QStringLiteral("lstSymbole"));
    auto *details = w->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    QVERIFY(icons->isVisible() && !details->isVisible());
    QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, icons->visualRect(fx.list.index(1, 0)).center());
    QCOMPARE(fx.state.CurrentFile, fx.media(fx.list.text(1, 0)));
    QVERIFY(details->selectionModel()->isRowSelected(1, {}));
    w->runMenuCommand(SelectAll);
    QCOMPARE(details->selectionModel()->selectedRows().size(), 3);
    w->runMenuCommand(ViewDetails);
    QVERIFY(!icons->isVisible() && details->isVisible());
}

void TestMenu::commandsAskTheProgramOrAct()
{
    WindowFixture fx;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        fx.file(QString::fromLatin1(name));
    auto w = fx.open();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy exports(w.get(), &frmDaten::exportRequested);
    QSignalSpy imports(w.get(), &frmDaten::importRequested);
    QSignalSpy skins(w.get(), &frmDaten::skinChooserRequested);
    auto *details = w->findChild<QTreeView *>(QStringLiteral("lstBilder"));
    details->selectionModel()->select(fx.list.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->runMenuCommand(SaveAs);
    QCOMPARE(exports.size(), 1);
    QCOMPARE(exports[0][0].toStringList(), (QStringList{fx.list.text(0, 0), fx.list.text(2, 0)})); // list order
    w->runMenuCommand(AddFiles);
    w->runMenuCommand(ChooseSkin);
    QCOMPARE(imports.size() + skins.size(), 2);
    for (int inert : {int(StorageInfo), int(FreeSpace), int(UsedSpace), 0})
        w->runMenuCommand(inert);
    QCOMPARE(fx.list.rowCount(), 3);
    fx.dialogs.answers = {MessageAnswer::Yes};
    w->runMenuCommand(RemoveFiles);
    QCOMPARE(fx.list.rowCount(), 1);
}

void TestMenu::printOrderingQuotesEveryName()
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
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + received.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const auto shell = makeDesktopShell();
    auto window = std::make_unique<frmDaten>(
        MainWindowServices{AlbumPaths{fx.path()}, fx.album, fx.list, fx.state, *shell, fx.dialogs},
        SkinFolder(fx.path(), QStringLiteral("Main")));
    window->runMenuCommand(SelectAll);
    window->runMenuCommand(OrderPrints);
    QFile got(received);
    QTRY_VERIFY(got.exists() && got.size() > 0);
    QVERIFY(got.open(QIODevice::ReadOnly));
    QStringList expected{fx.media(fx.list.text(0, 0)), fx.media(fx.list.text(1, 0))};
    QCOMPARE(QString::fromUtf8(got.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
}

void TestMenu::newAlbumCopiesTheSelectionAndWhatAnAlbumNeeds()
{
    WindowFixture fx;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"}) {
        fx.file(QString::fromLatin1(name), QByteArray(50, 'm'));
        fx.info(QString::fromLatin1(name), QStringLiteral("Rom"));
    }
    QDir(fx.path()).mkpath(QStringLiteral("Hilfe"));
    QFile help(fx.dir.filePath(QStringLiteral("Hilfe/Hilfe.html")));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.close();
    QTemporaryDir target;
    const QString folder = target.filePath(QStringLiteral("Urlaub/neu"));
    const NewAlbumOutcome made = createNewAlbum(AlbumPaths{fx.path()}, folder, {"a.jpg", "c.jpg"});
    QVERIFY2(made.failures.isEmpty(), qPrintable(made.failures.join('\n')));
    QCOMPARE(QDir(folder + QStringLiteral("/Bilder")).entryList(QDir::Files, QDir::Name), (QStringList{"a.jpg", "c.jpg"}));
    QCOMPARE(ReadPictureInfo(folder + QStringLiteral("/Bilder/a.jpg")).info.ort.trimmed(), QStringLiteral("Rom"));
    QVERIFY(QFile::exists(folder + QStringLiteral("/Hilfe/Hilfe.html")));
    QVERIFY(QFile::exists(folder + QStringLiteral("/Skins/Main/Skin.ini")));
    QVERIFY(QFileInfo(made.programFile).isExecutable());

    const NewAlbumOutcome empty = createNewAlbum(AlbumPaths{fx.path()}, target.filePath(QStringLiteral("leer")), {});
    QVERIFY(QDir(target.filePath(QStringLiteral("leer/Bilder"))).isEmpty());
    QVERIFY(!empty.programFile.isEmpty());

    const NewAlbumOutcome refused = createNewAlbum(AlbumPaths{fx.path()}, QStringLiteral("/proc/gibt/es/nicht"), {"a.jpg"});
    QVERIFY(refused.programFile.isEmpty());
    QCOMPARE(refused.failures.size(), 1);
}

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
