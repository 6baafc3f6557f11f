// A pass-through FUSE file system over SOURCE that waits DELAY_US microseconds before each
// lookup, open, read and release, like a network drive with that round trip. With "jitter",
// each wait is drawn between none and twice the delay, so answers come back out of order.
// Usage: latencyfs SOURCE MOUNTPOINT [DELAY_US=1000 [jitter]]   (runs until unmounted)
#define FUSE_USE_VERSION 312
#include <fuse3/fuse.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

namespace {

std::string g_source;
std::chrono::microseconds g_delay{1000};
bool g_jitter = false;

std::string real(const char *path)
{
    return g_source + path;
}

void roundTrip()
{
    if (!g_jitter) {
        std::this_thread::sleep_for(g_delay);
        return;
    }
    thread_local std::minstd_rand random{std::random_device{}()};
    std::uniform_int_distribution<long> wait(0, 2 * g_delay.count());
    std::this_thread::sleep_for(std::chrono::microseconds(wait(random)));
}

void *init(fuse_conn_info *conn, fuse_config *cfg)
{
    // A lookup on every open, as on a share whose directory can change under us; the
    // attributes the lookup brought serve the fstat after it.
    cfg->entry_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->attr_timeout = 1;
    cfg->kernel_cache = 0;
    // Lookups of names the kernel has not seen yet wait for the directory's lock, one at a time,
    // unless the file system allows parallel directory operations. libfuse before 3.16 never
    // tells the kernel (it keeps the flag to itself, libfuse#861), so wanting it is not enough:
    // the listing also brings every entry's attributes (READDIRPLUS, as NFS and SMB listings
    // do), the kernel knows each name after it, and the lookup on open becomes a revalidation,
    // which takes no lock. A hundred thousand first lookups took 115 s before, one after the
    // other.
    if (conn->capable & FUSE_CAP_PARALLEL_DIROPS)
        conn->want |= FUSE_CAP_PARALLEL_DIROPS;
    if (conn->capable & FUSE_CAP_READDIRPLUS)
        conn->want |= FUSE_CAP_READDIRPLUS;
    conn->want &= ~FUSE_CAP_READDIRPLUS_AUTO; // every listing, not only its first part
    // Reads of the page cache go out as background requests; the kernel's default of 12 at
    // once would be the bottleneck instead of the delay.
    conn->max_background = 256;
    conn->congestion_threshold = 192;
    return nullptr;
}

int getattr(const char *path, struct stat *st, fuse_file_info *fi)
{
    if (fi)
        return ::fstat(static_cast<int>(fi->fh), st) == 0 ? 0 : -errno;
    roundTrip(); // the kernel's lookup of a name lands here
    return ::lstat(real(path).c_str(), st) == 0 ? 0 : -errno;
}

// With offsets, so that libfuse hands the attributes on as entries the kernel keeps; without
// them it sends READDIRPLUS entries without a node, which the kernel skips.
int readdir(const char *path, void *buf, fuse_fill_dir_t fill, off_t offset, fuse_file_info *, fuse_readdir_flags flags)
{
    DIR *dir = ::opendir(real(path).c_str());
    if (!dir)
        return -errno;
    if (offset != 0)
        ::seekdir(dir, offset);
    const bool plus = (flags & FUSE_READDIR_PLUS) != 0;
    while (const dirent *e = ::readdir(dir)) {
        struct stat st { };
        st.st_ino = e->d_ino;
        st.st_mode = DTTOIF(e->d_type);
        const bool full = plus && ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (fill(buf, e->d_name, &st, ::telldir(dir), full ? FUSE_FILL_DIR_PLUS : fuse_fill_dir_flags(0)))
            break;
    }
    ::closedir(dir);
    return 0;
}

int open(const char *path, fuse_file_info *fi)
{
    roundTrip();
    const int fd = ::open(real(path).c_str(), fi->flags & ~O_NONBLOCK);
    if (fd < 0)
        return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int read(const char *, char *buf, size_t size, off_t offset, fuse_file_info *fi)
{
    roundTrip();
    const ssize_t got = ::pread(static_cast<int>(fi->fh), buf, size, offset);
    return got < 0 ? -errno : static_cast<int>(got);
}

int release(const char *, fuse_file_info *fi)
{
    roundTrip();
    ::close(static_cast<int>(fi->fh));
    return 0;
}

int statfs(const char *path, struct statvfs *st)
{
    return ::statvfs(real(path).c_str(), st) == 0 ? 0 : -errno;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SOURCE MOUNTPOINT [DELAY_US [jitter]]\n", argv[0]);
        return 2;
    }
    char source[PATH_MAX];
    if (!::realpath(argv[1], source)) {
        std::perror(argv[1]);
        return 1;
    }
    g_source = source;
    if (argc > 3)
        g_delay = std::chrono::microseconds(std::atol(argv[3]));
    g_jitter = argc > 4 && std::string(argv[4]) == "jitter";

    fuse_operations ops{};
    ops.init = init;
    ops.getattr = getattr;
    ops.readdir = readdir;
    ops.open = open;
    ops.read = read;
    ops.release = release;
    ops.statfs = statfs;

    fuse_args args = FUSE_ARGS_INIT(0, nullptr);
    fuse_opt_add_arg(&args, argv[0]);
    fuse *fs = fuse_new(&args, &ops, sizeof ops, nullptr);
    if (!fs || fuse_mount(fs, argv[2]) != 0) {
        std::fprintf(stderr, "latencyfs: cannot mount %s\n", argv[2]);
        return 1;
    }
    fuse_set_signal_handlers(fuse_get_session(fs));
    // Every request in flight holds a thread for its delay.
    fuse_loop_config *loop = fuse_loop_cfg_create();
    fuse_loop_cfg_set_max_threads(loop, 256);
    fuse_loop_cfg_set_idle_threads(loop, 256);
    const int result = fuse_loop_mt(fs, loop);
    fuse_loop_cfg_destroy(loop);
    fuse_remove_signal_handlers(fuse_get_session(fs));
    fuse_unmount(fs);
    fuse_destroy(fs);
    fuse_opt_free_args(&args);
    return result == 0 ? 0 : 1;
}
