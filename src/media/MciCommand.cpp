#include "media/MciCommand.h"

#include "media/MciErrors.h"

namespace zv {

MciCommand MciCommand::parse(const QString &text)
{
    MciCommand command;
    QStringList words;
    QList<bool> quoted;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && text[i].isSpace())
            ++i;
        if (i >= n)
            break;
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            if (close < 0) {
                command.error = mci::NoClosingQuote;
                return command;
            }
            words << text.mid(i + 1, close - i - 1);
            quoted << true;
            i = close + 1;
            if (i < n && !text[i].isSpace()) {
                command.error = mci::ExtraCharacters;
                return command;
            }
        } else {
            const qsizetype start = i;
            while (i < n && !text[i].isSpace())
                ++i;
            words << text.mid(start, i - start);
            quoted << false;
        }
    }
    if (words.isEmpty()) {
        command.error = mci::MissingCommandString;
        return command;
    }
    command.verb = words.takeFirst().toLower();
    quoted.removeFirst();
    if (words.isEmpty()) {
        command.error = mci::MissingDeviceName;
        return command;
    }
    command.device = words.takeFirst();
    quoted.removeFirst();
    for (qsizetype w = 0; w < words.size(); ++w) {
        const QString lower = words[w].toLower();
        if (!quoted[w] && lower == QStringLiteral("wait")) {
            command.wait = true;
        } else if (!quoted[w] && lower == QStringLiteral("notify")) {
            command.notify = true;
        } else {
            command.args << lower;
            command.rawArgs << words[w];
        }
    }
    return command;
}

} // namespace zv
