#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <sys/vfs.h>

#include <chrono>
#include <thread>

// The latency file system (latencyfs, whose path the build hands over as ZV_LATENCYFS
// when libfuse3 is there) mounted over a folder for as long as this lives.
class LatencyMount {
public:
    LatencyMount(const QString &source, int delayUs, bool jitter = false)
    {
#ifdef ZV_LATENCYFS
        const QString daemon = QStringLiteral(ZV_LATENCYFS);
#else
        const QString daemon;
#endif
        if (daemon.isEmpty()) {
            m_why = QStringLiteral("built without libfuse3");
            return;
        }
        if (!QFileInfo::exists(QStringLiteral("/dev/fuse"))) {
            m_why = QStringLiteral("/dev/fuse is missing");
            return;
        }
        QStringList arguments{source, m_point.path(), QString::number(delayUs)};
        if (jitter)
            arguments << QStringLiteral("jitter");
        m_daemon.setProcessChannelMode(QProcess::ForwardedChannels);
        m_daemon.start(daemon, arguments);
        for (int i = 0; i < 100 && m_daemon.state() != QProcess::NotRunning; ++i) {
            struct statfs fs { };
            if (::statfs(QFile::encodeName(m_point.path()).constData(), &fs) == 0 && fs.f_type == 0x65735546) {
                m_mounted = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        m_why = QStringLiteral("the mount was refused");
    }
    ~LatencyMount()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("fusermount3"), {QStringLiteral("-u"), m_point.path()});
        if (m_daemon.state() != QProcess::NotRunning && !m_daemon.waitForFinished(5000))
            m_daemon.kill();
    }
    LatencyMount(const LatencyMount &) = delete;
    LatencyMount &operator=(const LatencyMount &) = delete;

    bool mounted() const
    {
        return m_mounted;
    }
    QString path() const
    {
        return m_point.path();
    }
    QString why() const
    {
        return m_why;
    }

private:
    QTemporaryDir m_point;
    QProcess m_daemon;
    bool m_mounted = false;
    QString m_why;
};
