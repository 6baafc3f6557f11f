#pragma once

#include "DiaInput.h"
#include "DiaShowList.h"
#include "PictureDecoder.h"
#include "PictureLoader.h"

#include "model/AlbumPaths.h"

#include <QRectF>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QSlider;

namespace zv {

class AlbumListModel;
class DiaButton;
class Dialogs;
class PictureImage;
class SettingsStore;
struct SettingsValues;

struct DiaShowServices {
    const AlbumListModel &list;
    AlbumPaths paths;
    SettingsStore &settings;
    SettingsValues &values; // Delay is changed here and all values are saved
    Dialogs &dialogs;
};

// The full-screen slide show over the album list: a black window, the picture fitted to the
// screen, a button bar in the bottom-right corner and a folding information panel in the
// top-left corner. Pictures are decoded on another thread; the next one in the direction of
// travel is prepared while the current one is on screen.
class frmDiaShow : public QWidget {
    Q_OBJECT
public:
    explicit frmDiaShow(DiaShowServices services, QWidget *parent = nullptr);
    ~frmDiaShow() override;

    // Fills the screen and starts; false, after telling the user, when the list holds no picture.
    bool start();

    // The file whose picture is on screen, and where the picture sits (before rounding).
    const QString &shownFile() const { return m_shownFile; }
    QRectF pictureRect() const { return m_pictureRect; }
    // The slide timer is on, or will be once the awaited picture is on screen.
    bool isRunning() const { return tmrIntervall.isActive() || m_resumeWhenShown; }
    int interval() const { return tmrIntervall.interval(); }
    // The picture the next step in the direction of travel comes to is decoded and waiting.
    bool isNextPrepared() const;

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildBar();
    void buildPanel();
    void placeBar();
    void switchTimerOn();

    void tick();
    void play();
    void pause();
    void step(DiaWalk::Direction direction);
    void advance(DiaWalk::Direction direction, bool resume);
    void showSlide(const DiaSlide &slide, bool resume);
    void showInformation(const DiaSlide &slide, const QString &path);
    bool putUpIfDecoded();
    void prepareAhead();
    void fitPicture();
    void sizePanel(QPoint pointer);
    void delayChanged(int value);

    DiaShowServices m_services;
    DiaShowList m_walk;
    PictureDecoder m_decoder;
    QTimer tmrIntervall;
    DiaWalk::Direction m_direction = DiaWalk::Direction::Forward;

    QString m_awaited; // the file whose picture is being decoded for the screen
    QSize m_awaitedSize; // the screen size it is decoded for
    bool m_resumeWhenShown = false; // the timer goes on once the awaited picture is up
    QString m_shownFile;
    LoadedPicture m_picture; // PicPuffer: the last picture that could be decoded
    QRectF m_pictureRect;
    WheelSteps m_wheel;

    PictureImage *imgDia = nullptr;
    QWidget *picControl = nullptr;
    QWidget *m_buttonRow = nullptr;
    bool m_delayStripOpen = false; // the pointer is on the bar
    DiaButton *cmdPlay = nullptr;
    DiaButton *cmdPause = nullptr;
    DiaButton *cmdBack = nullptr;
    DiaButton *cmdNext = nullptr;
    DiaButton *cmdEnd = nullptr;
    QSlider *sldDelay = nullptr;
    QWidget *picInfo = nullptr;
    QLabel *cmdShowHide = nullptr;
    QList<QLabel *> m_lines; // lblIndex … lblAnlass
    QLabel *lblIndex = nullptr;
    QLabel *lblFile = nullptr;
    QLabel *lblNamen = nullptr;
    QLabel *lblOrt = nullptr;
    QLabel *lblDatum = nullptr;
    QLabel *lblAnlass = nullptr;
    QPlainTextEdit *txtBemerk = nullptr;
};

} // namespace zv
