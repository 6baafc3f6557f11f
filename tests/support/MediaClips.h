#pragma once
// Short clips made by ffmpeg for the media tests, and what a picture of one shows.

#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStringList>

inline bool runFfmpeg(const QStringList &args)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

// Makes a short test clip with the ffmpeg command; returns false when ffmpeg failed.
inline bool makeClip(const QString &path, const QStringList &codecArgs, bool withVideo = true,
                     const QString &size = QStringLiteral("320x240"), int seconds = 2)
{
    QStringList args;
    if (withVideo)
        args << "-f"
             << "lavfi"
             << "-i" << QStringLiteral("testsrc=size=%1:rate=25").arg(size);
    args << "-f"
         << "lavfi"
         << "-i"
         << "sine=frequency=440:sample_rate=44100"
         << "-t" << QString::number(seconds) << codecArgs << path;
    return runFfmpeg(args);
}

// Today's containers as phones and cameras write them: name, then ffmpeg's codec arguments.
inline const QList<QPair<QString, QStringList>> &todaysClips()
{
    static const QList<QPair<QString, QStringList>> clips{
        {"phone.mp4", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}},
        {"camera.mkv", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "libvorbis"}},
        {"web.webm", {"-c:v", "libvpx", "-b:v", "300k", "-c:a", "libvorbis"}},
    };
    return clips;
}

// The other containers the album plays, in the media test only.
inline const QList<QPair<QString, QStringList>> &otherClips()
{
    static const QList<QPair<QString, QStringList>> clips{
        {"apple.m4v", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}},
        {"camcorder.mts", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "ac3"}},
        {"bluray.m2ts", {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "ac3"}},
        {"handy.3gp", {"-c:v", "mpeg4", "-c:a", "aac"}},
        // Silent: WMA pads its last packet, and the file would be 90 ms longer than its picture.
        {"windows.wmv", {"-c:v", "wmv2", "-an"}},
        {"flash.flv", {"-c:v", "flv", "-c:a", "aac"}},
        {"theora.ogv", {"-c:v", "libtheora", "-c:a", "libvorbis"}},
    };
    return clips;
}

// Copies a clip and marks its video as filmed turned by degrees, as phones do.
inline bool rotatedCopy(const QString &from, const QString &to, int degrees)
{
    return runFfmpeg({"-i", from, "-c", "copy", "-metadata:s:v:0", QStringLiteral("rotate=%1").arg(degrees), to});
}

// How many colours a grid of every fourth pixel shows; a plain or black picture has one.
inline int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}
