#pragma once

#include "AppSettings.h"
#include "model/AlbumPaths.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QTimer;

namespace zv {

class Album;
class AlbumWindowPort;
class Dialogs;
class Drives;
class SettingsStore;

struct StartupContext {
    AlbumPaths paths;
    const Drives &drives;
    Dialogs &dialogs;
    const SettingsStore &settingsStore;
    SettingsValues &settings;
    Album &album;
    std::function<AlbumWindowPort &()> mainWindow; // creates the window on first use
    std::function<void(int exitCode)> exitProgram;
};

// The small window that reads the album while it shows a progress bar.
class frmStart : public QWidget {
    Q_OBJECT
public:
    explicit frmStart(StartupContext context, QWidget *parent = nullptr);

    // What the timer runs once; public so tests need not wait a second.
    void loadAlbum();

    QLabel *label() const { return m_label; }
    QProgressBar *progress() const { return m_progress; }
    QTimer *timer() const { return m_timer; }

private:
    void fail(const QString &message);

    StartupContext m_context;
    QLabel *m_label;
    QProgressBar *m_progress;
    QTimer *m_timer;
};

} // namespace zv
