// The slide show: its walk and delay alone, then the window over a temporary album.
#include "support/AlbumFolder.h"
#include "support/Fakes.h"

#include "app/AlbumListModel.h"
#include "app/AlbumLoader.h"
#include "app/AppSettings.h"
#include "platform/SettingsStore.h"
#include "viewing/DiaButton.h"
#include "viewing/DiaDelay.h"
#include "viewing/DiaShowList.h"
#include "viewing/frmDiaShow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>

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

struct Show : test::AlbumFolder {
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
    template <typename T = QLabel> T *child(const char *name) const { return window->findChild<T *>(name); }
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

    Album album;
    AlbumListModel list;
    std::unique_ptr<SettingsStore> store;
    SettingsValues values;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<frmDiaShow> window;
};

} // namespace

class TestDiaShow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walk_data()
    {
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QString>("steps"); // "f"orward and "b"ack from the start
        QTest::addColumn<QString>("shown"); // the 1-based rows
        QTest::newRow("video skipped, wraps to the start") << "BVB" << "fff" << "1 3 1";
        QTest::newRow("back before the first picture: last") << "BVB" << "b" << "3";
        QTest::newRow("back to the nearest picture before the end") << "BBVU" << "fb" << "1 2";
        QTest::newRow("single picture") << "VBV" << "ffb" << "2 2 2";
        QTest::newRow("no picture: no loop") << "VVU" << "fb" << "- -";
        QTest::newRow("empty list") << "" << "fb" << "- -";
    }
    void walk()
    {
        QFETCH(QString, kinds);
        QFETCH(QString, steps);
        QFETCH(QString, shown);
        DiaWalk walk(kinds.size());
        QStringList seen;
        for (QChar s : steps) {
            const auto index = walk.step(s == u'f' ? Direction::Forward : Direction::Back,
                                         [&](int row) { return kinds[row] == u'B'; });
            seen << (index ? QString::number(*index) : QStringLiteral("-"));
        }
        QCOMPARE(seen.join(u' '), shown);
    }

    void modelChangesUnderTheShow_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("next"); // the file the next step shows, and the place
        // Rows f1..f6, all pictures but f2 (a video); the show is at f4.
        QTest::newRow("rows from the shown one to the end removed") << "remove 3,4,5" << "f1.jpg 1/3";
        QTest::newRow("rows before it removed") << "remove 0,1" << "f5.jpg 3/4";
        QTest::newRow("shown row removed") << "remove 3" << "f5.jpg 4/5";
        QTest::newRow("sorted backwards") << "reverse" << "f3.jpg 4/6";
        QTest::newRow("refilled without it") << "refill" << "f1.jpg 1/2";
        QTest::newRow("every picture removed") << "remove 0,2,3,4,5" << "- 1/1";
    }
    void modelChangesUnderTheShow()
    {
        QFETCH(QString, change);
        QFETCH(QString, next);
        AlbumListModel model;
        model.appendRows(rows(QStringLiteral("BVBBBB")));
        DiaShowList show(model);
        for (int i = 0; i < 3; ++i)
            show.step(Direction::Forward);
        QCOMPARE(show.current(), 4);
        if (change.startsWith(QLatin1String("remove"))) {
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
        const auto slide = show.step(Direction::Forward);
        const QString got = (slide ? slide->row.name : QStringLiteral("-"))
            + QStringLiteral(" %1/%2").arg(slide ? slide->index : show.current()).arg(show.rowCount());
        QCOMPARE(got, next);
        QCOMPARE(show.rowCount(), model.rowCount());
    }

    void delay_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("delay");
        QTest::newRow("shortest") << "500" << 500;
        QTest::newRow("longest") << "30000" << 30000;
        QTest::newRow("too short") << "499" << 3000;
        QTest::newRow("too long") << "30001" << 3000;
        QTest::newRow("words") << "schnell" << 3000;
    }
    void delay()
    {
        QFETCH(QString, setting);
        QFETCH(int, delay);
        QCOMPARE(DiaDelay(setting), delay);
    }

    // a.jpg, a video, c.jpg and d.jpg that cannot be decoded: the picture stays the last one shown.
    void windowSteps_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("index");
        QTest::newRow("video skipped") << QStringList{"cmdNext", "cmdNext"} << "c.jpg" << "c.jpg" << "Datei: 3/4";
        QTest::newRow("broken file") << QStringList{"cmdNext", "cmdNext", "cmdNext"} << "d.jpg" << "c.jpg"
                                     << "Datei: 4/4";
        QTest::newRow("back before the first") << QStringList{"cmdBack", "cmdBack"} << "c.jpg" << "c.jpg"
                                               << "Datei: 3/4";
        QTest::newRow("arrow keys, back from the first") << QStringList{"Right", "Left"} << "d.jpg" << "a.jpg"
                                                         << "Datei: 4/4";
        QTest::newRow("wheel") << QStringList{"wheel-", "wheel-", "wheel+"} << "a.jpg" << "a.jpg" << "Datei: 1/4";
    }
    void windowSteps()
    {
        QFETCH(QStringList, actions);
        QFETCH(QString, file);
        QFETCH(QString, shown);
        QFETCH(QString, index);
        Show s;
        s.picture(QStringLiteral("a.jpg"), {400, 300});
        s.file(QStringLiteral("b.mp4"));
        s.picture(QStringLiteral("c.jpg"), {300, 400});
        s.info(QStringLiteral("c.jpg"), QStringLiteral("Rom"), QStringLiteral("Am Brunnen"));
        s.file(QStringLiteral("d.jpg"), "\xFF\xD8\xFF\xE0 kaputt");
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
        QCOMPARE(w.size(), w.screen()->geometry().size()); // full screen; the fitting is checked end to end
        s.act(QStringLiteral("Esc"));
        QVERIFY(!w.isVisible());
    }

    // Stepping by hand pauses a running show, play and the space bar go on; the slider saves the delay.
    void windowPausesAndSavesTheDelay()
    {
        Show s;
        s.picture(QStringLiteral("a.jpg"), {400, 300});
        s.file(QStringLiteral("b.mp4"));
        s.picture(QStringLiteral("c.jpg"), {400, 300});
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

    void noPictureNoShow()
    {
        Show s;
        s.file(QStringLiteral("film.mp4"));
        QVERIFY(!s.open().start());
        QVERIFY(!s.window->isVisible());
        QCOMPARE(s.dialogs.shown, QStringList{"Diashow|In der Liste ist kein Bild, das die Diashow zeigen könnte."});
    }
};

QTEST_MAIN(TestDiaShow)
#include "tst_diashow.moc"
