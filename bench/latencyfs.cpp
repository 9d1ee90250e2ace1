// quillon-latencyfs: mounts a folder read-only somewhere else and makes every call into the
// file system wait a fixed time first, as a network share does, while serving many calls at once.
// Usage: quillon-latencyfs [--delay-ms N] [--threads N] SOURCE MOUNTPOINT
// It runs in the foreground and unmounts on SIGINT or SIGTERM. See README.md here.

#define FUSE_USE_VERSION 312
#include <fuse3/fuse.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

enum Call {
    GetAttr,
    ReadLink,
    Open,
    Read,
    Flush,
    Release,
    OpenDir,
    ReadDir,
    ReleaseDir,
    StatFs,
    CallKinds
};
constexpr std::array<const char *, CallKinds> CallNames = {
    "getattr", "readlink", "open",    "read",       "flush",
    "release", "opendir",  "readdir", "releasedir", "statfs"};

// What was asked of the mount, printed when it ends: shows how many calls a walk makes and
// how many of them it kept in flight at once.
struct Counters {
    std::array<std::atomic<long>, CallKinds> calls{};
    std::atomic<int> inFlight = 0;
    std::atomic<int> peakInFlight = 0;
};

struct Mount {
    int sourceFd = -1;
    timespec delay{};
    Counters counters;
};

Mount &mount()
{
    return *static_cast<Mount *>(fuse_get_context()->private_data);
}

// The round trip every request pays; the rest of the call is served from the local folder.
void roundTrip(Call call)
{
    Mount &m = mount();
    ++m.counters.calls[call];
    const int now = ++m.counters.inFlight;
    int peak = m.counters.peakInFlight;
    while (now > peak && !m.counters.peakInFlight.compare_exchange_weak(peak, now)) {
    }
    if (m.delay.tv_sec != 0 || m.delay.tv_nsec != 0)
        ::nanosleep(&m.delay, nullptr);
    --m.counters.inFlight;
}

// FUSE paths start with '/'; the calls below take them relative to the source folder.
const char *relative(const char *path)
{
    return path[1] == '\0' ? "." : path + 1;
}

void *init(fuse_conn_info *conn, fuse_config *config)
{
    // Reads of a fresh page go out as background requests; the kernel's default of 12 at once
    // would cap the reads in flight below what a share takes.
    conn->max_background = 256;
    conn->congestion_threshold = 192;
    // A share's client caches names and attributes for about a second; file contents are
    // fetched again on every open (no kernel_cache).
    config->entry_timeout = 1.0;
    config->attr_timeout = 1.0;
    config->negative_timeout = 1.0;
    config->use_ino = 1;
    return fuse_get_context()->private_data;
}

int getattr(const char *path, struct stat *st, fuse_file_info *fi)
{
    roundTrip(GetAttr);
    const int rc = fi ? ::fstat(int(fi->fh), st)
                      : ::fstatat(mount().sourceFd, relative(path), st, AT_SYMLINK_NOFOLLOW);
    return rc == 0 ? 0 : -errno;
}

int readlink(const char *path, char *buffer, size_t size)
{
    roundTrip(ReadLink);
    const ssize_t got = ::readlinkat(mount().sourceFd, relative(path), buffer, size - 1);
    if (got < 0)
        return -errno;
    buffer[got] = '\0';
    return 0;
}

