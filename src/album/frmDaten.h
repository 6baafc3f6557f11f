#pragma once

#include "InfoFields.h"
#include "MainWindowServices.h"
#include "modMenu.h"

#include "app/AlbumWindowPort.h"
#include "operations/AlbumContext.h"
#include "operations/modSortList.h"

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QAbstractItemView;
class QLabel;
class QMenu;
class QProgressBar;

namespace zv {

class AlbumIconView;
class AlbumThumbnails;
class AlbumTreeView;
class ImageButton;
class MediaPort;
class PreviewBox;
class SkinImages;
class SkinPanel;
enum class Turn;

// The album's main window: list, preview, information fields and the skinned buttons. It asks
// the program for other windows through its signals and never knows them.
class frmDaten : public QWidget, public AlbumWindowPort {
    Q_OBJECT
public:
    explicit frmDaten(MainWindowServices services, const QString &skinFolder, QWidget *parent = nullptr);
    ~frmDaten() override;

    // The player bar lives in another layer; it is put below the preview box.
    void setPlayer(QWidget *playerBar, MediaPort *media);
    PreviewBox *previewBox() const { return picVorschau; }

    // Rebuilds the list from the album; the start-up window follows its progress.
    void FillList(const std::function<void(int, int)> &startupProgress = {}) override;
    void ShowSelected();
    void DeleteSelected();
    void showMenu();
    void runMenuCommand(int identifier);
    // The menu while it is open, for tests that look at it.
    QMenu *openMenu() const { return m_lastMenu; }
    const QString &currentFile() const;

    // Loads the skin in the folder and applies it; returns an empty text or what stopped it.
    QString applySkin(const QString &skinFolder);

    // The progress of an import the program runs for a drop, in pbarSearch; hidden again at the end.
    void showTransferProgress(int done, int total);
    void endTransferProgress();

    // Camera dates and turns run in the background in the program; the menu offers to stop them.
    void setPicturesRunning(PictureWork running) { m_picturesRunning = running; }
    // A file turned in the background: the preview shows it anew when it is the shown file.
    void showTurnedFile(const QString &name);
    // A file's texts as now stored by someone else than Speichern: the shown file's boxes take
    // them unless the user has typed into them (then Speichern weighs both).
    void takeStoredInformation(const QString &name, const PictureInfo &stored);

    // AlbumWindowPort
    void setSaveLocked(bool locked) override;
    void showMainWindow() override;

Q_SIGNALS:
    void pictureWindowRequested(const QString &path);
    void slideShowRequested();
    // The player bar takes its pictures from the same skin folder.
    void playerSkinRequested(const QString &skinFolder);
    void quitRequested();
    void exportRequested(const QStringList &ExportSelection);
    void cameraDatesRequested(const QStringList &names);
    void cameraDatesStopRequested();
    // Read-only files are in readOnlyAgreed when the user agreed to turn them.
    void turnsRequested(const QStringList &names, Turn turn, const QStringList &readOnlyAgreed);
    void turnsStopRequested();
    void importRequested();
    // Files or folders dropped onto the list from outside, to be imported.
    void filesDropped(const QList<QUrl> &urls);
    void skinChooserRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildList();
    // Columns as wide as their captions and kinds need; the file name's caption, which grows
    // with the album, takes at most half the list and is cut short with a tooltip beyond.
    void fitColumns();
    // "Liste" lays its rows out alike (a long album would otherwise be measured row by row), as
    // wide as the widest name up to the list's width; again whenever the rows change.
    void fitListColumns();
    void allowDragAndDrop(QAbstractItemView *view);
    // Drags over the list: files from outside are taken, the list's own rows are not.
    bool dragEvent(QObject *watched, QEvent *event);
    void buildButtons();
    void connectButtons();
    void openHelp();
    void saveInformation();
    void enterSearchMode();
    void runSearch();
    void leaveSearchMode();
    void sortByHeader(int logicalIndex);
    void showSortIcons();
    void setViewMode(AlbumView mode);
    void createNewAlbum();
    void turnSelected(Turn turn);
    void orderPrints();
    std::vector<int> selectedRowsAscending() const;
    QStringList selectedNamesInListOrder() const;
    bool renameRow(int row, const QString &newName);
    AlbumContext albumContext();
    void firstActivation();
    // The selected row while a row is both current and selected.
    int selectedRow() const;
    bool mediaBusy() const;
    // The view of the current view mode: lstBilder in details, lstSymbole otherwise.
    QAbstractItemView *shownList() const;
    // The name of CurrentFile in the media folder; empty while no file is shown.
    QString currentName() const;
    // Sets the shown file's row apart while another row is selected, so the user sees whose
    // information the boxes hold.
    void updateShownMark();
    // The shown file is gone: no picture, empty boxes, nothing for Speichern to write.
    void showNoFile();

    MainWindowServices m_services;
    MediaPort *m_media = nullptr;
    std::unique_ptr<SkinImages> m_skinImages;

    QPixmap m_background;
    QPixmap m_searchFrameBuffer; // picSearch
    QString m_skinProblem; // told to the user when the window first shows
    bool m_activatedOnce = false;
    PictureWork m_picturesRunning = PictureWork::None;
    // The list holds a search's result rather than the whole album. A second Suchen clears
    // SearchApplied, and a search over an emptied list never sets it, but Zurück must still
    // bring every row back.
    bool m_listNarrowed = false;
    HeaderSortState m_sortState;
    QTimer m_listColumns; // fitListColumns, once the rows stopped changing

    SkinPanel *picMenue = nullptr;
    PreviewBox *picVorschau = nullptr;
    SkinPanel *picSuche = nullptr;
    QLabel *imgSearch = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *cmdSaveX = nullptr;
    AlbumTreeView *lstBilder = nullptr;
    AlbumIconView *lstSymbole = nullptr; // the same list in the icon and list views
    AlbumThumbnails *m_thumbnails = nullptr; // lstSymbole's child
    QMenu *m_lastMenu = nullptr;
    QProgressBar *pbarSearch = nullptr;
    std::unique_ptr<InfoFields> m_fields;
    QPointer<QWidget> ctrlAV1;

    // In the order of SkinButtons(); the members below name them.
    std::array<ImageButton *, 9> m_skinButtons{};
    ImageButton *cmdAktual = nullptr;
    ImageButton *cmdBack = nullptr;
    ImageButton *cmdSuche = nullptr;
    ImageButton *cmdStart = nullptr;
    ImageButton *cmdHilfe = nullptr;
    ImageButton *cmdDia = nullptr;
    ImageButton *cmd_ = nullptr;
    ImageButton *cmdHilfe2 = nullptr;
    ImageButton *cmdX = nullptr;
};

} // namespace zv
