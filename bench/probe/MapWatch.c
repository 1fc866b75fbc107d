// Time from the exec of a program to the mapping of its first top-level window, then its memory
// once its event loop has settled.
//
// The watcher selects SubstructureNotify on the root window and waits for the server to confirm
// it before it starts the program, so no MapNotify can be missed; it then blocks on the X
// connection (no polling) and stops at the first MapNotify of a window whose _NET_WM_PID is the
// started process. Without a window manager a top-level window is a child of the root, so its
// MapNotify reaches the root's substructure listeners.
//
// Settled: SETTLE milliseconds after the map (500 by default: the first frame is drawn and the
// start-up work done) the watcher sends the window a _NET_WM_PING and reads /proc once the
// program has answered it, which its main thread does when it is back in its event loop.
//
// cpu_ms is the processor time the program's threads had used when the map was seen (threads
// that had already ended are not counted).
//
// With -a the first top-level window of any process counts: for a program started through a
// tracer (perf, strace), ended with SIGINT so that the tracer writes its report; the figures
// other than map_ms are then those of the tracer.
//
// Usage: MapWatch [-a] [-s SETTLE_MS] [-t TIMEOUT_S] program [args...]
// Prints "map_ms=... cpu_ms=... pong_ms=... rss_kib=... pss_kib=... hwm_kib=..." and ends the
// program.
#define _GNU_SOURCE
#include "SpawnTimed.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <sys/wait.h>

static int ignoreXError(Display* display, XErrorEvent* error)
{
    // A window may be gone by the time its property is read.
    (void)display;
    (void)error;
    return 0;
}

static long windowPid(Display* display, Window window, Atom pidAtom)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = NULL;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
            Success &&
        data && type == XA_CARDINAL && format == 32 && count == 1)
        pid = *(long*)data;
    if (data)
        XFree(data);
    return pid;
}

// Waits until the X connection has something to read or the program has ended; 0 on timeout.
static int waitForServerOrExit(Display* display, int pidfd, const struct timespec* deadline)
{
    for (;;) {
        if (XPending(display) > 0)
            return 1;
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        int left = (int)(secondsBetween(&now, deadline) * 1e3);
        if (left <= 0)
            return 0;
        struct pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {pidfd, POLLIN, 0}};
        int ready = poll(fds, 2, left);
        if (ready < 0 && errno != EINTR)
            return 0;
        if (ready > 0 && (fds[1].revents & POLLIN))
            return -1;
    }
}

// VmRSS and VmHWM from status, Pss from smaps_rollup, in KiB.
static long procField(pid_t pid, const char* file, const char* field)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/%s", (int)pid, file);
    FILE* in = fopen(path, "r");
    if (!in)
        return -1;
    char line[256];
    long value = -1;
    size_t length = strlen(field);
    while (fgets(line, sizeof line, in))
        if (strncmp(line, field, length) == 0 && line[length] == ':') {
            value = strtol(line + length + 1, NULL, 10);
            break;
        }
    fclose(in);
    return value;
}

// Milliseconds the process's threads alive now have run, from /proc/PID/task/*/schedstat (in
// nanoseconds, where /proc/PID/stat counts 10 ms ticks): a figure a busy machine disturbs much
// less than the wall time.
static double cpuMs(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR* tasks = opendir(path);
    if (!tasks)
        return -1;
    double total = 0;
    struct dirent* entry;
    while ((entry = readdir(tasks)))
        if (entry->d_name[0] != '.') {
            char file[sizeof path + sizeof entry->d_name + 16];
            snprintf(file, sizeof file, "%s/%s/schedstat", path, entry->d_name);
            FILE* in = fopen(file, "r");
            unsigned long long ns = 0;
            if (in && fscanf(in, "%llu", &ns) == 1)
                total += (double)ns / 1e6;
            if (in)
                fclose(in);
        }
    closedir(tasks);
    return total;
}

