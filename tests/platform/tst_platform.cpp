#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/Shell.h"
#include "platform/Translations.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zv;

class TestPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void volumeClassification_data();
    void volumeClassification();
    void driveOfRealPaths();
    void parameterSplitting_data();
    void parameterSplitting();
    void readOnlyAttribute();
    void documentHandlerOutcome_data();
    void documentHandlerOutcome();
    void fileNamesRoundTrip_data();
    void fileNamesRoundTrip();
    void messageBoxIsGermanAndExact_data();
    void messageBoxIsGermanAndExact();
};

void TestPlatform::initTestCase()
{
    QVERIFY2(installGermanTranslations(*QCoreApplication::instance()), "qtbase_de not installed");
}

void TestPlatform::volumeClassification_data()
{
    QTest::addColumn<QString>("fs");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("mount");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<int>("type");
    QTest::newRow("cd") << "iso9660" << "/dev/sr0" << "/media/cdrom" << true << 4;
    QTest::newRow("dvd udf") << "udf" << "/dev/sr0" << "/mnt/dvd" << false << 4;
    QTest::newRow("tmpfs") << "tmpfs" << "tmpfs" << "/tmp" << false << 5;
    QTest::newRow("ramfs") << "ramfs" << "none" << "/ram" << false << 5;
    QTest::newRow("nfs4") << "nfs4" << "server:/share" << "/net" << false << 3;
    QTest::newRow("cifs") << "cifs" << "//nas/photos" << "/mnt/nas" << false << 3;
    QTest::newRow("sshfs") << "fuse.sshfs" << "me@host:" << "/home/me/remote" << false << 3;
    QTest::newRow("usb stick by device") << "vfat" << "/dev/sdb1" << "/mnt/stick" << true << 1;
    QTest::newRow("usb stick under /media") << "exfat" << "/dev/sdc1" << "/media/anna/STICK" << false << 1;
    QTest::newRow("run/media") << "ext4" << "/dev/sdd1" << "/run/media/anna/disk" << false << 1;
    QTest::newRow("system disk") << "ext4" << "/dev/vda" << "/" << false << 2;
    QTest::newRow("unknown") << "" << "" << "/x" << false << 0;
}

void TestPlatform::volumeClassification()
{
    QFETCH(QString, fs);
    QFETCH(QString, device);
    QFETCH(QString, mount);
    QFETCH(bool, removable);
    QFETCH(int, type);
    QCOMPARE(static_cast<int>(classifyVolume({fs, device, mount, removable})), type);
}

void TestPlatform::driveOfRealPaths()
{
    const auto drives = makeSystemDrives();
    QTemporaryDir dir;
    const DriveInfo here = drives->driveOf(dir.path());
    QVERIFY(here.ready);
    QVERIFY(here.totalBytes > 0);
    QVERIFY(here.freeBytes <= here.totalBytes);
    // A path that does not exist yet belongs to the drive of its nearest existing folder.
    const DriveInfo later = drives->driveOf(dir.filePath(QStringLiteral("neu/noch/nicht")));
    QCOMPARE(later.root, here.root);
    bool listed = false;
    for (const DriveInfo &d : drives->list())
        listed = listed || d.root == here.root;
    QVERIFY(listed);
}

void TestPlatform::parameterSplitting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("plain") << "a b  c" << QStringList{"a", "b", "c"};
    QTest::newRow("quoted blanks") << R"("C:\Mein Album\a.jpg" b.jpg)" << QStringList{R"(C:\Mein Album\a.jpg)", "b.jpg"};
    QTest::newRow("empty quotes") << R"(x "" y)" << QStringList{"x", "", "y"};
    QTest::newRow("nothing") << "   " << QStringList{};
}

void TestPlatform::parameterSplitting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, args);
    QCOMPARE(splitParameters(text), args);
}

