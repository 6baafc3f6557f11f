#include "skins/ParseColour.h"
#include "skins/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using zv::ParseColour;
using zv::ProfileFile;

class TestSkinText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseColour_data();
    void parseColour();
    void profileValue_data();
    void profileValue();
    void profileFileIsWindows1252();
    void missingProfileGivesDefaults();
};

void TestSkinText::parseColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("grey default") << "AAAAAA" << true << QColor(170, 170, 170);
    QTest::newRow("black") << "000000" << true << QColor(0, 0, 0);
    QTest::newRow("red is first pair") << "FF0000" << true << QColor(255, 0, 0);
    QTest::newRow("blue is last pair") << "0000FF" << true << QColor(0, 0, 255);
    QTest::newRow("lower case") << "ff8000" << true << QColor(255, 128, 0);
    QTest::newRow("mixed case") << "aBcDeF" << true << QColor(0xAB, 0xCD, 0xEF);
    QTest::newRow("seventh and later ignored") << "12345678" << true << QColor(0x12, 0x34, 0x56);
    QTest::newRow("trailing words ignored") << "102030 ; rot" << true << QColor(0x10, 0x20, 0x30);
    QTest::newRow("empty") << "" << false << QColor();
    QTest::newRow("three digits") << "FFF" << false << QColor();
    QTest::newRow("five digits") << "12345" << false << QColor();
    QTest::newRow("letter beyond F") << "12G456" << false << QColor();
    QTest::newRow("hash prefix") << "#FF0000" << false << QColor();
    QTest::newRow("basic prefix") << "&HFF00" << false << QColor();
    QTest::newRow("leading blank") << " FF0000" << false << QColor();
    QTest::newRow("sign") << "+12345" << false << QColor();
    QTest::newRow("full-width digits") << QString::fromUtf8("\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16") << false << QColor();
}

void TestSkinText::parseColour()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QColor, colour);
    const auto parsed = ParseColour(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(parsed->rgb(), colour.rgb());
}

void TestSkinText::profileValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString fallback = QStringLiteral("DEFAULT");
    QTest::newRow("plain") << "[Farben]\nOrtBG=112233\n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("section case") << "[FARBEN]\nOrtBG=112233\n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("key case") << "[Farben]\northg=1\nortbg=112233\n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("value case kept") << "[BildListe]\nHintergrundTyp=bild\n" << "BildListe" << "HintergrundTyp"
                                     << "bild";
    QTest::newRow("missing key") << "[Farben]\nOrtFC=000000\n" << "Farben" << "OrtBG" << fallback;
    QTest::newRow("missing section") << "[BildListe]\nOrtBG=112233\n" << "Farben" << "OrtBG" << fallback;
    QTest::newRow("key of another section") << "[Andere]\nOrtBG=1\n[Farben]\nOrtFC=2\n" << "Farben" << "OrtBG"
                                            << fallback;
    QTest::newRow("key before any section") << "OrtBG=1\n[Farben]\n" << "Farben" << "OrtBG" << fallback;
    QTest::newRow("blanks around") << "  [Farben]  \n  OrtBG  =  112233  \n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("comments and blank lines") << "; Farben\n\n[Farben]\n\n;OrtBG=999999\nOrtBG=112233\n"
                                              << "Farben" << "OrtBG" << "112233";
    QTest::newRow("CRLF") << "[Farben]\r\nOrtBG=112233\r\n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("first of two wins") << "[Farben]\nOrtBG=111111\nOrtBG=222222\n" << "Farben" << "OrtBG"
                                       << "111111";
    QTest::newRow("quotes removed") << "[Farben]\nOrtBG=\"112233\"\n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("single quotes removed") << "[Farben]\nOrtBG='112233'\n" << "Farben" << "OrtBG" << "112233";
    QTest::newRow("unbalanced quote kept") << "[Farben]\nOrtBG=\"112233\n" << "Farben" << "OrtBG" << "\"112233";
    QTest::newRow("no escapes or lists") << "[BildListe]\nHintergrundWert=a\\b, c.jpg\n" << "BildListe"
                                         << "HintergrundWert" << "a\\b, c.jpg";
    QTest::newRow("equals in value") << "[X]\nK=a=b\n" << "X" << "K" << "a=b";
    QTest::newRow("empty value is not missing") << "[Farben]\nOrtBG=\n" << "Farben" << "OrtBG" << "";
    QTest::newRow("long value cut at 254") << "[X]\nK=" + QString(300, u'7') + "\n" << "X" << "K"
                                           << QString(254, u'7');
    QTest::newRow("254 characters kept") << "[X]\nK=" + QString(254, u'7') + "\n" << "X" << "K"
                                         << QString(254, u'7');
}

void TestSkinText::profileValue()
{
    QFETCH(QString, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(ProfileFile::parse(text).value(section, key, QStringLiteral("DEFAULT")), expected);
}

void TestSkinText::profileFileIsWindows1252()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("Skin.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[BildListe]\r\nHintergrundWert=M\xfchle \x80.jpg\r\n");
    file.close();
    const auto profile = ProfileFile::read(file.fileName());
    QCOMPARE(profile.value(u"BildListe", u"HintergrundWert", QString()), QString::fromUtf8("Mühle €.jpg"));
}

void TestSkinText::missingProfileGivesDefaults()
{
    QTemporaryDir dir;
    const auto profile = ProfileFile::read(dir.filePath(QStringLiteral("fehlt.ini")));
    QCOMPARE(profile.value(u"Farben", u"OrtBG", QStringLiteral("AAAAAA")), QStringLiteral("AAAAAA"));
}

QTEST_GUILESS_MAIN(TestSkinText)
#include "tst_skintext.moc"