int open(const char *path, fuse_file_info *fi)
{
    roundTrip(Open);
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    const int fd =
        ::openat(mount().sourceFd, relative(path), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    fi->fh = uint64_t(fd);
    return 0;
}

int read(const char *, char *buffer, size_t size, off_t offset, fuse_file_info *fi)
{
    roundTrip(Read);
    const ssize_t got = ::pread(int(fi->fh), buffer, size, offset);
    return got < 0 ? -errno : int(got);
}

int flush(const char *, fuse_file_info *)
{
    roundTrip(Flush);
    return 0;
}

int release(const char *, fuse_file_info *fi)
{
    roundTrip(Release);
    ::close(int(fi->fh));
    return 0;
}

int opendir(const char *path, fuse_file_info *fi)
{
    roundTrip(OpenDir);
    const int fd =
        ::openat(mount().sourceFd, relative(path), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    fi->fh = reinterpret_cast<uint64_t>(dir);
    return 0;
}

// Hands the whole listing over at once, with each entry's attributes, as a share's listing
// does; the library buffers it for the kernel's further reads of the same listing.
int readdir(const char *, void *buffer, fuse_fill_dir_t fill, off_t, fuse_file_info *fi,
            fuse_readdir_flags)
{
    roundTrip(ReadDir);
    DIR *dir = reinterpret_cast<DIR *>(fi->fh);
    ::rewinddir(dir);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (fill(buffer, entry->d_name, &st, 0, FUSE_FILL_DIR_PLUS) != 0)
            return -ENOMEM;
    }
    return 0;
}

int releasedir(const char *, fuse_file_info *fi)
{
    roundTrip(ReleaseDir);
    ::closedir(reinterpret_cast<DIR *>(fi->fh));
    return 0;
}

int statfs(const char *, struct statvfs *st)
{
    roundTrip(StatFs);
    return ::fstatvfs(mount().sourceFd, st) == 0 ? 0 : -errno;
}

int usage()
{
    std::fprintf(stderr, "usage: quillon-latencyfs [--delay-ms N] [--threads N] SOURCE "
                         "MOUNTPOINT\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    double delayMs = 1.0;
    unsigned threads = 64;
    const char *source = nullptr;
    const char *mountPoint = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--delay-ms" && i + 1 < argc)
            delayMs = std::atof(argv[++i]);
        else if (arg == "--threads" && i + 1 < argc)
            threads = unsigned(std::atoi(argv[++i]));
        else if (!source)
            source = argv[i];
        else if (!mountPoint)
            mountPoint = argv[i];
        else
            return usage();
    }
    if (!source || !mountPoint || delayMs < 0 || threads < 1)
        return usage();

    Mount state;
    state.sourceFd = ::open(source, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.sourceFd < 0) {
        std::fprintf(stderr, "quillon-latencyfs: cannot open %s: %s\n", source,
                     std::strerror(errno));
        return 1;
    }
    const long delayNs = long(delayMs * 1e6);
    state.delay = {delayNs / 1'000'000'000, delayNs % 1'000'000'000};

    fuse_operations ops{};
    ops.getattr = getattr;
    ops.readlink = readlink;
    ops.open = open;
    ops.read = read;
    ops.statfs = statfs;
    ops.flush = flush;
    ops.release = release;
    ops.opendir = opendir;
    ops.readdir = readdir;
    ops.releasedir = releasedir;
    ops.init = init;

    char program[] = "quillon-latencyfs";
    char readOnly[] = "-oro,fsname=quillon-latencyfs,subtype=latency";
    char *fuseArgv[] = {program, readOnly, nullptr};
    fuse_args args = FUSE_ARGS_INIT(2, fuseArgv);
    fuse *fs = fuse_new(&args, &ops, sizeof ops, &state);
    if (!fs)
        return 1;
    int rc = 1;
    if (fuse_mount(fs, mountPoint) == 0) {
        fuse_session *session = fuse_get_session(fs);
        if (fuse_set_signal_handlers(session) == 0) {
            fuse_loop_config *loop = fuse_loop_cfg_create();
            fuse_loop_cfg_set_max_threads(loop, threads);
            fuse_loop_cfg_set_idle_threads(loop, threads);
            rc = fuse_loop_mt(fs, loop) == 0 ? 0 : 1;
            fuse_loop_cfg_destroy(loop);
            fuse_remove_signal_handlers(session);
        }
        fuse_unmount(fs);
    }
    fuse_destroy(fs);
    std::fprintf(stderr, "quillon-latencyfs: calls");
    for (int call = 0; call < CallKinds; ++call)
        std::fprintf(stderr, " %s %ld", CallNames[call], state.counters.calls[call].load());
    std::fprintf(stderr, "; at most %d at once\n", state.counters.peakInFlight.load());
    ::close(state.sourceFd);
    return rc;
}
