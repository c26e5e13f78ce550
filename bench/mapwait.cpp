// SPDX-License-Identifier: GPL-3.0-or-later
// qncf-bench-mapwait: starts a program and waits for its first top-level window whose title
// holds the given text to be mapped on the X display, then prints "PID MICROSECONDS" (from
// just before the exec to the map), then leaves the program running until our standard input
// closes, and ends it. The program's standard output goes to our standard error. Event
// driven: the root window's map notifications are watched from before the program starts, so
// nothing is polled and no map is missed.
//
//   qncf-bench-mapwait TITLE-TEXT TIMEOUT-MS PROGRAM [ARGS...]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long nowUs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000LL + t.tv_nsec / 1000;
}

// _NET_WM_NAME (UTF-8) where the window has it, else WM_NAME.
std::string titleOf(Display *d, Window w)
{
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        title.assign(reinterpret_cast<char *>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char *name = nullptr;
        if (XFetchName(d, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// A window that went away before we asked about it is no error of ours.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE-TEXT TIMEOUT-MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[1];
    const long long timeoutUs = std::atoll(argv[2]) * 1000;

    Display *d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "mapwait: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const long long start = nowUs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("mapwait: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(d));
        // Our standard output is the answer alone, and the program outlives us.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[3], argv + 3);
        std::perror("mapwait: exec");
        _exit(127);
    }

    for (;;) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != MapNotify || e.xmap.override_redirect)
                continue;
            const long long mapped = nowUs();
            if (titleOf(d, e.xmap.window).find(wanted) != std::string::npos) {
                std::printf("%d %lld\n", int(pid), mapped - start);
                std::fflush(stdout);
                XCloseDisplay(d);
                char c;
                while (read(STDIN_FILENO, &c, 1) > 0) {
                }
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
                return 0;
            }
        }
        const long long left = start + timeoutUs - nowUs();
        if (left <= 0)
            break;
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        if (poll(&p, 1, int(left / 1000) + 1) < 0 && errno != EINTR)
            break;
    }
    std::fprintf(stderr, "mapwait: no window \"%s\" within %s ms\n", wanted.c_str(), argv[2]);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 1;
}
