// MCI command strings of any text: the parser ends, and a parsed command is consistent.
#include "FuzzCheck.h"

#include "media/MciCommand.h"

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const MciCommand command = MciCommand::parse(text);
    FUZZ_CHECK(command.args.size() == command.rawArgs.size());
    FUZZ_CHECK(command.verb == command.verb.toLower());
    for (qsizetype i = 0; i < command.args.size(); ++i)
        FUZZ_CHECK(command.args[i] == command.rawArgs[i].toLower());
    if (command.error == 0) {
        // The verb may be empty: a quoted "" is a word (found by this target; the device
        // answers it as an unknown command).
        FUZZ_CHECK(text.contains(command.device));
        (void)command.joined(1);
    }
    return 0;
}