// Tracers write their reports when interrupted, and pass the end on to the program only when it
// is interrupted with them: hence SIGINT to the whole group.
static void endProgram(pid_t pid, int pidfd, int endWith)
{
    kill(-pid, endWith);
    struct pollfd fd = {pidfd, POLLIN, 0};
    if (poll(&fd, 1, 10000) <= 0)
        kill(-pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

int main(int argc, char** argv)
{
    int settleMs = 500;
    int timeoutS = 30;
    int anyWindow = 0;
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        if (strcmp(argv[first], "-a") == 0)
            anyWindow = 1;
        else if (strcmp(argv[first], "-s") == 0 && first + 1 < argc)
            settleMs = atoi(argv[++first]);
        else if (strcmp(argv[first], "-t") == 0 && first + 1 < argc)
            timeoutS = atoi(argv[++first]);
        else
            break;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: %s [-a] [-s SETTLE_MS] [-t TIMEOUT_S] program [args...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Atom protocolsAtom = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom pingAtom = XInternAtom(display, "_NET_WM_PING", False);
    // StructureNotify too: a program answers a ping by sending it back to the root with that mask.
    XSelectInput(display, root, SubstructureNotifyMask | StructureNotifyMask);
    XSync(display, False);

    struct timespec start;
    pid_t pid = spawnTimed(argv + first, "/dev/null", &start);
    if (pid < 0)
        return 2;
    int pidfd = (int)syscall(SYS_pidfd_open, pid, 0);
    if (pidfd < 0) {
        perror("pidfd_open");
        kill(pid, SIGKILL);
        return 2;
    }
    const int endSignal = anyWindow ? SIGINT : SIGTERM;
    struct timespec deadline = start;
    deadline.tv_sec += timeoutS;

    Window window = None;
    struct timespec mapped;
    double mappedCpuMs = -1;
    while (window == None) {
        int state = waitForServerOrExit(display, pidfd, &deadline);
        if (state <= 0) {
            fprintf(stderr,
                    state < 0 ? "the program ended before its window was mapped\n" : "no window was mapped in time\n");
            if (state == 0)
                endProgram(pid, pidfd, endSignal);
            return 1;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify || event.xmap.event != root || event.xmap.override_redirect)
            continue;
        clock_gettime(CLOCK_MONOTONIC, &mapped);
        if (anyWindow || windowPid(display, event.xmap.window, pidAtom) == (long)pid) {
            window = event.xmap.window;
            mappedCpuMs = cpuMs(pid);
        }
    }

    struct timespec pause = {settleMs / 1000, (long)(settleMs % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) { }
    Atom* protocols = NULL;
    int protocolCount = 0;
    int answersPing = 0;
    if (XGetWMProtocols(display, window, &protocols, &protocolCount)) {
        for (int i = 0; i < protocolCount; ++i)
            answersPing |= protocols[i] == pingAtom;
        XFree(protocols);
    }
    double pongMs = -1;
    if (answersPing) {
        XEvent ping;
        memset(&ping, 0, sizeof ping);
        ping.xclient.type = ClientMessage;
        ping.xclient.window = window;
        ping.xclient.message_type = protocolsAtom;
        ping.xclient.format = 32;
        ping.xclient.data.l[0] = (long)pingAtom;
        ping.xclient.data.l[1] = CurrentTime;
        ping.xclient.data.l[2] = (long)window;
        struct timespec sent;
        clock_gettime(CLOCK_MONOTONIC, &sent);
        XSendEvent(display, window, False, NoEventMask, &ping);
        XFlush(display);
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += timeoutS;
        for (;;) {
            int state = waitForServerOrExit(display, pidfd, &deadline);
            if (state <= 0) {
                fprintf(stderr, state < 0 ? "the program ended before it answered\n" : "no answer in time\n");
                if (state == 0)
                    endProgram(pid, pidfd, endSignal);
                return 1;
            }
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == protocolsAtom &&
                (Atom)event.xclient.data.l[0] == pingAtom && (Window)event.xclient.data.l[2] == window) {
                struct timespec answered;
                clock_gettime(CLOCK_MONOTONIC, &answered);
                pongMs = secondsBetween(&sent, &answered) * 1e3;
                break;
            }
        }
    } else {
        fprintf(stderr, "the window does not answer _NET_WM_PING; memory read after the pause alone\n");
    }
    long rss = procField(pid, "status", "VmRSS");
    long hwm = procField(pid, "status", "VmHWM");
    long pss = procField(pid, "smaps_rollup", "Pss");
    printf("map_ms=%.3f cpu_ms=%.3f pong_ms=%.3f rss_kib=%ld pss_kib=%ld hwm_kib=%ld\n",
           secondsBetween(&start, &mapped) * 1e3, mappedCpuMs, pongMs, rss, pss, hwm);
    fflush(stdout);
    endProgram(pid, pidfd, endSignal);
    XCloseDisplay(display);
    return 0;
}
