#pragma once

#include "MainWindowServices.h"

#include "app/AlbumWindowPort.h"

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QTreeView;

namespace zv {

class AlbumListModel;
class ImageButton;
class RemarksBox;
class SkinImages;
class SkinPanel;

// The album's main window: list, preview, information fields and the skinned buttons.
class frmDaten : public QWidget, public AlbumWindowPort {
    Q_OBJECT
public:
    explicit frmDaten(MainWindowServices services, QWidget *parent = nullptr);
    ~frmDaten() override;

    // The player bar lives in another layer; it is put below the preview box.
    void setPlayer(QWidget *playerBar, MediaHooks hooks);
    QWidget *previewBox() const;

    void FillList();
    void ShowSelected();
    // Where the picture sits in the preview box, before rounding to pixels.
    QRectF previewRect() const { return m_previewRect; }
    const QString &CurrentFile() const { return m_currentFile; }
    void setCurrentFile(const QString &path) { m_currentFile = path; }
    AlbumListModel &listModel() const { return *m_model; }

    // Loads the named skin and applies it; returns an empty text or what stopped the loading.
    QString applySkin(const QString &skinName);

    // AlbumWindowPort
    void setSaveLocked(bool locked) override;
    void fillList(QProgressBar *startupProgress) override;
    void showMainWindow() override;

Q_SIGNALS:
    // Asked to show a file in the picture window.
    void pictureWindowRequested(const QString &path);
    // The player bar takes its pictures from the same skin.
    void playerSkinRequested(const QString &skinName);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildInformationFields();
    void buildButtons();
    void connectButtons();
    void showPicture();
    void fillList(QProgressBar *startupProgress, bool startupOpen);
    void firstActivation();

    MainWindowServices m_services;
    MediaHooks m_media;
    std::unique_ptr<SkinImages> m_skinImages;
    AlbumListModel *m_model;

    QPixmap m_background;
    QPixmap m_searchFrameBuffer; // picSearch
    QString m_currentFile;
    QString m_skinProblem; // told to the user when the window first shows
    bool m_activatedOnce = false;

    // picPuffer: the last picture that could be decoded and its natural size.
    QImage m_previewBuffer;
    QSizeF m_previewNatural;
    QRectF m_previewRect;

    SkinPanel *picMenue = nullptr;
    SkinPanel *picVorschau = nullptr;
    SkinPanel *picSuche = nullptr;
    QLabel *imgvorschau = nullptr;
    QLabel *imgSearch = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *cmdSaveX = nullptr;
    QTreeView *lstBilder = nullptr;
    QProgressBar *pbarSearch = nullptr;
    QLineEdit *txtDatum = nullptr;
    QLineEdit *txtOrt = nullptr;
    QLineEdit *txtNamen = nullptr;
    QLineEdit *txtStichWorte = nullptr;
    RemarksBox *txtBemerkungen = nullptr;
    QPointer<QWidget> ctrlAV1;

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
