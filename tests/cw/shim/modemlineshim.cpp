// Modem lines for pseudo-terminals, preloaded into a test process: the RTS/DTR ioctls that a
// pty refuses succeed here, and every line change is appended to the file named by
// VELK_MODEM_LOG as "<monotonic ns> <fd> <RTS> <DTR>", one write per record so a kill loses
// nothing. A close of such a descriptor is recorded as "<ns> <fd> close <HUPCL>".
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

namespace {

using IoctlFunction = int (*)(int, unsigned long, ...);
using CloseFunction = int (*)(int);

constexpr int trackedLimit = 4096;
// -1: not a pty we stand in for; otherwise the TIOCM bits.
std::array<int, trackedLimit> lineState = [] {
    std::array<int, trackedLimit> state{};
    state.fill(-1);
    return state;
}();

// Resolved once at load; until then (dlsym itself may close or ioctl) the system calls serve.
IoctlFunction nextIoctl = nullptr;
CloseFunction nextClose = nullptr;

__attribute__((constructor)) void resolveNext()
{
    nextIoctl = reinterpret_cast<IoctlFunction>(dlsym(RTLD_NEXT, "ioctl"));
    nextClose = reinterpret_cast<CloseFunction>(dlsym(RTLD_NEXT, "close"));
}

int realIoctl(int fd, unsigned long request, void* argument)
{
    return nextIoctl ? nextIoctl(fd, request, argument)
                     : static_cast<int>(syscall(SYS_ioctl, fd, request, argument));
}

int realClose(int fd)
{
    return nextClose ? nextClose(fd) : static_cast<int>(syscall(SYS_close, fd));
}

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void record(const char* line, int length)
{
    static int logFd = [] {
        const char* path = std::getenv("VELK_MODEM_LOG");
        return path ? ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644) : -1;
    }();
    if (logFd >= 0 && length > 0) {
        [[maybe_unused]] const ssize_t written = ::write(logFd, line, static_cast<size_t>(length));
    }
}

void recordLines(int fd)
{
    char line[96];
    const int length =
        std::snprintf(line, sizeof line, "%lld %d %d %d\n", nowNs(), fd, (lineState[fd] & TIOCM_RTS) ? 1 : 0,
                      (lineState[fd] & TIOCM_DTR) ? 1 : 0);
    record(line, length);
}

bool isModemRequest(unsigned long request)
{
    return request == TIOCMBIS || request == TIOCMBIC || request == TIOCMSET || request == TIOCMGET;
}

} // namespace

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    const int result = realIoctl(fd, request, argument);
    if (result == 0 || !isModemRequest(request) || fd < 0 || fd >= trackedLimit || !isatty(fd)) {
        return result;
    }
    // The pty has no modem lines: keep them here.
    const int savedErrno = errno;
    if (lineState[fd] < 0) {
        lineState[fd] = 0;
    }
    int* bits = static_cast<int*>(argument);
    if (!bits) {
        errno = savedErrno;
        return result;
    }
    switch (request) {
    case TIOCMBIS:
        lineState[fd] |= *bits;
        break;
    case TIOCMBIC:
        lineState[fd] &= ~*bits;
        break;
    case TIOCMSET:
        lineState[fd] = *bits;
        break;
    case TIOCMGET:
        *bits = lineState[fd];
        return 0;
    default:
        break;
    }
    recordLines(fd);
    return 0;
}

extern "C" int close(int fd)
{
    if (fd >= 0 && fd < trackedLimit && lineState[fd] >= 0) {
        termios settings{};
        const bool hangUp = tcgetattr(fd, &settings) == 0 && (settings.c_cflag & HUPCL);
        char line[96];
        const int length =
            std::snprintf(line, sizeof line, "%lld %d close %d\n", nowNs(), fd, hangUp ? 1 : 0);
        record(line, length);
        lineState[fd] = -1;
    }
    return realClose(fd);
}
