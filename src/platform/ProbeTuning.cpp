#include "ProbeTuning.h"
#include "DirectoryProbe.h"

#include <sys/resource.h>
#include <sys/vfs.h>

#include <algorithm>
#include <thread>

namespace zv {

bool isRemoteFileSystem(std::uint32_t type)
{
    switch (type) {
    case 0x6969: // nfs
    case 0x517b: // smb
    case 0xfe534d42: // smb2
    case 0xff534d42: // cifs
    case 0x65735546: // fuse (sshfs, rclone, gvfs, ...)
    case 0x01021997: // 9p
    case 0x00c36400: // ceph
    case 0x5346414f: // afs
    case 0x73757245: // coda
        return true;
    default:
        return false;
    }
}

// As many as the limit of open files leaves room for: Qt and the rest of the program keep theirs.
int probeBatchFor(int threads, std::uint64_t openFiles)
{
    const std::uint64_t room = openFiles == NoOpenFileLimit ? 4096 : openFiles / 2;
    return static_cast<int>(std::clamp<std::uint64_t>(room / std::uint64_t(std::max(threads, 1)), 1, MaxProbeBatch));
}

ProbeSpread probeSpreadFor(const ProbeMachine &machine, int inFlight)
{
    // Over a network every open, stat and read waits for a round trip while the CPU idles:
    // 10,000 files at 1 ms per operation take 34 s one by one, 2.1 s with 16 at once, 1.1 s
    // with 32 and 0.9 s with 64 (bench/loading); beyond that the two cores are the limit.
    // One file per thread there: a batch would wait for its slowest round trip.
    if (machine.remote)
        return inFlight > 0 ? ProbeSpread{inFlight, inFlight, 1} : ProbeSpread{64, 64, 1};
    // A cold local disk gains from many reads queued at the device as much (20,000 files:
    // 0.97 x the serial loop with 2 threads, 0.35 x with 32), warm files only from as many
    // threads as cores (more: 1.7 x to 2.3 x the serial loop on two cores). The kernel time
    // per cold file then is the limit on two cores; batches of reads halve it (io_uring).
    const int cores = std::max(1, machine.cores);
    const ProbeSpread spread = inFlight > 0 ? ProbeSpread{inFlight, inFlight} : ProbeSpread{32, std::min(cores, 32)};
    return {spread.inFlight, spread.atFirst,
            spread.inFlight > 1 ? probeBatchFor(spread.inFlight, machine.openFiles) : 1};
}

// Room to run on past a file whose thread was put to sleep by other work on the machine: with a
// window of only a few files per thread the caller would stop with it. Small next to the album.
std::size_t probeWindowFor(const ProbeSpread &spread)
{
    return std::max<std::size_t>(std::size_t(spread.inFlight) * std::size_t(std::max(16, 4 * spread.batch)), 1024);
}

ProbeMachine probeMachineFor(const QByteArray &folder)
{
    ProbeMachine machine;
    struct statfs fs { };
    machine.remote = ::statfs(folder.constData(), &fs) == 0
                     && isRemoteFileSystem(static_cast<std::uint32_t>(static_cast<unsigned long>(fs.f_type)));
    machine.cores = static_cast<int>(std::thread::hardware_concurrency());
    struct rlimit limit { };
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0)
        machine.openFiles = limit.rlim_cur == RLIM_INFINITY ? NoOpenFileLimit : std::uint64_t(limit.rlim_cur);
    return machine;
}

int probesInFlightFor(const QByteArray &folder)
{
    return probeSpreadFor(probeMachineFor(folder), 0).inFlight;
}

} // namespace zv
