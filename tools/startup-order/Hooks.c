// Preloaded into a start of the window built with -finstrument-functions: records each function
// entered, and after STARTUP_ORDER_AFTER_MS (the first frame drawn and settled) writes the ones
// inside the window module, as offsets into it, to STARTUP_ORDER_OUT and stops recording.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define SLOTS (1 << 20)

static void* seen[SLOTS];
static volatile int stopped;

__attribute__((no_instrument_function)) void __cyg_profile_func_enter(void* function, void* site)
{
    (void)site;
    if (stopped)
        return;
    uintptr_t slot = ((uintptr_t)function >> 2) * 2654435761u & (SLOTS - 1);
    for (;;) {
        void* held = __atomic_load_n(&seen[slot], __ATOMIC_RELAXED);
        if (held == function)
            return;
        if (!held && __atomic_compare_exchange_n(&seen[slot], &held, function, 0, __ATOMIC_RELAXED, __ATOMIC_RELAXED))
            return;
        if (held == function)
            return;
        slot = (slot + 1) & (SLOTS - 1);
    }
}

__attribute__((no_instrument_function)) void __cyg_profile_func_exit(void* function, void* site)
{
    (void)function;
    (void)site;
}

__attribute__((no_instrument_function)) static void* writeLater(void* unused)
{
    (void)unused;
    const char* after = getenv("STARTUP_ORDER_AFTER_MS");
    const long ms = after ? atol(after) : 1500;
    const struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, NULL);
    stopped = 1;
    // Written only by the process that loaded the module (not by a launcher that inherited the
    // preload), as nm prints addresses.
    FILE* out = NULL;
    for (size_t i = 0; i < SLOTS; ++i) {
        Dl_info info;
        if (!seen[i] || !dladdr(seen[i], &info) || !info.dli_fname || !strstr(info.dli_fname, "libkalendra_window"))
            continue;
        const char* path = getenv("STARTUP_ORDER_OUT");
        if (!out && !(out = fopen(path ? path : "startup-functions.txt", "w")))
            return NULL;
        fprintf(out, "%016lx\n", (unsigned long)((uintptr_t)seen[i] - (uintptr_t)info.dli_fbase));
    }
    if (out)
        fclose(out);
    return NULL;
}

__attribute__((constructor, no_instrument_function)) static void startRecording(void)
{
    pthread_t thread;
    if (pthread_create(&thread, NULL, writeLater, NULL) == 0)
        pthread_detach(thread);
}
