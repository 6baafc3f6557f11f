#pragma once
// The main window over a temporary album, with every seam recorded.

#include "AlbumFolder.h"
#include "Fakes.h"

#include "album/frmDaten.h"
#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "model/AlbumLoader.h"
#include "model/ProgramState.h"
#include "operations/MediaPort.h"
#include "skins/SkinFiles.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace zv::test {

class RecordingMedia : public MediaPort {
public:
    QStringList calls;
    bool playing = false;
    int position = 0;
    bool busy = false;

    void closeMovie() override { calls << QStringLiteral("close"); }
    void openVideo(const QString &path) override { calls << QStringLiteral("open ") + QFileInfo(path).fileName(); }
    bool isPlaying() override { return playing; }
    int positionInMS() override { return position; }
    void stopMovie() override { calls << QStringLiteral("stop"); }
    void playMovie() override { calls << QStringLiteral("play"); }
    void setPositionTo(int seconds) override { calls << QStringLiteral("seek %1").arg(seconds); }
    bool isBusy() const override { return busy; }
};

struct WindowFixture : AlbumFolder {
    using AlbumFolder::AlbumFolder;

    std::unique_ptr<frmDaten> open()
    {
        list.follow(album);
        album = loadAlbum(dir.filePath(QStringLiteral("Bilder")));
        auto window =
            std::make_unique<frmDaten>(MainWindowServices{AlbumPaths{dir.path()}, album, list, state, shell, dialogs},
                                       SkinFolder(dir.path(), QStringLiteral("Main")));
        window->setPlayer(nullptr, &player);
        window->FillList();
        return window;
    }
    int rowOf(const QString &name) const { return list.rowOf(name); }
    void clickRow(frmDaten &w, int row) const
    {
        auto *view = w.findChild<QTreeView *>(QStringLiteral("lstBilder"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(list.index(row, 1)).center());
    }
    static QString field(const frmDaten &w, const char *name)
    {
        if (auto *line = w.findChild<QLineEdit *>(QLatin1String(name)))
            return line->text();
        return w.findChild<QPlainTextEdit *>(QLatin1String(name))->toPlainText();
    }

    Album album;
    AlbumListModel list;
    ProgramState state;
    RecordingShell shell;
    ScriptedDialogs dialogs;
    RecordingMedia player;
};

} // namespace zv::test
