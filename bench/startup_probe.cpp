// startup_probe TITLE PROGRAM [ARGS...]
// Starts PROGRAM, waits until a top-level window named TITLE is mapped in the X
// server given by DISPLAY, waits two seconds more, and prints one line:
//   <milliseconds until mapped> <resident KiB two seconds later> <peak resident KiB>
// Then it ends the program. Exit status 1 when no such window shows within 20 s.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::string windowName(Display* display, Window window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &rest, &data) == Success &&
        data != nullptr) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (name.empty()) {
        char* plain = nullptr;
        if (XFetchName(display, window, &plain) && plain != nullptr) {
            name = plain;
            XFree(plain);
        }
    }
    return name;
}

// A memory figure of /proc/PID/status in KiB: "VmRSS:" now, "VmHWM:" its peak.
long memoryKiB(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(field.size()));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string title = argv[1];
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto started = Clock::now();
    // The program's start-up steps are counted from here (a build with SOMNAR_STARTUP_STEPS).
    const std::string startedNs = std::to_string(
        std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count());
    setenv("SOMNAR_STARTED_AT_NS", startedNs.c_str(), 1);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    double mappedMs = -1;
    const auto deadline = started + std::chrono::seconds(20);
    pollfd events{ConnectionNumber(display), POLLIN, 0};
    while (mappedMs < 0 && Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            // The moment the event came, not after the question for the window's name: the
            // server answers that only once it has done what the program asked before it.
            const auto arrived = Clock::now();
            if (event.type == MapNotify && windowName(display, event.xmap.window) == title) {
                mappedMs = std::chrono::duration<double, std::milli>(arrived - started).count();
                break;
            }
        }
        if (mappedMs < 0) {
            poll(&events, 1, 50);
        }
    }
    long rss = -1;
    long peak = -1;
    if (mappedMs >= 0) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        rss = memoryKiB(child, "VmRSS:");
        peak = memoryKiB(child, "VmHWM:");
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (mappedMs < 0) {
        std::fprintf(stderr, "startup_probe: no window named '%s' within 20 s\n", title.c_str());
        return 1;
    }
    std::printf("%.1f %ld %ld\n", mappedMs, rss, peak);
    return 0;
}
