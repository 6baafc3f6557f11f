// The import browser and the export dialog as a user drives them.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"
#include "support/TransferFakes.h"

#include "app/Album.h"
#include "app/AlbumListModel.h"
#include "app/AlbumLoader.h"
#include "platform/SettingsStore.h"
#include "transfer/FolderTreeView.h"
#include "transfer/frmExplorer.h"
#include "transfer/frmSaveFiles.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace zv;

namespace {

// Notes whether the import button was usable while the question waited.
class WatchingQuestion : public test::ScriptedQuestion {
public:
    QPushButton *add = nullptr;
    bool addEnabledWhileAsking = true;
    QString ReqOverWr(const QString &name, const QString &title) override
    {
        addEnabledWhileAsking = add && add->isEnabled();
        return ScriptedQuestion::ReqOverWr(name, title);
    }
};

struct ExplorerFixture : test::AlbumFolder {
    QTemporaryDir from;
    Album album;
    AlbumListModel list;
    test::FakeDrives drives;
    test::ScriptedDialogs dialogs;
    WatchingQuestion question;
    std::unique_ptr<SettingsStore> settings = makeFileSettings(from.filePath(QStringLiteral("s.ini")));

    ExplorerFixture()
    {
        drives.drive.root = from.path();
        drives.drive.name = QStringLiteral("Stick");
        drives.drive.type = DriveType::Removable;
        drives.drive.freeBytes = qint64(1) << 40;
    }
    void source(const QString &name, const QByteArray &bytes)
    {
        QFile f(from.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::unique_ptr<frmExplorer> open()
    {
        album = loadAlbum(media(QString()));
        list.fill(album);
        auto w = std::make_unique<frmExplorer>(
            ExplorerServices{AlbumPaths{path()}, album, list, drives, *settings, dialogs, makeSystemFolderSource(), &question});
        w->show();
        return w;
    }
};

template<typename T>
T *child(QWidget &w, const char *name)
{
    return w.findChild<T *>(QLatin1String(name));
}

} // namespace

class TestTransferWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberBox_data();
    void numberBox();
    void importFromTheList();
    void listingFails();
    void border();
    void exportToSelectedFolder();
};

void TestTransferWindows::numberBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("box");
    QTest::newRow("digits") << "123" << "" << "123";
    QTest::newRow("letter") << "12a" << "Hinweis|Bitte nur Zahlen eingeben" << "7";
    QTest::newRow("cleared") << "" << "" << "";
}

void TestTransferWindows::numberBox()
{
    QFETCH(QString, typed);
    ExplorerFixture f;
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("Number"), QStringLiteral("7"));
    const auto w = f.open();
    auto *box = child<QLineEdit>(*w, "txtNumber");
    QCOMPARE(box->text(), QStringLiteral("7"));
    box->clear();
    QTest::keyClicks(box, typed);
    QTEST(f.dialogs.shown.join(QLatin1Char(';')), "shown");
    QTEST(box->text(), "box");
}

void TestTransferWindows::importFromTheList()
{
    ExplorerFixture f;
    f.file(QStringLiteral("a.jpg"), "old");
    f.source(QStringLiteral("a.jpg"), QByteArray(2048, 'a'));
    f.source(QStringLiteral("b.pdf"), QByteArray(1536, 'b'));
    f.source(QStringLiteral("c.png"), "not listed");
    f.settings->setValue(QStringLiteral("Import"), QStringLiteral("chkState"), QStringLiteral("1"));
    const auto w = f.open();
    f.question.add = child<QPushButton>(*w, "cmdAdd");
    f.question.answers = {"j"};
    QCOMPARE(w->windowTitle(), QStringLiteral("Velmora - Dateien einfügen"));
    QVERIFY(child<QCheckBox>(*w, "chkNumber")->isChecked());
    child<QCheckBox>(*w, "chkNumber")->setChecked(false);

    QSignalSpy listed(w.get(), &frmExplorer::listed);
    w->listFolder(f.from.path());
    QVERIFY(listed.wait());
    auto *lv = child<QTreeWidget>(*w, "lv");
    QStringList rows;
    for (int i = 0; i < lv->topLevelItemCount(); ++i)
        rows << lv->topLevelItem(i)->text(0) + QLatin1Char('/') + lv->topLevelItem(i)->text(1);
    rows.sort();
    QCOMPARE(rows, (QStringList{"a.jpg/2", "b.pdf/2"})); // 1.5 KB rounds to the even 2
    lv->selectAll();

    QSignalSpy finished(w.get(), &frmExplorer::importFinished);
    QTest::mouseClick(child<QPushButton>(*w, "cmdAdd"), Qt::LeftButton);
    QVERIFY(finished.wait());
    QCOMPARE(f.question.asked, QStringList{"überschreiben?|a.jpg"});
    QVERIFY(!f.question.addEnabledWhileAsking);
    QVERIFY(child<QPushButton>(*w, "cmdAdd")->isEnabled());
    QCOMPARE(f.dialogs.shown, QStringList{"|Aktion ausgeführt."});
    QCOMPARE(child<QPushButton>(*w, "cmdCancel")->text(), QStringLiteral("fertig"));
    QCOMPARE(child<QProgressBar>(*w, "picDrop")->value(), 2);
    QCOMPARE(f.bytes(QStringLiteral("a.jpg")), QByteArray(2048, 'a'));
    QCOMPARE(f.album.EntryCount, 2);
    QCOMPARE(f.list.rowCount(), 2);
    QCOMPARE(f.list.text(f.list.rowOf(QStringLiteral("a.jpg")), AlbumListModel::Groesse), QStringLiteral("2"));

    w->close();
    QCOMPARE(f.settings->value(QStringLiteral("Import"), QStringLiteral("chkState"), {}), QStringLiteral("0"));
}

