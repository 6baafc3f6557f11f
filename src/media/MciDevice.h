#pragma once

#include <QString>

namespace zv {

// The answer of one MCI command string: the result code (0 = success) and the reply text.
struct MciResult {
    int code = 0;
    QString reply; // at most MciDevice::ReplyCapacity characters
};

// Something that understands MCI command strings on the alias "movie".
class MciDevice {
public:
    static constexpr int ReplyCapacity = 128;

    virtual ~MciDevice() = default;
    virtual MciResult send(const QString &command) = 0;
    virtual QString errorText(int code) const = 0;
};

} // namespace zv
