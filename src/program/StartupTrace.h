#pragma once

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>

class QWidget;

namespace zv {

class Album;

// Start-up milestones for bench/startup, off unless QT_LOGGING_RULES="zv.startup.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

class StartupTrace : public QObject {
public:
    StartupTrace();

    // One line with the milliseconds since the program object was made.
    void mark(const char *what, qsizetype entries = -1) const;
    // "list filled" when the window first paints after being shown: the user sees the list.
    void markFirstPaint(QWidget *window, const Album &album);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QElapsedTimer m_clock;
    const Album *m_album = nullptr;
};

} // namespace zv
