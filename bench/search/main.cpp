// Search and sorting in the shown main window over 100,000 rows with realistic texts, timed
// from the click to the list being final.
#include "../BenchStats.h"

#include "album/frmDaten.h"
#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "model/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/ImageButton.h"
#include "skins/SkinFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>
#include <ctime>

namespace {

zv::Album makeAlbum(int count)
{
    const QStringList places = {"Köln",    "Bonn",      "Düsseldorf",      "Aachen",
                                "Münster", "Essen",     "Straße am Rhein", "Bad Godesberg",
                                "Zülpich", "Euskirchen"};
    const QStringList people = {"Oma", "Opa", "Anna", "Bert", "Jürgen", "Käthe", "Lena", "Max", "Sören", "Zoë"};
    const QStringList occasions = {"Geburtstag", "Hochzeit", "Urlaub", "Taufe", "Weihnachten", "Ostern", "Ausflug"};
    auto *random = QRandomGenerator::global();
    const auto pick = [&](const QStringList &from, int n) {
        QStringList words;
        for (int i = 0; i < n; ++i)
            words << from[random->bounded(from.size())];
        return words.join(QStringLiteral(", "));
    };
    zv::Album album;
    album.reserve(count);
    for (int i = 0; i < count; ++i) {
        zv::AlbumEntry e;
        e.name = QStringLiteral("IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        e.kind = zv::MediaKind::Bild;
        e.sizeKB = random->bounded(20000);
        e.info.ort = pick(places, 2);
        e.info.namen = pick(people, 3);
        e.info.anlass = pick(occasions, 1) + QStringLiteral(" im Garten");
        e.info.datum = random->bounded(10) == 0 ? QStringLiteral("xx.xx.%1").arg(1990 + random->bounded(30))
                                                : QStringLiteral("%1.%2.%3")
                                                      .arg(1 + random->bounded(28), 2, 10, QLatin1Char('0'))
                                                      .arg(1 + random->bounded(12), 2, 10, QLatin1Char('0'))
                                                      .arg(1990 + random->bounded(30));
        album.append(std::move(e));
    }
    return album;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::vector<double> cpuTimes; // the same actions in this thread's processor time: steadier on a busy machine

template <typename Action>
double timed(Action action)
{
    QElapsedTimer t;
    const double cpu = threadCpuMs();
    t.start();
    action();
    cpuTimes.push_back(threadCpuMs() - cpu);
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    zv::Album album = makeAlbum(100000);
    zv::AlbumListModel list;
    zv::ProgramState state;
    const auto shell = zv::makeDesktopShell();
    const auto dialogs = zv::makeQtDialogs();
    zv::frmDaten window(zv::MainWindowServices{zv::AlbumPaths{dir.path()}, album, list, state, *shell, *dialogs},
                        zv::SkinFolder(dir.path(), zv::kDefaultSkin));
    window.FillList();
    window.show();
    QApplication::processEvents();
    const auto click = [&](const char *button) {
        QMetaObject::invokeMethod(window.findChild<zv::ImageButton *>(QLatin1String(button)), "clicked");
    };
    const auto box = [&](const char *name, const QString &text) {
        window.findChild<QLineEdit *>(QLatin1String(name))->setText(text);
    };
    QHeaderView *header = window.findChild<QTreeView *>(QStringLiteral("lstBilder"))->header();

    std::vector<double> search, back, sorts[3], reverse[3];
    std::vector<double> searchCpu, backCpu, sortsCpu[3], reverseCpu[3];
    int found = 0;
    for (int round = 0; round < 5; ++round) {
        click("cmdSuche");
        box("txtOrt", QStringLiteral("köln"));
        box("txtNamen", QStringLiteral("anna"));
        box("txtStichWorte", QStringLiteral("garten"));
        box("txtDatum", QStringLiteral("5.2003"));
        search.push_back(timed([&] { click("cmdStart"); }));
        searchCpu.push_back(cpuTimes.back());
        found = list.rowCount();
        back.push_back(timed([&] { click("cmdBack"); }));
        backCpu.push_back(cpuTimes.back());
        const int columns[] = {3, 1, 2}; // Ort (text), size (number), Datum (date), as sections
        for (int k = 0; k < 3; ++k) {
            sorts[k].push_back(timed([&] { Q_EMIT header->sectionClicked(columns[k]); }));
            sortsCpu[k].push_back(cpuTimes.back());
            reverse[k].push_back(timed([&] { Q_EMIT header->sectionClicked(columns[k]); }));
            reverseCpu[k].push_back(cpuTimes.back());
        }
        QApplication::processEvents();
    }
    std::printf("100,000 rows, window shown; medians of 5, wall clock (processor time of the thread)\n");
    std::printf("search (3 words + date, %d rows left): %7.1f ms (%.1f)\n", found, median(search), median(searchCpu));
    std::printf("leave search mode (refill)          : %7.1f ms (%.1f)\n", median(back), median(backCpu));
    const char *names[] = {"text (Ort)", "number (size)", "date"};
    for (int k = 0; k < 3; ++k)
        std::printf("sort by %-14s: %7.1f ms (%.1f), reversed %7.1f ms (%.1f)\n", names[k], median(sorts[k]),
                    median(sortsCpu[k]), median(reverse[k]), median(reverseCpu[k]));
    return 0;
}
