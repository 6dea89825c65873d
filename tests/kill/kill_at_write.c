// Preloaded into a Wine process (LD_PRELOAD): counts the writes and flushes of TAV.INI, TAV.BAK
// and the files a change makes beside them, and kills the process at the N-th (TAV_KILL_AT),
// half-way through that write, as the power going would. Every count is appended to
// TAV_KILL_LOG, so a run without TAV_KILL_AT tells how many there are.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/uio.h>
#include <unistd.h>

static atomic_int counted;

static int Watched(int fd)
{
    static const char *const names[] = {"TAV.INI", "TAV.BAK", "TAV.NEW", "TAV.OLD"};
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0)
        return 0;
    path[n] = '\0';
    const char *base = strrchr(path, '/');
    base = base ? base + 1 : path;
    for (size_t i = 0; i < sizeof names / sizeof *names; ++i)
        if (strcasecmp(base, names[i]) == 0)
            return 1;
    return 0;
}

// Whether this write or flush is the one to die at.
static int Counts(int fd, const char *what)
{
    if (!Watched(fd))
        return 0;
    const int n = ++counted;
    const char *log = getenv("TAV_KILL_LOG");
    if (log) {
        char line[128], link[64], path[512] = "";
        snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t len = readlink(link, path, sizeof path - 1);
        path[len > 0 ? len : 0] = '\0';
        const int out = open(log, O_WRONLY | O_APPEND | O_CREAT, 0644);
        const int m = snprintf(line, sizeof line, "%d %s %s\n", n, what, strrchr(path, '/') ? strrchr(path, '/') + 1 : path);
        if (out >= 0) {
            ssize_t (*real)(int, const void *, size_t) = (ssize_t(*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
            real(out, line, (size_t)m);
            close(out);
        }
    }
    const char *at = getenv("TAV_KILL_AT");
    return at && atoi(at) == n;
}

ssize_t write(int fd, const void *buffer, size_t count)
{
    ssize_t (*real)(int, const void *, size_t) = (ssize_t(*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
    if (Counts(fd, "write")) {
        real(fd, buffer, count / 2);
        kill(getpid(), SIGKILL);
    }
    return real(fd, buffer, count);
}

ssize_t pwrite64(int fd, const void *buffer, size_t count, off_t offset)
{
    ssize_t (*real)(int, const void *, size_t, off_t) =
        (ssize_t(*)(int, const void *, size_t, off_t))dlsym(RTLD_NEXT, "pwrite64");
    if (Counts(fd, "pwrite")) {
        real(fd, buffer, count / 2, offset);
        kill(getpid(), SIGKILL);
    }
    return real(fd, buffer, count, offset);
}

ssize_t pwrite(int fd, const void *buffer, size_t count, off_t offset) { return pwrite64(fd, buffer, count, offset); }

ssize_t writev(int fd, const struct iovec *iov, int n)
{
    ssize_t (*real)(int, const struct iovec *, int) = (ssize_t(*)(int, const struct iovec *, int))dlsym(RTLD_NEXT, "writev");
    if (Counts(fd, "writev"))
        kill(getpid(), SIGKILL);
    return real(fd, iov, n);
}

int fsync(int fd)
{
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    if (Counts(fd, "fsync"))
        kill(getpid(), SIGKILL);
    return real(fd);
}

int fdatasync(int fd)
{
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, "fdatasync");
    if (Counts(fd, "fdatasync"))
        kill(getpid(), SIGKILL);
    return real(fd);
}
