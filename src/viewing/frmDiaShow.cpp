#include "frmDiaShow.h"

#include "DiaBarLayout.h"
#include "DiaButton.h"
#include "DiaDelay.h"
#include "DiaFaces.h"
#include "DiaInput.h"
#include "InfoPanelSizing.h"
#include "PictureImage.h"

#include "app/AppSettings.h"
#include "model/AlbumListModel.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "store/PictureTrailer.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSlider>

namespace zv {
namespace {

constexpr int kLineWidth = kInfoPanelWideFrom - 2 * kInfoPanelMargin;
constexpr int kLineHeight = 17;
constexpr int kRemarksTop = 120;
constexpr int kRemarksHeight = 100;

} // namespace

frmDiaShow::frmDiaShow(DiaShowServices services, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_walk(services.list)
{
    setObjectName(QStringLiteral("frmDiaShow"));
    setWindowTitle(QStringLiteral("Diashow"));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setFocusPolicy(Qt::StrongFocus);

    imgDia = new PictureImage(this);
    imgDia->hide();
    buildBar();
    buildPanel();

    const int delay = DiaDelay(m_services.values.Delay);
    tmrIntervall.setInterval(delay);
    sldDelay->setValue(delay); // before it is connected: loading is no change of the setting
    connect(sldDelay, &QSlider::valueChanged, this, &frmDiaShow::delayChanged);
    connect(&tmrIntervall, &QTimer::timeout, this, &frmDiaShow::tick);
    connect(&m_decoder, &PictureDecoder::decoded, this, [this](const QString &path) {
        if (path == m_awaited)
            putUpIfDecoded();
    });
}

frmDiaShow::~frmDiaShow() = default;

void frmDiaShow::buildBar()
{
    picControl = new QWidget(this);
    picControl->setObjectName(QStringLiteral("picControl"));
    picControl->setAutoFillBackground(true);
    QPalette bar = picControl->palette();
    bar.setColor(QPalette::Window, QColor(0x26, 0x26, 0x26));
    bar.setColor(QPalette::WindowText, Qt::white);
    picControl->setPalette(bar);
    picControl->installEventFilter(this);
    // The buttons share one row, so opening the delay strip moves the row as a whole.
    m_buttonRow = new QWidget(picControl);
    m_buttonRow->resize(kDiaBarWidth, kDiaBarRowHeight);

    const auto make = [this](const char *name, DiaSymbol symbol, DiaButton::Kind kind, int x, const char *tip) {
        auto *button = new DiaButton(QLatin1String(name), symbol, kind, m_buttonRow);
        button->setGeometry(x, 0, kDiaButtonSize, kDiaButtonSize);
        button->setToolTip(QString::fromUtf8(tip));
        return button;
    };
    cmdPlay = make("cmdPlay", DiaSymbol::Play, DiaButton::Kind::Latching, 0, "Abspielen");
    cmdPause = make("cmdPause", DiaSymbol::Pause, DiaButton::Kind::Latching, 30, "Anhalten");
    cmdBack = make("cmdBack", DiaSymbol::Back, DiaButton::Kind::Momentary, 60, "Zurück");
    cmdNext = make("cmdNext", DiaSymbol::Next, DiaButton::Kind::Momentary, 90, "Weiter");
    cmdEnd = make("cmdEnd", DiaSymbol::End, DiaButton::Kind::Momentary, 120, "Diashow beenden");
    cmdPlay->setActive(true);
    connect(cmdPlay, &DiaButton::pressed, this, &frmDiaShow::play);
    connect(cmdPause, &DiaButton::pressed, this, &frmDiaShow::pause);
    connect(cmdBack, &DiaButton::clicked, this, [this] { step(DiaWalk::Direction::Back); });
    connect(cmdNext, &DiaButton::clicked, this, [this] { step(DiaWalk::Direction::Forward); });
    connect(cmdEnd, &DiaButton::clicked, this, &QWidget::close);

    sldDelay = new QSlider(Qt::Horizontal, picControl);
    sldDelay->setObjectName(QStringLiteral("sldDelay"));
    sldDelay->setRange(kDiaDelayMin, kDiaDelayMax);
    sldDelay->setSingleStep(100);
    sldDelay->setPageStep(1000);
    sldDelay->setFocusPolicy(Qt::NoFocus); // the arrow keys step the show
    sldDelay->setToolTip(QStringLiteral("Zeit je Bild"));
    placeBar();
}

void frmDiaShow::buildPanel()
{
    picInfo = new QWidget(this);
    picInfo->setObjectName(QStringLiteral("picInfo"));
    picInfo->setAutoFillBackground(true);
    QPalette grey = picInfo->palette();
    grey.setColor(QPalette::Window, QColor(64, 64, 64));
    grey.setColor(QPalette::WindowText, Qt::white);
    grey.setColor(QPalette::Base, QColor(48, 48, 48));
    grey.setColor(QPalette::Text, Qt::white);
    picInfo->setPalette(grey);

    const std::pair<QLabel **, const char *> lines[] = {{&lblIndex, "lblIndex"}, {&lblFile, "lblFile"},
                                                        {&lblNamen, "lblNamen"}, {&lblOrt, "lblOrt"},
                                                        {&lblDatum, "lblDatum"}, {&lblAnlass, "lblAnlass"}};
    int top = 12;
    for (const auto &[line, name] : lines) {
        *line = new QLabel(picInfo);
        (*line)->setObjectName(QLatin1String(name));
        (*line)->setGeometry(kInfoPanelMargin, top, kLineWidth, kLineHeight);
        m_lines << *line;
        top += 18;
    }
    txtBemerk = new QPlainTextEdit(picInfo);
    txtBemerk->setObjectName(QStringLiteral("txtBemerk"));
    txtBemerk->setReadOnly(true);
    txtBemerk->setFocusPolicy(Qt::NoFocus);
    txtBemerk->setGeometry(kInfoPanelMargin, kRemarksTop, kLineWidth, kRemarksHeight);

    cmdShowHide = new QLabel(picInfo);
    cmdShowHide->setObjectName(QStringLiteral("cmdShowHide"));
    cmdShowHide->setPixmap(QPixmap::fromImage(drawDiaGrip()));
    cmdShowHide->resize(kDiaGripSize, kDiaGripSize);
    cmdShowHide->setCursor(Qt::SizeFDiagCursor);
    cmdShowHide->setToolTip(QStringLiteral("Informationen aufziehen"));
    cmdShowHide->installEventFilter(this);

    const InfoPanelLayout folded = collapsedInfoPanel(cmdShowHide->size());
    picInfo->resize(folded.panel);
    cmdShowHide->move(folded.grip);
    cmdShowHide->raise();
}

bool frmDiaShow::start()
{
    // A list without a picture would leave a black screen that never changes.
    if (!m_walk.hasPicture()) {
        m_services.dialogs.message(QStringLiteral("Diashow"),
                                   QStringLiteral("In der Liste ist kein Bild, das die Diashow zeigen könnte."),
                                   MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    if (QScreen *s = screen())
        setGeometry(s->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    prepareAhead(); // the first picture is decoded during the first delay
    return true;
}

void frmDiaShow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        placeBar();
        switchTimerOn();
    }
}

void frmDiaShow::resizeEvent(QResizeEvent *)
{
    // The window manager may make the window full screen after it was shown.
    placeBar();
    fitPicture();
}

void frmDiaShow::closeEvent(QCloseEvent *event)
{
    tmrIntervall.stop();
    m_resumeWhenShown = false;
    m_awaited.clear();
    m_decoder.clear();
    m_picture = {};
    imgDia->setImage({});
    QWidget::closeEvent(event);
}

void frmDiaShow::placeBar()
{
    const DiaBarLayout layout = diaBarLayout(size(), m_delayStripOpen);
    picControl->setGeometry(layout.bar);
    m_buttonRow->move(layout.row);
    sldDelay->setGeometry(layout.slider);
    sldDelay->setVisible(m_delayStripOpen);
    picControl->raise();
}

void frmDiaShow::switchTimerOn()
{
    if (!m_awaited.isEmpty())
        m_resumeWhenShown = true;
    else if (!tmrIntervall.isActive())
        tmrIntervall.start();
}

void frmDiaShow::tick()
{
    advance(DiaWalk::Direction::Forward, true);
}

void frmDiaShow::play()
{
    if (!isRunning())
        switchTimerOn();
    cmdPlay->setActive(true);
    cmdPause->setActive(false);
}

void frmDiaShow::pause()
{
    tmrIntervall.stop();
    m_resumeWhenShown = false;
    cmdPause->setActive(true);
    cmdPlay->setActive(false);
}

void frmDiaShow::step(DiaWalk::Direction direction)
{
    // Stepping by hand pauses a running show, so the picture stepped to stays.
    if (isRunning()) {
        cmdPause->setActive(true);
        cmdPlay->setActive(false);
    }
    advance(direction, false);
}

void frmDiaShow::advance(DiaWalk::Direction direction, bool resume)
{
    tmrIntervall.stop();
    m_resumeWhenShown = false;
    m_direction = direction;
    const auto slide = m_walk.step(direction);
    // The last picture left the list while the show ran: the screen keeps what it shows and
    // the show stands still.
    if (!slide)
        return;
    showSlide(*slide, resume);
}

void frmDiaShow::showSlide(const DiaSlide &slide, bool resume)
{
    const QString path = m_services.paths.mediaFile(slide.row.name);
    showInformation(slide, path);
    m_awaited = path;
    m_awaitedSize = size();
    m_resumeWhenShown = resume;
    m_decoder.request(path, m_awaitedSize);
    putUpIfDecoded();
    prepareAhead();
}

void frmDiaShow::showInformation(const DiaSlide &slide, const QString &path)
{
    const SlideCaptions captions = slideCaptions(slide, ReadPictureInfo(path).info.bemerkungen);
    lblIndex->setText(captions.index);
    lblFile->setText(captions.file);
    lblNamen->setText(captions.namen);
    lblOrt->setText(captions.ort);
    lblDatum->setText(captions.datum);
    lblAnlass->setText(captions.anlass);
    txtBemerk->setPlainText(captions.remarks);
}

bool frmDiaShow::putUpIfDecoded()
{
    const PictureDecoder::Result result = m_decoder.result(m_awaited, m_awaitedSize);
    if (!result.done)
        return false;
    // A file that cannot be decoded leaves the previous picture on screen under the new
    // information.
    if (result.picture) {
        m_picture = *result.picture;
        m_shownFile = m_awaited;
        fitPicture();
    }
    m_awaited.clear();
    if (std::exchange(m_resumeWhenShown, false))
        tmrIntervall.start(); // the next delay starts once the picture is up
    return true;
}

void frmDiaShow::prepareAhead()
{
    const auto next = m_walk.peek(m_direction);
    const QString nextPath = next ? m_services.paths.mediaFile(next->row.name) : QString();
    m_decoder.keepOnly({m_awaited, m_shownFile, nextPath});
    if (next)
        m_decoder.request(nextPath, size());
}

bool frmDiaShow::isNextPrepared() const
{
    const auto next = m_walk.peek(m_direction);
    return next && m_decoder.result(m_services.paths.mediaFile(next->row.name), size()).done;
}

void frmDiaShow::fitPicture()
{
    if (m_picture.image.isNull())
        return;
    m_pictureRect = imgDia->showFitted(m_picture, size());
    imgDia->lower();
}

void frmDiaShow::delayChanged(int value)
{
    m_services.values.Delay = QString::number(value);
    tmrIntervall.setInterval(value);
    SaveSettings(m_services.settings, m_services.values);
}

void frmDiaShow::sizePanel(QPoint pointer)
{
    const InfoPanelLayout layout = sizeInfoPanel(pointer, picInfo->size(), cmdShowHide->size());
    picInfo->resize(layout.panel);
    cmdShowHide->move(layout.grip);
    if (layout.lineWidth) {
        for (QLabel *line : std::as_const(m_lines))
            line->resize(*layout.lineWidth, line->height());
        txtBemerk->resize(*layout.lineWidth, txtBemerk->height());
    }
}

void frmDiaShow::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        sizePanel(event->position().toPoint());
}

bool frmDiaShow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmdShowHide && event->type() == QEvent::MouseMove) {
        // The grip holds the mouse while it is dragged; its moves count in window coordinates.
        auto *move = static_cast<QMouseEvent *>(event);
        if (move->buttons() & Qt::LeftButton)
            sizePanel(cmdShowHide->mapTo(this, move->position().toPoint()));
        return true;
    }
    if (watched == picControl && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        // The slider opens above the buttons while the pointer is on the bar; the buttons keep
        // their place, so a press aimed at one never lands on the slider.
        m_delayStripOpen = event->type() == QEvent::Enter;
        placeBar();
    }
    return QWidget::eventFilter(watched, event);
}

void frmDiaShow::keyPressEvent(QKeyEvent *event)
{
    // Stepping by key pauses, like the buttons.
    switch (diaCommandForKey(event->key())) {
    case DiaCommand::End:
        close();
        return;
    case DiaCommand::Forward:
        step(DiaWalk::Direction::Forward);
        return;
    case DiaCommand::Back:
        step(DiaWalk::Direction::Back);
        return;
    case DiaCommand::PlayOrPause:
        if (cmdPlay->isActive())
            pause();
        else
            play();
        return;
    case DiaCommand::None:
        break;
    }
    QWidget::keyPressEvent(event);
}

void frmDiaShow::wheelEvent(QWheelEvent *event)
{
    for (int steps = m_wheel.turn(event->angleDelta().y()); steps != 0; steps += steps > 0 ? -1 : 1)
        step(steps > 0 ? DiaWalk::Direction::Forward : DiaWalk::Direction::Back);
    event->accept();
}

} // namespace zv
