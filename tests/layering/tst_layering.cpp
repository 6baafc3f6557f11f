// Every source file includes only from its own layer and the layers below it; siblings on the
// same level do not know each other. The QtCore layers and the companion stay off the desktop,
// and POSIX calls stay behind src/platform.
#include <QDirIterator>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

QString sourceRoot()
{
    return qEnvironmentVariable("ZV_SOURCE_DIR") + QLatin1Char('/');
}

// Each .h and .cpp under the folder (relative to the source root), with its text.
QMap<QString, QString> sources(const QString &folder)
{
    QMap<QString, QString> texts;
    QDirIterator it(sourceRoot() + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            texts.insert(QDir(sourceRoot()).relativeFilePath(file.fileName()), QString::fromUtf8(file.readAll()));
    }
    return texts;
}

// The quoted includes of a text: "layer/File.h" gives layer and File.h.
QList<QStringList> layerIncludes(const QString &text)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"(\w+)/([\w.]+)")re"),
                                            QRegularExpression::MultilineOption);
    QList<QStringList> found;
    for (const auto &match : include.globalMatch(text))
        found << QStringList{match.captured(1), match.captured(2)};
    return found;
}

} // namespace

class TestLayering : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void includesPointDown();
    void qtCoreLayersStayOffTheDesktop_data();
    void qtCoreLayersStayOffTheDesktop();
    void posixHeadersOnlyInPlatform();
};

void TestLayering::includesPointDown()
{
    const QMap<QString, int> levels{{"platform", 0},   {"store", 1},    {"model", 2},      {"metadata", 2},
                                    {"operations", 3}, {"app", 4},      {"viewing", 5},    {"media", 5},
                                    {"skins", 5},      {"transfer", 5}, {"thumbnails", 6}, {"album", 7},
                                    {"program", 8}};
    QStringList violations;
    int files = 0;
    for (auto layer = levels.keyBegin(); layer != levels.keyEnd(); ++layer) {
        const auto texts = sources(QStringLiteral("src/") + *layer);
        files += texts.size();
        for (auto it = texts.begin(); it != texts.end(); ++it)
            for (const QStringList &include : layerIncludes(it.value())) {
                const QString &target = include[0];
                if (levels.contains(target) && target != *layer && levels[target] >= levels[*layer])
                    violations << it.key() + QStringLiteral(" -> ") + target;
            }
    }
    QVERIFY(files > 50);
    QCOMPARE(violations, QStringList());
}

// The companion links QtCore only; so do the layers it is built from. Their libraries have no
// QtGui headers to offer, but the desktop half of platform shares the core half's folder.
void TestLayering::qtCoreLayersStayOffTheDesktop_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("store") << QStringLiteral("src/store");
    QTest::newRow("model") << QStringLiteral("src/model");
    QTest::newRow("metadata") << QStringLiteral("src/metadata");
    QTest::newRow("operations") << QStringLiteral("src/operations");
    QTest::newRow("albuminfo") << QStringLiteral("tools/albuminfo");
}

void TestLayering::qtCoreLayersStayOffTheDesktop()
{
    QFETCH(QString, folder);
    const QSet<QString> coreLayers{"platform", "store", "model", "metadata", "operations"};
    const QSet<QString> desktopPlatform{"Dialogs.h", "PictureButton.h", "ProgressColours.h", "Shell.h"};
    const auto texts = sources(folder);
    QVERIFY(!texts.isEmpty());
    QStringList violations;
    for (auto it = texts.begin(); it != texts.end(); ++it)
        for (const QStringList &include : layerIncludes(it.value()))
            if (!coreLayers.contains(include[0])
                || (include[0] == QLatin1String("platform") && desktopPlatform.contains(include[1])))
                violations << it.key() + QStringLiteral(" -> ") + include.join(QLatin1Char('/'));
    QCOMPARE(violations, QStringList());
}

void TestLayering::posixHeadersOnlyInPlatform()
{
    static const QRegularExpression posix(
        QStringLiteral(R"(^\s*#\s*include\s*<(unistd\.h|fcntl\.h|sys/[\w/]+\.h|dirent\.h|signal\.h)>)"),
        QRegularExpression::MultilineOption);
    QStringList found;
    for (const QString &folder : {QStringLiteral("src"), QStringLiteral("tools")}) {
        const auto texts = sources(folder);
        QVERIFY(!texts.isEmpty());
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            // platform is where system calls belong, so that another system replaces one folder;
            // latencyfs is a FUSE file system, a test tool for this system alone.
            if (it.key().startsWith(QLatin1String("src/platform/"))
                || it.key().startsWith(QLatin1String("tools/latencyfs/")))
                continue;
            for (const auto &match : posix.globalMatch(it.value()))
                found << it.key() + QStringLiteral(": ") + match.captured(1);
        }
    }
    found.sort();
    found.removeDuplicates();
    QCOMPARE(found, QStringList());
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
