#pragma once
// Doubles for the seams, shared by every test.

#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/Shell.h"

#include <QFileInfo>
#include <QStringList>

#include <deque>

namespace zv::test {

class RecordingShell : public Shell {
public:
    QStringList opened;
    struct Start {
        QString program;
        QStringList arguments;
    };
    QList<Start> started;
    ShowState lastShow{};
    bool succeeds = true;

    bool openDocument(const QString &path, ShowState show) override
    {
        opened << path;
        lastShow = show;
        return succeeds;
    }
    bool startProgram(const QString &program, const QStringList &arguments, const QString &) override
    {
        started.append({program, arguments});
        return succeeds;
    }
};

// Records every box as "title|text" and answers from a script, Ok or Yes when it runs dry.
class ScriptedDialogs : public Dialogs {
public:
    QStringList shown;
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<QString>> inputs;

    MessageAnswer message(const QString &title, const QString &text, MessageIcon, MessageButtons buttons) override
    {
        shown << title + QLatin1Char('|') + text;
        if (!answers.empty()) {
            const MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    std::optional<QString> input(const QString &title, const QString &prompt, const QString &) override
    {
        shown << title + QLatin1Char('|') + prompt;
        if (inputs.empty())
            return std::nullopt;
        const std::optional<QString> answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
};

class FakeDrives : public Drives {
public:
    DriveInfo drive;
    QList<DriveInfo> drives;
    DriveInfo driveOf(const QString &) const override { return drive; }
    QList<DriveInfo> list() const override { return drives.isEmpty() ? QList<DriveInfo>{drive} : drives; }
    QList<Place> placeList;
    QList<Place> places() const override { return placeList; }
};

} // namespace zv::test
