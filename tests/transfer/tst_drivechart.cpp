// The drive usage chart: size texts, the pie read back from its pixels, unreadable drives.
#include "support/Fakes.h"

#include "platform/Drives.h"
#include "transfer/DriveChart.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace zv;

namespace {

DriveInfo drive(qint64 freeBytes, qint64 totalBytes, bool ready = true)
{
    DriveInfo info;
    info.root = QStringLiteral("/");
    info.freeBytes = freeBytes;
    info.totalBytes = totalBytes;
    info.ready = ready;
    return info;
}

// The colour two thirds out from the centre at `degrees`, counter-clockwise from 3 o'clock.
QColor colourAt(const QImage &pie, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    const double r = pie.width() / 3.0;
    return pie.pixelColor(qRound(pie.width() / 2.0 + r * std::cos(a)), qRound(pie.height() / 2.0 - r * std::sin(a)));
}

} // namespace

class TestDriveChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sizeText_data();
    void sizeText();
    void texts_data();
    void texts();
    void pie_data();
    void pie();
};

void TestDriveChart::sizeText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << "0 Bytes";
    QTest::newRow("512") << qint64(512) << "512 Bytes";
    QTest::newRow("just under a KB") << qint64(1023) << "1023 Bytes";
    QTest::newRow("one KB") << qint64(1024) << "1 KB";
    QTest::newRow("1.5 KB up") << qint64(1536) << "2 KB";
    QTest::newRow("2.5 KB down to even") << qint64(2560) << "2 KB";
    QTest::newRow("just under a MB") << qint64(1048575) << "1024 KB";
    QTest::newRow("one MB") << qint64(1048576) << "1 MB";
    QTest::newRow("2.5 MB down to even") << qint64(2621440) << "2 MB";
    QTest::newRow("one GB still in MB") << qint64(1073741824) << "1024 MB";
    QTest::newRow("just over a GB") << qint64(1073741825) << "1 GB";
    QTest::newRow("2.5 GB down to even") << qint64(2684354560) << "2 GB";
    QTest::newRow("3.5 GB up to even") << qint64(3758096384) << "4 GB";
    QTest::newRow("8 TB") << qint64(8) * 1024 * 1024 * 1024 * 1024 << "8192 GB";
}

void TestDriveChart::sizeText()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(driveSizeText(bytes), text);
}

void TestDriveChart::texts_data()
{
    QTest::addColumn<DriveInfo>("info");
    QTest::addColumn<QString>("freeText");
    QTest::addColumn<QString>("usedText");
    QTest::addColumn<QColor>("freeColour");
    QTest::addColumn<QColor>("usedColour");
    const QColor green(0, 255, 0), red(255, 0, 0), grey(192, 192, 192);
    QTest::newRow("used one GB") << drive(512, 1073742336) << "frei:  512 Bytes" << "belegt:  1024 MB" << green << red;
    QTest::newRow("empty drive") << drive(1536, 1536) << "frei:  2 KB" << "belegt:  0 Bytes" << green << red;
    QTest::newRow("full drive") << drive(0, 3758096384) << "frei:  0 Bytes" << "belegt:  4 GB" << green << red;
    QTest::newRow("free above total") << drive(5000, 2048) << "frei:  2 KB" << "belegt:  0 Bytes" << green << red;
    QTest::newRow("total 0") << drive(0, 0) << "frei:  unbekannt" << "belegt:  unbekannt" << grey << grey;
    QTest::newRow("not readable") << drive(1024, 2048, false) << "frei:  unbekannt" << "belegt:  unbekannt" << grey
                                  << grey;
}

void TestDriveChart::texts()
{
    QFETCH(DriveInfo, info);
    QFETCH(QString, freeText);
    QFETCH(QString, usedText);
    QFETCH(QColor, freeColour);
    QFETCH(QColor, usedColour);
    test::FakeDrives drives;
    drives.drive = info;
    const DriveChart chart = drawInfo(drives, QStringLiteral("/album"));
    QCOMPARE(chart.freeText, freeText);
    QCOMPARE(chart.usedText, usedText);
    QCOMPARE(chart.freeColour, freeColour);
    QCOMPARE(chart.usedColour, usedColour);
    QCOMPARE(chart.known, info.ready && info.totalBytes > 0);
}

void TestDriveChart::pie_data()
{
    QTest::addColumn<DriveInfo>("info");
    // Colour letters at 22.5°, 67.5°, ... 337.5°, counter-clockwise from 3 o'clock.
    QTest::addColumn<QString>("octants");
    QTest::newRow("one quarter free: upper right green") << drive(250, 1000) << "ggrrrrrr";
    QTest::newRow("one eighth free") << drive(125, 1000) << "grrrrrrr";
    QTest::newRow("half free: upper half green") << drive(500, 1000) << "ggggrrrr";
    QTest::newRow("three quarters free") << drive(750, 1000) << "ggggggrr";
    QTest::newRow("empty drive all green") << drive(1000, 1000) << "gggggggg";
    QTest::newRow("one byte used all green") << drive(99999, 100000) << "gggggggg";
    QTest::newRow("full drive all red") << drive(0, 1000) << "rrrrrrrr";
    QTest::newRow("one byte free all red") << drive(1, 100000) << "rrrrrrrr";
    QTest::newRow("total 0 grey") << drive(0, 0) << "........";
    QTest::newRow("unreadable grey") << drive(500, 1000, false) << "........";
}

void TestDriveChart::pie()
{
    QFETCH(DriveInfo, info);
    QFETCH(QString, octants);
    const DriveChart chart = drawInfo(info);
    QCOMPARE(chart.pie.size(), QSize(90, 90));
    for (int i = 0; i < 8; ++i) {
        const QColor expected = octants.at(i) == u'g'   ? QColor(0, 255, 0)
                                : octants.at(i) == u'r' ? QColor(255, 0, 0)
                                                        : QColor(192, 192, 192);
        QCOMPARE(colourAt(chart.pie, 22.5 + 45 * i), expected);
    }
    // The disc fills the box edge to edge and leaves the corners clear.
    QCOMPARE(chart.pie.pixelColor(2, 2).alpha(), 0);
    QVERIFY(chart.pie.pixelColor(45, 2).alpha() == 255);
    QVERIFY(chart.pie.pixelColor(2, 45).alpha() == 255);
}

QTEST_GUILESS_MAIN(TestDriveChart)
#include "tst_drivechart.moc"
