// The widget-free decisions of import and export: numbering, the number box, overwrite
// answers, free space, the browser's kinds.
#include "support/TransferFakes.h"

#include "platform/Drives.h"
#include "transfer/FolderFiles.h"
#include "transfer/FreeSpace.h"
#include "transfer/Numbering.h"
#include "transfer/OverwriteDecision.h"

#include <QTest>

#include <cerrno>

using namespace zv;

class TestTransferLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numbering_data();
    void numbering();
    void startNumber_data();
    void startNumber();
    void overwrite_data();
    void overwrite();
    void freeSpace_data();
    void freeSpace();
    void browserKinds_data();
    void browserKinds();
    void listingMessages();
};

void TestTransferLogic::numbering_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QStringList>("targets");
    QTest::addColumn<qint64>("next");
    QTest::newRow("from 0, case kept") << qint64(0) << QStringList{} << QStringList{"a.JPG", "b.jpg", "c.gif"}
                                       << QStringList{"000000.JPG", "000001.jpg", "000002.gif"} << qint64(3);
    QTest::newRow("number used by another kind") << qint64(5) << QStringList{"000005.pdf"} << QStringList{"x.jpg"}
                                                 << QStringList{"000006.jpg"} << qint64(7);
    QTest::newRow("every media extension counts")
        << qint64(1) << QStringList{"000001.mov", "000002.wav", "000003.mpeg", "000004.txt"}
        << QStringList{"y.avi", "z.avi"} << QStringList{"000004.avi", "000005.avi"} << qint64(6);
    QTest::newRow("seven digits as they are") << qint64(1234567) << QStringList{} << QStringList{"p.jpg"}
                                              << QStringList{"1234567.jpg"} << qint64(1234568);
    QTest::newRow("past 32 bits") << qint64(2147483647) << QStringList{} << QStringList{"p.jpg", "q.jpg"}
                                  << QStringList{"2147483647.jpg", "2147483648.jpg"} << qint64(2147483649);
}

void TestTransferLogic::numbering()
{
    QFETCH(qint64, start);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, sources);
    qint64 n = start;
    QStringList targets;
    for (const QString &source : sources) {
        const NumberedName numbered = numberedName(n, source.mid(source.lastIndexOf('.') + 1),
                                                   [&](const QString &name) { return existing.contains(name); });
        targets << numbered.name;
        existing << numbered.name; // the copy is there now
        n = numbered.next;
    }
    QTEST(targets, "targets");
    QTEST(n, "next");
}

void TestTransferLogic::startNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::newRow("empty is 0") << "" << true << qint64(0);
    QTest::newRow("box default") << "000000" << true << qint64(0);
    QTest::newRow("leading zeros") << "0042" << true << qint64(42);
    QTest::newRow("above 2147483647") << "2147483648" << true << qint64(2147483648);
    QTest::newRow("18 digits") << "999999999999999999" << true << qint64(999999999999999999);
    QTest::newRow("zeros do not count") << "0000000000000000000000017" << true << qint64(17);
    QTest::newRow("19 digits") << "1000000000000000000" << false << qint64(0);
    QTest::newRow("letter") << "12a" << false << qint64(0);
    QTest::newRow("sign") << "-1" << false << qint64(0);
    QTest::newRow("blank") << " 1" << false << qint64(0);
}

void TestTransferLogic::startNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto n = parseStartNumber(text);
    QCOMPARE(n.has_value(), valid);
    if (valid)
        QTEST(*n, "value");
    // The box complains about non-digits only; length is the import's business.
    QCOMPARE(isNumberText(text), valid || text.size() > 18);
}

void TestTransferLogic::overwrite_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("decisions"); // per existing file: C copy, S skip
    QTest::addColumn<int>("asked");
    QTest::newRow("nein, then ja alle") << QStringList{"n", "ja"} << "SCC" << 2;
    QTest::newRow("ja asks again") << QStringList{"j", "n", "j"} << "CSC" << 3;
    QTest::newRow("nein alle") << QStringList{"na"} << "SSS" << 1;
    QTest::newRow("ja alle") << QStringList{"ja"} << "CCC" << 1;
    QTest::newRow("other text replaces all") << QStringList{""} << "CCC" << 1;
}

void TestTransferLogic::overwrite()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, decisions);
    test::ScriptedQuestion question;
    question.answers.assign(answers.begin(), answers.end());
    OverwriteDecision decision;
    QString got;
    for (int i = 0; i < decisions.size(); ++i)
        got += decision.replace(QStringLiteral("f%1.jpg").arg(i), question) ? 'C' : 'S';
    QCOMPARE(got, decisions);
    QTEST(int(question.asked.size()), "asked");
    QCOMPARE(question.asked.first(), QStringLiteral("überschreiben?|f0.jpg"));
}

void TestTransferLogic::freeSpace_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("free");
    QTest::addColumn<bool>("refused");
    QTest::newRow("fits") << qint64(999) << qint64(1000) << false;
    QTest::newRow("exactly") << qint64(1000) << qint64(1000) << false;
    QTest::newRow("one byte more") << qint64(1001) << qint64(1000) << true;
    QTest::newRow("full drive") << qint64(1) << qint64(0) << true;
}

void TestTransferLogic::freeSpace()
{
    QFETCH(qint64, bytes);
    QFETCH(qint64, free);
    QFETCH(bool, refused);
    DriveInfo drive;
    drive.freeBytes = free;
    const auto refusal = freeSpaceRefusal(bytes, drive, QStringLiteral("urlaub.avi"));
    QCOMPARE(refusal.has_value(), refused);
    if (refused) {
        QCOMPARE(refusal->title, QStringLiteral("Kein Platz"));
        QCOMPARE(refusal->text, QStringLiteral("Auf dem Datenträger ist nicht\r\ngenügend Platz für die Datei:\r\nurlaub.avi"));
    }
}

void TestTransferLogic::browserKinds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("jpeg") << "a.JPEG" << "Bild";
    QTest::newRow("gif") << "a.gif" << "Bild";
    QTest::newRow("mov") << "a.Mov" << "Video";
    QTest::newRow("mp3") << "y.mp3" << "Audio";
    QTest::newRow("wav") << "y.WAV" << "Audio";
    QTest::newRow("pdf") << "x.pdf" << "text";
    QTest::newRow("png is not listed") << "x.png" << "";
    QTest::newRow("no extension") << "README" << "";
    QTest::newRow("copy under way") << ".zvcopy-abcdefgh.part" << "";
}

void TestTransferLogic::browserKinds()
{
    QFETCH(QString, name);
    QTEST(browserKind(name), "kind");
}

void TestTransferLogic::listingMessages()
{
    QCOMPARE(listingMessage(ENOENT).title, QStringLiteral("Kein Datenträger"));
    QCOMPARE(listingMessage(ENOENT).text, QStringLiteral("Legen die einen Datenträger in das Laufwerk"));
    QCOMPARE(listingMessage(EACCES).title, QStringLiteral("Fehler: %1").arg(EACCES));
    QVERIFY(!listingMessage(EACCES).text.isEmpty());
}

QTEST_GUILESS_MAIN(TestTransferLogic)
#include "tst_transferlogic.moc"