void TestPlatform::readOnlyAttribute()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.jpg"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QCOMPARE(fileAttributes(path) & ReadOnlyAttribute, 0);
    QCOMPARE(setReadOnly(path, true), 0);
    QCOMPARE(fileAttributes(path) & ReadOnlyAttribute, int(ReadOnlyAttribute));
    QCOMPARE(setReadOnly(path, false), 0);
    QCOMPARE(fileAttributes(path) & ReadOnlyAttribute, 0);
    QCOMPARE(fileAttributes(dir.path()) & DirectoryAttribute, int(DirectoryAttribute));
}

void TestPlatform::messageBoxIsGermanAndExact_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes/no") << int(MessageButtons::YesNo) << QStringList{"&Ja", "&Nein"} << int(MessageAnswer::No);
    QTest::newRow("ok/cancel") << int(MessageButtons::OkCancel) << QStringList{"OK", "Abbrechen"} << int(MessageAnswer::Cancel);
}

void TestPlatform::messageBoxIsGermanAndExact()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, captions);
    QFETCH(int, answer);
    auto dialogs = makeQtDialogs();
    QStringList seen;
    QString title;
    QString text;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton *b : box->buttons())
            seen << b->text();
        // The last button is the negative answer in both sets.
        QAbstractButton *negative = box->buttons().constLast();
        for (QAbstractButton *b : box->buttons()) {
            const auto role = box->buttonRole(b);
            if (role == QMessageBox::NoRole || role == QMessageBox::RejectRole)
                negative = b;
        }
        negative->click();
    });
    const MessageAnswer got = dialogs->message(QStringLiteral(" Speichern"), QStringLiteral("Wirklich?"),
                                               MessageIcon::Question, static_cast<MessageButtons>(buttons));
    QCOMPARE(title, QStringLiteral(" Speichern"));
    QCOMPARE(text, QStringLiteral("Wirklich?"));
    seen.sort();
    captions.sort();
    QCOMPARE(seen, captions);
    QCOMPARE(static_cast<int>(got), answer);
}

void TestPlatform::documentHandlerOutcome_data()
{
    QTest::addColumn<QByteArray>("handler"); // what the stand-in xdg-open does
    QTest::addColumn<bool>("opened");
    QTest::newRow("handler found") << QByteArray("exit 0") << true;
    QTest::newRow("no handler") << QByteArray("echo 'no method available' >&2; exit 3") << false;
    QTest::newRow("viewer stays open") << QByteArray("sleep 3") << true;
}

void TestPlatform::documentHandlerOutcome()
{
    QFETCH(QByteArray, handler);
    QFETCH(bool, opened);
    QTemporaryDir bin;
    QFile script(bin.filePath(QStringLiteral("xdg-open")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + handler + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    const bool result = makeDesktopShell()->openDocument(QFINDTESTDATA("tst_platform.cpp"), ShowState::Normal);
    qputenv("PATH", path);
    QCOMPARE(result, opened);
}

void TestPlatform::fileNamesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("a.jpg") << QStringLiteral("a.jpg");
    QTest::newRow("utf-8") << QByteArray("K\xc3\xa4se.jpg") << QStringLiteral("Käse.jpg");
    QTest::newRow("latin-1") << QByteArray("K\xe4se.jpg") << QStringLiteral("Käse.jpg");
    QTest::newRow("cut sequence") << QByteArray("a\xc3") << QStringLiteral("aÃ");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xafx") << QStringLiteral("À¯x");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xb2\x80") << QStringLiteral("í²\u0080");
    QTest::newRow("emoji") << QByteArray("\xf0\x9f\x98\x80.jpg") << QStringLiteral("😀.jpg");
}

void TestPlatform::fileNamesRoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString name = decodeFileName(bytes);
    QCOMPARE(nativePath(name), bytes);
    QCOMPARE(displayFileName(name), shown);
    QCOMPARE(hasUndecodableBytes(name), QString::fromUtf8(bytes).toUtf8() != bytes);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
