#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

// A broken property is a crash, so libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

// One scratch file per fuzzing process, in a folder of its own that is removed at exit; on
// tmpfs when there is one, since a flush per input on a real disk would be most of the time.
inline const std::string &scratchFile(const char *name)
{
    static char folder[64];
    static std::string path;
    if (path.empty()) {
        std::snprintf(folder, sizeof folder, "/dev/shm/zv-fuzz-XXXXXX");
        if (!::mkdtemp(folder)) {
            std::snprintf(folder, sizeof folder, "/tmp/zv-fuzz-XXXXXX");
            FUZZ_CHECK(::mkdtemp(folder) != nullptr);
        }
        path = std::string(folder) + "/" + name;
        std::atexit([] {
            ::unlink(path.c_str());
            ::rmdir(folder);
        });
    }
    return path;
}
