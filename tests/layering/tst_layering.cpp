// Every source file includes only from its own layer and the layers below it; siblings on the
// same level do not know each other.
#include <QDirIterator>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

class TestLayering : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void includesPointDown();
};

void TestLayering::includesPointDown()
{
    const QMap<QString, int> levels{{"platform", 0}, {"store", 1},    {"model", 2}, {"app", 3},
                                    {"viewing", 4},  {"media", 4},    {"skins", 4}, {"transfer", 4},
                                    {"album", 5},    {"program", 6}};
    const QString src = qEnvironmentVariable("ZV_SOURCE_DIR") + QStringLiteral("/src/");
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"(\w+)/)"),
                                            QRegularExpression::MultilineOption);
    QStringList violations;
    int files = 0;
    for (auto layer = levels.keyBegin(); layer != levels.keyEnd(); ++layer) {
        QDirIterator it(src + *layer, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++files;
            for (const auto &match : include.globalMatch(QString::fromUtf8(file.readAll()))) {
                const QString target = match.captured(1);
                if (levels.contains(target) && target != *layer && levels[target] >= levels[*layer])
                    violations << QDir(src).relativeFilePath(file.fileName()) + QStringLiteral(" -> ") + target;
            }
        }
    }
    QVERIFY(files > 50);
    QCOMPARE(violations, QStringList());
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
