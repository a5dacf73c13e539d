// Starts a program on the X display in $DISPLAY and reports how long it took until its first
// top-level window was mapped, and the program's peak memory, as "<milliseconds> <KiB>".
// Usage: time_to_map PROGRAM [ARGUMENT...]

#include <X11/Xlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    XEvent event;
    do {
        XNextEvent(display, &event);
    } while (event.type != MapNotify || event.xmap.event != root);
    const std::chrono::duration<double, std::milli> mapped =
        std::chrono::steady_clock::now() - start;

    // Let the window paint itself before the program ends, so the peak memory includes it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("%.1f %ld\n", mapped.count(), usage.ru_maxrss);
    XCloseDisplay(display);
    return 0;
}
