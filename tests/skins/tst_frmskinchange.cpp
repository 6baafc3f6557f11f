#include "support/AlbumFolder.h"

#include "app/AppSettings.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "skins/SkinFolderList.h"
#include "skins/SkinPreview.h"
#include "skins/frmSkinChange.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace zv;

namespace {

// "d:x" folder, "f:x" file, "l:x>y" link x to y, each under dir.
void make(const QString &dir, const QByteArray &entry)
{
    const QByteArray kind = entry.left(2), rest = entry.mid(2);
    const QByteArray base = nativePath(dir) + '/';
    if (kind == "d:")
        QVERIFY(::mkdir((base + rest).constData(), 0755) == 0);
    else if (kind == "f:")
        QVERIFY(QFile(dir + QLatin1Char('/') + QString::fromLatin1(rest)).open(QIODevice::WriteOnly));
    else if (kind == "l:")
        QVERIFY(::symlink(rest.split('>').last().constData(), (base + rest.split('>').first()).constData()) == 0);
}

class SkinChangeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listing_data()
    {
        QTest::addColumn<QByteArrayList>("entries");
        QTest::addColumn<QByteArrayList>("expected");
        QTest::newRow("folders only") << QByteArrayList{"d:Main", "f:Skin.ini", "f:liesmich.txt"}
                                      << QByteArrayList{"Main"};
        QTest::newRow("sorted without case")
            << QByteArrayList{"d:Zebra", "d:blau", "d:Main", "d:alt"} << QByteArrayList{"alt", "blau", "Main", "Zebra"};
        QTest::newRow("case breaks ties") << QByteArrayList{"d:main", "d:Main"} << QByteArrayList{"Main", "main"};
        QTest::newRow("hidden folders") << QByteArrayList{"d:.thumbs", "d:Main"} << QByteArrayList{"Main"};
        QTest::newRow("links") << QByteArrayList{"d:Main", "l:Blau>Main", "l:Weg>fehlt", "f:x", "l:Datei>x"}
                               << QByteArrayList{"Blau", "Main"};
        QTest::newRow("name not UTF-8") << QByteArrayList{"d:Gr\xfcn", "d:Main"} << QByteArrayList{"Gr\xfcn", "Main"};
        QTest::newRow("no Skins folder") << QByteArrayList{} << QByteArrayList{};
    }
    void listing()
    {
        QFETCH(QByteArrayList, entries);
        QFETCH(QByteArrayList, expected);
        QTemporaryDir dir;
        const QString skins = dir.filePath(QStringLiteral("Skins"));
        if (!entries.isEmpty())
            QDir().mkpath(skins);
        for (const QByteArray &e : entries)
            make(skins, e);
        QStringList names;
        for (const SkinFolderEntry &skin : ListSkinFolders(skins + QLatin1Char('/'))) {
            names << skin.name;
            struct stat st {};
            QVERIFY2(::stat(nativePath(skin.path).constData(), &st) == 0 && S_ISDIR(st.st_mode), qPrintable(skin.path));
            QVERIFY(skin.path.endsWith(skin.name + QLatin1Char('/')));
        }
        QStringList want;
        for (const QByteArray &e : expected)
            want << decodeFileName(e);
        // QTemporaryDir cannot remove a name that is not UTF-8.
        for (const QByteArray &e : entries)
            if (e.startsWith("d:"))
                ::rmdir((nativePath(skins) + '/' + e.mid(2)).constData());
        QCOMPARE(names, want);
    }

