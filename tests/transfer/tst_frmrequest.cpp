// The overwrite question: each button's code, the close box, and the program going on while it
// waits.
#include "transfer/frmRequest.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zv;

namespace {

// Acts on the window once it shows: clicks the named button, or closes through the title bar.
void answerWhenShown(frmRequest &window, const QString &button, QStringList &seen)
{
    auto *poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, button, &seen, poll] {
        if (!window.isVisible())
            return;
        poll->deleteLater();
        seen << window.windowTitle() + QLatin1Char('|') + window.findChild<QLabel *>(QStringLiteral("lblMSG"))->text();
        if (button.isEmpty())
            window.close();
        else
            window.findChild<QPushButton *>(button)->click();
    });
    poll->start(10);
}

} // namespace

class TestFrmRequest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestFrmRequest::answers_data()
{
    QTest::addColumn<QStringList>("actions"); // button names, "" for the close box
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("ja") << QStringList{"cmdYes"} << QStringList{"j"};
    QTest::newRow("ja alle") << QStringList{"cmdYesAll"} << QStringList{"ja"};
    QTest::newRow("nein") << QStringList{"cmdNo"} << QStringList{"n"};
    QTest::newRow("nein alle") << QStringList{"cmdNoAll"} << QStringList{"na"};
    QTest::newRow("close box") << QStringList{""} << QStringList{"n"};
    QTest::newRow("close box after ja alle") << QStringList{"cmdYesAll", ""} << QStringList{"ja", "n"};
    QTest::newRow("two calls") << QStringList{"cmdNo", "cmdYes"} << QStringList{"n", "j"};
}

void TestFrmRequest::answers()
{
    QFETCH(QStringList, actions);
    frmRequest window;
    // Another part of the program keeps running while the question waits.
    int ticks = 0;
    QTimer elsewhere;
    connect(&elsewhere, &QTimer::timeout, [&] { ++ticks; });
    elsewhere.start(1);
    QStringList codes, seen;
    for (const QString &action : actions) {
        answerWhenShown(window, action, seen);
        const int before = ticks;
        codes << window.ReqOverWr(QStringLiteral("bild.jpg"), QStringLiteral("überschreiben?"));
        QVERIFY(ticks > before);
        QVERIFY(!window.isVisible());
    }
    QTEST(codes, "codes");
    QCOMPARE(seen.size(), actions.size());
    QCOMPARE(seen.first(), QStringLiteral("überschreiben?|Soll die Datei bild.jpg mit bild.jpg ersetzt werden?"));
    QStringList order;
    for (QPushButton *b : window.findChildren<QPushButton *>())
        order << b->text() + QLatin1Char('@') + QString::number(b->x());
    QCOMPARE(order, (QStringList{"nein@6", "nein alle@96", "ja@186", "ja alle@276"}));
}

QTEST_MAIN(TestFrmRequest)
#include "tst_frmrequest.moc"
