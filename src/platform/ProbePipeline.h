#pragma once

#include "DirectoryProbe.h"
#include "ProbeTuning.h"

#include "FolderReader.h"

#include <cstddef>

namespace zv::probing {

// Lists dir on the calling thread while other threads already probe the files listed so far,
// and hands them to handlers in listing order.
void probeInOrder(FolderReader &folder, std::size_t tailBytes, const ProbeHandlers &handlers,
                  const ProbeSpread &spread);

} // namespace zv::probing
