// A user searches the album by place, goes back, and sorts by date, in the real program. Each
// file is a picture of its own colour, so the preview tells which rows the list holds.
#include "store/PictureTrailer.h"
#include "support/ProgramRun.h"
#include "support/XDo.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

using namespace zv::test;

namespace {

struct Picture {
    const char *name;
    QColor colour;
    const char *ort;
    const char *datum;
};

const Picture kPictures[] = {{"rot.jpg", QColor(200, 30, 30), "Köln", "01.02.2004"},
                             {"gruen.jpg", QColor(30, 170, 40), "Bonn", "31.12.2002"},
                             {"blau.jpg", QColor(30, 40, 200), "Köln Dom", "15.01.2003"},
                             {"gelb.jpg", QColor(220, 200, 20), "Ulm", "xx.xx.2003"}};

QString pictureAt(const QPoint &screenPoint)
{
    const QColor c = QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(screenPoint);
    for (const Picture &p : kPictures)
        if (qAbs(c.red() - p.colour.red()) < 30 && qAbs(c.green() - p.colour.green()) < 30
            && qAbs(c.blue() - p.colour.blue()) < 30)
            return QString::fromLatin1(p.name);
    return QStringLiteral("?");
}

} // namespace

class TestSearchJourney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchBackAndSortByDate();
};

void TestSearchJourney::searchBackAndSortByDate()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    for (const Picture &p : kPictures) {
        QImage image(80, 80, QImage::Format_RGB32);
        image.fill(p.colour);
        const QString path = run.media(QString::fromLatin1(p.name));
        QVERIFY(image.save(path));
        zv::PictureInfo info;
        info.ort = QString::fromUtf8(p.ort);
        info.datum = QString::fromLatin1(p.datum);
        QVERIFY(!zv::WritePictureInfo(path, info));
    }
    QVERIFY(run.start());
    const QRect window = awaitMainWindow();
    QVERIFY(!window.isEmpty());
    const QPoint preview = window.topLeft() + QPoint(196 + 91, 60 + 91);
    const QPoint firstRow = window.topLeft() + QPoint(120, 440 + 30);
    // The rows from the top, read through the preview: click the first, then step down.
    const auto rows = [&] {
        QStringList seen;
        clickAt(firstRow);
        QTest::qWait(300);
        seen << pictureAt(preview);
        for (int i = 0; i < 5; ++i) {
            pressKeys({QStringLiteral("Down")});
            QTest::qWait(300);
            const QString shown = pictureAt(preview);
            if (shown == seen.last())
                break;
            seen << shown;
        }
        return seen;
    };
    const auto sorted = [](QStringList list) {
        list.sort();
        return list;
    };
    QCOMPARE(sorted(rows()), (QStringList{"blau.jpg", "gelb.jpg", "gruen.jpg", "rot.jpg"}));

    QVERIFY(clickAt(window.topLeft() + QPoint(94, 140))); // "Suchen"
    QVERIFY(clickAt(window.topLeft() + QPoint(540, 108))); // "Ort:"
    QVERIFY(typeText(QStringLiteral("köln")));
    QVERIFY(clickAt(window.topLeft() + QPoint(392 + 82, 212 + 30))); // start
    QTest::qWait(300);
    QCOMPARE(sorted(rows()), (QStringList{"blau.jpg", "rot.jpg"}));

    QVERIFY(clickAt(window.topLeft() + QPoint(392 + 234, 212 + 30))); // "zurück"
    QTest::qWait(300);
    QCOMPARE(sorted(rows()), (QStringList{"blau.jpg", "gelb.jpg", "gruen.jpg", "rot.jpg"}));

    QVERIFY(clickAt(window.topLeft() + QPoint(31 + 190 + 75 + 40, 440 + 8))); // the "Datum" header
    QTest::qWait(300);
    QCOMPARE(rows(), (QStringList{"gruen.jpg", "blau.jpg", "gelb.jpg", "rot.jpg"}));
}

QTEST_MAIN(TestSearchJourney)
#include "tst_searchjourney.moc"
