#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace zv {

// Files a thread opens before their tails are read together.
inline constexpr std::size_t MaxProbeBatch = 16;

// How the loader's file probes are spread over threads.
struct ProbeSpread {
    int inFlight = 1;
    // Threads from the start; the rest join only once the probes turn out slow (a cold disk).
    // On warm local files more threads than cores cost more in hand-overs than they bring.
    int atFirst = 1;
    // Files a thread takes at once, their tails read together (TailReads).
    int batch = 1;

    friend bool operator==(const ProbeSpread &, const ProbeSpread &) = default;
};

// What the spread depends on, apart from the caller's wish.
struct ProbeMachine {
    bool remote = false; // network or user-space file system
    int cores = 1;
    std::uint64_t openFiles = 1024; // the limit of open files
};

inline constexpr std::uint64_t NoOpenFileLimit = UINT64_MAX;

// Whether statfs's f_type names a network or user-space file system.
bool isRemoteFileSystem(std::uint32_t type);

// Files each of that many threads may keep open at once under the given limit.
int probeBatchFor(int threads, std::uint64_t openFiles);

// inFlight 0: the default for the machine.
ProbeSpread probeSpreadFor(const ProbeMachine &machine, int inFlight);

// Files probed ahead of the last one delivered.
std::size_t probeWindowFor(const ProbeSpread &spread);

// The machine as it is for this folder.
ProbeMachine probeMachineFor(const QByteArray &folder);

} // namespace zv
