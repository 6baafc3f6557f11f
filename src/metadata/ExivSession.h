#pragma once

namespace zv {

// Makes libexiv2 ready for use from several threads, quiet on stderr and reading HEIC; cheap to
// call before every use.
void prepareExiv2();

} // namespace zv
