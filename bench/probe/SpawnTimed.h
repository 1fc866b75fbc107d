// Starting the measured program: the child reads the monotonic clock as its last act before
// exec and hands the reading to the parent through a pipe, so the timed span starts at the exec
// and holds neither the fork nor anything of the measuring program.
#pragma once

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

static inline double secondsBetween(const struct timespec* from, const struct timespec* to)
{
    return (double)(to->tv_sec - from->tv_sec) + (double)(to->tv_nsec - from->tv_nsec) / 1e9;
}

static inline int readFully(int fd, void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = read(fd, (char*)buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return (int)done;
        done += (size_t)n;
    }
    return (int)done;
}

// Starts argv in a process group of its own (ended as a whole), with its standard output going
// to `outputPath` and its standard error to /dev/null; `start` receives the clock read just
// before the exec. Returns the child's id, or -1
// (with the reason printed) when it could not be started.
static inline pid_t spawnTimed(char** argv, const char* outputPath, struct timespec* start)
{
    int output = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    int report[2];
    if (output < 0 || quiet < 0 || pipe2(report, O_CLOEXEC) != 0) {
        perror(outputPath);
        return -1;
    }
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        dup2(output, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (write(report[1], &now, sizeof now) != (ssize_t)sizeof now)
            _exit(126);
        execvp(argv[0], argv);
        int error = errno;
        if (write(report[1], &error, sizeof error) < 0)
            _exit(126);
        _exit(127);
    }
    close(output);
    close(quiet);
    close(report[1]);
    if (pid < 0) {
        perror("fork");
        close(report[0]);
        return -1;
    }
    // The pipe closes at a successful exec; an error number arrives when the exec failed.
    int error = 0;
    int ok = readFully(report[0], start, sizeof *start) == (int)sizeof *start &&
             readFully(report[0], &error, sizeof error) == 0;
    close(report[0]);
    if (!ok) {
        fprintf(stderr, "%s: %s\n", argv[0], error ? strerror(error) : "could not be started");
        return -1;
    }
    return pid;
}
