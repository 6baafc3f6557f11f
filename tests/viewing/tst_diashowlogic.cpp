// The slide show without its window: the walk over the list, the delay and the panel sizing.
#include "app/AlbumListModel.h"
#include "viewing/DiaDelay.h"
#include "viewing/DiaShowList.h"
#include "viewing/DiaWalk.h"
#include "viewing/InfoPanelSizing.h"

#include <QTest>

using namespace zv;
using Direction = DiaWalk::Direction;

namespace {

// "BVB": Bild, Video, Bild; "U" an unknown file.
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

// Steps "f"orward and "b"ack from the start and lists the 1-based rows shown.
QString walk(const QString &kinds, const QString &steps, int start = 0)
{
    DiaWalk w(kinds.size());
    w.relocate(start, kinds.size());
    QStringList shown;
    for (QChar s : steps) {
        const auto index = w.step(s == u'f' ? Direction::Forward : Direction::Back,
                                  [&](int row) { return kinds[row] == u'B'; });
        shown << (index ? QString::number(*index) : QStringLiteral("-"));
    }
    return shown.join(QLatin1Char(' '));
}

} // namespace

class TestDiaShowLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stepping_data();
    void stepping();
    void modelChangesUnderTheShow_data();
    void modelChangesUnderTheShow();
    void delay_data();
    void delay();
    void panel_data();
    void panel();
};

void TestDiaShowLogic::stepping_data()
{
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("shown");
    QTest::newRow("video skipped, wraps to the start") << "BVB" << "fff" << 0 << "1 3 1";
    QTest::newRow("back before the first picture: last") << "BVB" << "b" << 0 << "3";
    QTest::newRow("back from the first picture: last") << "BVB" << "fb" << 0 << "1 3";
    QTest::newRow("back to the nearest picture before the end") << "BBVU" << "fb" << 0 << "1 2";
    QTest::newRow("there and back") << "BUBB" << "fffbb" << 0 << "1 3 4 3 1";
    QTest::newRow("single picture") << "VBV" << "ffb" << 0 << "2 2 2";
    QTest::newRow("no picture: no loop") << "VVU" << "fb" << 0 << "- -";
    QTest::newRow("empty list") << "" << "fb" << 0 << "- -";
    QTest::newRow("no picture keeps the place") << "VU" << "f" << 2 << "-";
}

void TestDiaShowLogic::stepping()
{
    QFETCH(QString, kinds);
    QFETCH(QString, steps);
    QFETCH(int, start);
    QFETCH(QString, shown);
    QCOMPARE(walk(kinds, steps, start), shown);
}

void TestDiaShowLogic::modelChangesUnderTheShow_data()
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

void TestDiaShowLogic::modelChangesUnderTheShow()
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
        for (const QString &n : change.mid(7).split(QLatin1Char(',')))
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
    QVERIFY(show.rowCount() == model.rowCount());
}

void TestDiaShowLogic::delay_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("delay");
    QTest::newRow("five seconds") << "5000" << 5000;
    QTest::newRow("shortest") << "500" << 500;
    QTest::newRow("longest") << "30000" << 30000;
    QTest::newRow("too short") << "499" << 3000;
    QTest::newRow("too long") << "30001" << 3000;
    QTest::newRow("fraction") << "2500.5" << 3000;
    QTest::newRow("words") << "schnell" << 3000;
    QTest::newRow("huge") << "99999999999" << 3000;
}

void TestDiaShowLogic::delay()
{
    QFETCH(QString, setting);
    QFETCH(int, delay);
    QCOMPARE(DiaDelay(setting), delay);
}

void TestDiaShowLogic::panel_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QSize>("before");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QPoint>("grip");
    QTest::addColumn<int>("lineWidth"); // 0: the lines keep their width
    const QSize start(16, 16);
    QTest::newRow("opened wide") << QPoint(300, 200) << start << QSize(308, 208) << QPoint(292, 192) << 284;
    QTest::newRow("exactly 230 wide") << QPoint(222, 100) << start << QSize(230, 108) << QPoint(214, 92) << 206;
    QTest::newRow("just under 230") << QPoint(221, 100) << start << QSize(229, 108) << QPoint(213, 92) << 0;
    QTest::newRow("below 230 down: height stays") << QPoint(100, 231) << QSize(200, 150) << QSize(108, 150) << QPoint(92, 134) << 0;
    QTest::newRow("230 down: tallest") << QPoint(100, 230) << QSize(200, 150) << QSize(108, 238) << QPoint(92, 222) << 0;
    QTest::newRow("above the grip's half: height stays") << QPoint(100, 8) << QSize(200, 150) << QSize(108, 150) << QPoint(92, 134) << 0;
    QTest::newRow("left of the window: grip's width") << QPoint(-50, 100) << QSize(200, 150) << QSize(16, 108) << QPoint(0, 92) << 0;
}

void TestDiaShowLogic::panel()
{
    QFETCH(QPoint, pointer);
    QFETCH(QSize, before);
    QFETCH(QSize, panel);
    QFETCH(QPoint, grip);
    QFETCH(int, lineWidth);
    const InfoPanelLayout layout = sizeInfoPanel(pointer, before, QSize(16, 16));
    QCOMPARE(layout.panel, panel);
    QCOMPARE(layout.grip, grip);
    QCOMPARE(layout.lineWidth.value_or(0), lineWidth);
}

QTEST_GUILESS_MAIN(TestDiaShowLogic)
#include "tst_diashowlogic.moc"