    void preview_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // empty: a 200 x 100 picture
        QTest::addColumn<QSize>("expected");   // invalid: no preview
        QTest::newRow("enlarged into the box") << "Hintergrund.jpg" << QByteArray() << QSize(320, 160);
        QTest::newRow("other case") << "hintergrund.JPG" << QByteArray() << QSize(320, 160);
        QTest::newRow("missing") << "Logo.jpg" << QByteArray() << QSize();
        QTest::newRow("not a picture") << "Hintergrund.jpg" << QByteArray("kein JPEG") << QSize();
    }
    void preview()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        if (bytes.isEmpty()) {
            QImage image(200, 100, QImage::Format_RGB32);
            image.fill(Qt::blue);
            QVERIFY(image.save(path, "JPEG"));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const QImage preview = LoadSkinPreview(dir.path() + QLatin1Char('/'), QSize(320, 240));
        QCOMPARE(preview.isNull(), !expected.isValid());
        if (expected.isValid()) {
            QCOMPARE(preview.size(), expected);
            QVERIFY(qAbs(preview.pixelColor(160, 80).blue() - 255) < 8);
        }
    }

    void windowListsSkins()
    {
        test::AlbumFolder album;
        Window w(album);
        QCOMPARE(w.form->windowTitle(), QStringLiteral("Skinauswahl"));
        QCOMPARE(w.apply()->text(), QStringLiteral("übernehmen"));
        QCOMPARE(w.cancel()->text(), QStringLiteral("abbrechen"));
        QStringList shown;
        for (int i = 0; i < w.list()->count(); ++i)
            shown << w.list()->item(i)->text();
        QCOMPARE(shown, (QStringList{QStringLiteral("Blau"), QStringLiteral("Main")}));
        QVERIFY(w.list()->selectedItems().isEmpty());
    }

    void windowPreview_data()
    {
        QTest::addColumn<QString>("missingFile");
        QTest::addColumn<QString>("skin");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Blau") << QString() << "Blau" << true;
        QTest::newRow("Main") << QString() << "Main" << true;
        QTest::newRow("without background") << "Hintergrund.jpg" << "Main" << false;
    }
    void windowPreview()
    {
        QFETCH(QString, missingFile);
        QFETCH(QString, skin);
        QFETCH(bool, shown);
        test::AlbumFolder album(missingFile);
        Window w(album);
        w.select(skin);
        auto *view = w.form->findChild<QLabel *>(QStringLiteral("imgView"));
        QVERIFY(view);
        QCOMPARE(view->pixmap().isNull(), !shown);
        QCOMPARE(view->text(), shown ? QString() : QStringLiteral("keine Vorschau"));
        if (shown) {
            // The skin's own picture, not another skin's: compare the centres.
            QImage original(album.path() + QStringLiteral("/Skins/") + skin + QStringLiteral("/Hintergrund.jpg"));
            const QImage seen = view->pixmap().toImage();
            QCOMPARE(seen.size(), original.size().scaled(view->size(), Qt::KeepAspectRatio));
            const QColor a = original.pixelColor(original.width() / 2, original.height() / 2);
            const QColor b = seen.pixelColor(seen.width() / 2, seen.height() / 2);
            QVERIFY2(qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 40,
                     qPrintable(a.name() + QLatin1Char(' ') + b.name()));
        }
    }

    void apply_data()
    {
        QTest::addColumn<QString>("skin");   // empty: nothing selected
        QTest::addColumn<bool>("onlyCurrent"); // the row is current, but not selected
        QTest::newRow("Blau") << "Blau" << false;
        QTest::newRow("Main") << "Main" << false;
        QTest::newRow("nothing selected") << QString() << false;
        QTest::newRow("current, not selected") << "Blau" << true;
    }
    void apply()
    {
        QFETCH(QString, skin);
        QFETCH(bool, onlyCurrent);
        test::AlbumFolder album;
        Window w(album);
        w.settings.SkinPath = QStringLiteral("vorher");
        w.settings.Delay = QStringLiteral("4500");
        QSignalSpy applied(w.form.get(), &frmSkinChange::skinApplied);
        if (onlyCurrent)
            w.list()->setCurrentRow(w.row(skin), QItemSelectionModel::NoUpdate);
        else if (!skin.isEmpty())
            w.select(skin);
        QTest::mouseClick(w.apply(), Qt::LeftButton);

        const bool takes = !skin.isEmpty() && !onlyCurrent;
        const auto stored = makeFileSettings(w.iniPath);
        QCOMPARE(stored->value(QStringLiteral("Skin"), QStringLiteral("SkinPath"), QStringLiteral("-")),
                 takes ? skin : QStringLiteral("-"));
        QCOMPARE(stored->value(QStringLiteral("DiaShow"), QStringLiteral("Delay"), QStringLiteral("-")),
                 takes ? QStringLiteral("4500") : QStringLiteral("-"));
        QCOMPARE(w.settings.SkinPath, takes ? skin : QStringLiteral("vorher"));
        QCOMPARE(applied.count(), takes ? 1 : 0);
        if (takes)
            QCOMPARE(applied.first().first().toString(), skin);
        QCOMPARE(w.cancel()->text(), takes ? QStringLiteral("fertig") : QStringLiteral("abbrechen"));
    }

    void cancelCloses()
    {
        test::AlbumFolder album;
        Window w(album);
        QSignalSpy applied(w.form.get(), &frmSkinChange::skinApplied);
        w.select(QStringLiteral("Blau"));
        QTest::mouseClick(w.apply(), Qt::LeftButton);
        w.select(QStringLiteral("Main"));
        QTest::mouseClick(w.apply(), Qt::LeftButton);
        QCOMPARE(applied.count(), 2); // it stays open for another skin
        QVERIFY(w.form->isVisible());
        QTest::mouseClick(w.cancel(), Qt::LeftButton);
        QVERIFY(!w.form->isVisible());
        QCOMPARE(makeFileSettings(w.iniPath)->value(QStringLiteral("Skin"), QStringLiteral("SkinPath"), {}),
                 QStringLiteral("Main"));
    }

private:
    struct Window {
        explicit Window(const test::AlbumFolder &album)
            : iniPath(settingsDir.filePath(QStringLiteral("settings.ini")))
            , store(makeFileSettings(iniPath))
            , form(std::make_unique<frmSkinChange>(AlbumPaths{album.path()}, *store, settings))
        {
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        }
        QListWidget *list() const { return form->findChild<QListWidget *>(QStringLiteral("lstSkins")); }
        QPushButton *apply() const { return form->findChild<QPushButton *>(QStringLiteral("cmdApply")); }
        QPushButton *cancel() const { return form->findChild<QPushButton *>(QStringLiteral("cmdCancel")); }
        int row(const QString &skin) const { return list()->row(list()->findItems(skin, Qt::MatchExactly).value(0)); }
        void select(const QString &skin) const
        {
            QListWidgetItem *item = list()->item(row(skin));
            QVERIFY(item);
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
        }

        QTemporaryDir settingsDir;
        QString iniPath;
        std::unique_ptr<SettingsStore> store;
        SettingsValues settings;
        std::unique_ptr<frmSkinChange> form;
    };
};

} // namespace

QTEST_MAIN(SkinChangeTest)
#include "tst_frmskinchange.moc"