void TestTransferWindows::listingFails()
{
    ExplorerFixture f;
    const auto w = f.open();
    QSignalSpy listed(w.get(), &frmExplorer::listed);
    w->listFolder(f.from.filePath(QStringLiteral("kein/Ordner")));
    QVERIFY(listed.wait());
    QCOMPARE(f.dialogs.shown, QStringList{"Kein Datenträger|Legen die einen Datenträger in das Laufwerk"});
}

void TestTransferWindows::border()
{
    ExplorerFixture f;
    const auto w = f.open();
    auto *bar = child<QProgressBar>(*w, "picDrop");
    auto *lv = child<QTreeWidget>(*w, "lv");
    const int before = bar->x();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 10));
    const auto moveTo = [&](int x) {
        QMouseEvent move(QEvent::MouseMove, bar->mapFrom(w.get(), QPoint(x, 10)), bar->mapToGlobal(bar->mapFrom(w.get(), QPoint(x, 10))),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(bar, &move);
    };
    moveTo(10); // within 20 pixels of the edge: stays
    QCOMPARE(bar->x(), before);
    moveTo(300);
    QCOMPARE(bar->x(), 300 - bar->width() / 2);
    QCOMPARE(child<QTreeWidget>(*w, "tv")->width(), bar->x());
    QCOMPARE(lv->x(), bar->x() + bar->width());
    QCOMPARE(lv->x() + lv->width(), w->width());
    moveTo(w->width() - 10);
    QCOMPARE(bar->x(), 300 - bar->width() / 2);
}

void TestTransferWindows::exportToSelectedFolder()
{
    test::AlbumFolder album;
    album.file(QStringLiteral("a.jpg"), QByteArray(1000, 'a'));
    album.info(QStringLiteral("a.jpg"), QStringLiteral("Bonn"));
    album.file(QStringLiteral("b.avi"), QByteArray(5000, 'b'));
    QTemporaryDir target;
    test::FakeDrives drives;
    drives.drive.root = target.path();
    drives.drive.name = QStringLiteral("Stick");
    drives.drive.type = DriveType::Removable;
    test::ScriptedDialogs dialogs;
    test::ScriptedQuestion question;
    QStringList calls;
    frmSaveFiles w({AlbumPaths{album.path()}, drives, dialogs, makeSystemFolderSource(), {"a.jpg", "b.avi"},
                    [&] { calls << QStringLiteral("closeMovie"); }, &question});
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Velmora - Speichern unter"));
    QTest::mouseClick(child<QPushButton>(w, "cmdSave"), Qt::LeftButton);
    QCOMPARE(dialogs.shown, QStringList{"Hinweis|Bitte zuerst einen Ordner auswählen, in den gespeichert werden soll."});
    QVERIFY(w.isVisible());
    QVERIFY(calls.isEmpty());

    QSignalSpy titles(&w, &QWidget::windowTitleChanged);
    QSignalSpy exported(&w, &frmSaveFiles::exported);
    w.tree()->topLevelItem(0)->setSelected(true);
    QTest::mouseClick(child<QPushButton>(w, "cmdSave"), Qt::LeftButton);
    QVERIFY(exported.count() || exported.wait());
    QVERIFY(!w.isVisible());
    QCOMPARE(calls, QStringList{"closeMovie"});
    QCOMPARE(titles.first().first().toString(), QStringLiteral("Kopiere: a.jpg"));
    QCOMPARE(titles.last().first().toString(), QStringLiteral("Kopiere: b.avi"));
    for (const char *name : {"a.jpg", "b.avi"}) {
        QFile copy(target.filePath(QLatin1String(name)));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), album.bytes(QLatin1String(name)));
    }
    QCOMPARE(child<QProgressBar>(w, "pb")->value(), 2);
}

QTEST_MAIN(TestTransferWindows)
#include "tst_transferwindows.moc"
