#include "frmStart.h"

#include "AlbumWindowPort.h"
#include "StartupSteps.h"

#include "model/Album.h"
#include "model/AlbumLoader.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/ProgressColours.h"
#include "platform/WaitCursor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QStorageInfo>
#include <QTimer>

#include <optional>

namespace zv {

frmStart::frmStart(StartupContext context, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_context(std::move(context))
    , m_label(new QLabel(QStringLiteral("Dateien werden geladen..."), this))
    , m_progress(new QProgressBar(this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmStart"));
    setWindowTitle(QStringLiteral("Zidoverev"));
    setFixedSize(404, 104);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 224, 192));
    setPalette(pal);

    m_label->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("MS Sans Serif"), 18, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    m_label->setFont(font);
    m_label->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setGeometry(0, 14, 404, 40);

    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setGeometry((404 - 369) / 2, 66, 369, 19);
    m_progress->setTextVisible(false);
    SetProgressColours(m_progress, QColor(255, 224, 192), QColor(255, 128, 0));

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &frmStart::loadAlbum);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_context.settings = LoadSettings(m_context.settingsStore);
    m_timer->start();
}

void frmStart::fail(const QString &message)
{
    hide();
    m_context.dialogs.message(QStringLiteral("Zidoverev"), message, MessageIcon::Critical, MessageButtons::Ok);
    m_context.exitProgram(1);
}

void frmStart::loadAlbum()
{
    m_timer->stop();

    AlbumWindowPort &window = m_context.mainWindow();
    const DriveInfo drive = m_context.drives.driveOf(m_context.paths.programFolder);
    window.setSaveLocked(!isWritableDriveType(drive.type) || drive.readOnly);

    m_progress->setValue(0);
    if (const QString error = ensureMediaFolder(m_context.paths); !error.isEmpty())
        return fail(error);
    if (const QString error = ensureAlbumNotEmpty(m_context.paths); !error.isEmpty())
        return fail(error);

    std::optional<WaitCursor> hourglass(std::in_place);
    // Redraw per visible step and at most every 40 ms: each redraw is a round trip to the
    // display, and a warm album of 100,000 files loads in half a second.
    int shownPercent = -1;
    QElapsedTimer sinceDrawn;
    sinceDrawn.start();
    const auto due = [&](int done, int total) {
        const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 100;
        if (done != total && (percent == shownPercent || sinceDrawn.elapsed() < 40))
            return false;
        shownPercent = percent;
        sinceDrawn.restart();
        return true;
    };
    m_context.album = zv::loadAlbum(m_context.paths.mediaFolder(), [&](int done, int total) {
        if (done == 0) {
            m_progress->setMaximum(total);
            return;
        }
        if (due(done, total)) {
            m_progress->setValue(done);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    });

    m_label->setText(QStringLiteral("Bitte warten..."));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    shownPercent = -1;
    window.FillList([&](int done, int total) {
        if (!due(done, total))
            return;
        m_progress->setMaximum(total);
        m_progress->setValue(done);
        m_progress->repaint();
    });
    hourglass.reset();
    window.showMainWindow();
    close();
}

} // namespace zv
