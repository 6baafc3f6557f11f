#pragma once

#include "media/MciDevice.h"

#include <QHash>
#include <QStringList>

// Records every command and answers from a script keyed by the command string, else with answerAll.
class RecordingDevice final : public zv::MciDevice {
public:
    zv::MciResult send(const QString &command) override
    {
        sent << command;
        return script.value(command, zv::MciResult{0, answerAll});
    }
    QString errorText(int code) const override { return QStringLiteral("text %1").arg(code); }
    void reply(const QString &command, const QString &text, int code = 0)
    {
        script.insert(command, zv::MciResult{code, text});
    }

    QStringList sent;
    QHash<QString, zv::MciResult> script;
    QString answerAll;
};
