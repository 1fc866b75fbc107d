// Wall time and peak resident size of one run of a program, from just before its exec to the
// return of wait4, which also gives the peak resident size (ru_maxrss) and the processor time
// (user and system), a figure a busy machine disturbs much less than the wall time.
// Usage: ExecTime [-o FILE] program [args...]   (the program's output goes to FILE, else nowhere)
// Prints "wall_ms=... cpu_ms=... maxrss_kib=... exit=..." on one line.
#define _GNU_SOURCE
#include "SpawnTimed.h"

#include <sys/resource.h>
#include <sys/wait.h>

int main(int argc, char** argv)
{
    const char* output = "/dev/null";
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "-o") == 0) {
        output = argv[2];
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: %s [-o FILE] program [args...]\n", argv[0]);
        return 2;
    }
    struct timespec start;
    pid_t pid = spawnTimed(argv + first, output, &start);
    if (pid < 0)
        return 2;
    int status = 0;
    struct rusage usage;
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            perror("wait4");
            return 2;
        }
    }
    struct timespec end;
    clock_gettime(CLOCK_MONOTONIC, &end);
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    double cpuMs = (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                   (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    printf("wall_ms=%.3f cpu_ms=%.3f maxrss_kib=%ld exit=%d\n", secondsBetween(&start, &end) * 1e3, cpuMs,
           usage.ru_maxrss, code);
    return 0;
}
