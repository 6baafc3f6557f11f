#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Makes a short test clip with the ffmpeg command; returns false when ffmpeg failed.
inline bool makeClip(const QString &path, const QStringList &codecArgs, bool withVideo = true,
                     const QString &size = QStringLiteral("320x240"), double seconds = 2.0)
{
    QStringList args = {"-hide_banner", "-loglevel", "error", "-y"};
    if (withVideo)
        args << "-f" << "lavfi" << "-i" << QStringLiteral("testsrc=size=%1:rate=25").arg(size);
    args << "-f" << "lavfi" << "-i" << "sine=frequency=440:sample_rate=44100";
    args << "-t" << QString::number(seconds) << codecArgs << path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit
           && ffmpeg.exitCode() == 0;
}
