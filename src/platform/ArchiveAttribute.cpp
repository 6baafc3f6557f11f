#include "ArchiveAttribute.h"

namespace zv {

bool clearArchiveAttribute(const QString &)
{
    return true;
}

} // namespace zv
