/*
 * worker_threads.cpp - threads for the parts of one call: pthread_create
 * and pthread_join, or CreateThread and WaitForSingleObject from
 * KERNEL32.dll on Windows.  The processors the process may use come from
 * its affinity mask.
 */
#include "many/worker_threads.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <sched.h>
#endif

/* glibc 2.34 moved the thread routines from libpthread into libc and gave
   them a new version there, which a plug-in linked against it would need:
   it would not load where glibc is older (the Linux releases that MATLAB
   still supports among them).  Their first versions are still in every
   glibc, as the same routines: ask for those, and list libpthread.so.0 as
   needed (an empty library since 2.34, the routines' home before). */
#if defined(__GLIBC__) && defined(__x86_64__)
__asm__(".symver pthread_create, pthread_create@GLIBC_2.2.5");
__asm__(".symver pthread_join, pthread_join@GLIBC_2.2.5");
#endif

namespace geoharm {

namespace {

/* What one started thread runs. */
struct Part {
    void (*work)(void*, int);
    void* context;
    int index;
};

#ifdef _WIN32
using ThreadHandle = HANDLE;

/* A thread of a 32-bit process may start with its stack aligned to 4 bytes
   only: realign it for the SSE2 data the work keeps there. */
#if defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
DWORD WINAPI partThread(LPVOID argument) {
    const Part* part = static_cast<const Part*>(argument);
    part->work(part->context, part->index);
    return 0;
}

bool startThread(ThreadHandle& thread, Part* part) {
    thread = CreateThread(nullptr, 0, partThread, part, 0, nullptr);
    return thread != nullptr;
}

void joinThread(ThreadHandle thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}
#else
using ThreadHandle = pthread_t;

void* partThread(void* argument) {
    const Part* part = static_cast<const Part*>(argument);
    part->work(part->context, part->index);
    return nullptr;
}

bool startThread(ThreadHandle& thread, Part* part) { return pthread_create(&thread, nullptr, partThread, part) == 0; }

void joinThread(ThreadHandle thread) { pthread_join(thread, nullptr); }
#endif

}  // namespace

int usableProcessors() {
    int count = 1;
#ifdef _WIN32
    /* The processors of the process's group that its mask allows. */
    DWORD_PTR processMask = 0, systemMask = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) != 0) {
        count = 0;
        for (; processMask != 0; processMask &= processMask - 1) count++;
    }
#else
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) count = CPU_COUNT(&set);
#endif
    if (count < 1) return 1;
    return count < MAX_WORKER_THREADS ? count : MAX_WORKER_THREADS;
}

void runParts(int parts, void (*work)(void*, int), void* context) {
    if (parts > MAX_WORKER_THREADS) parts = MAX_WORKER_THREADS;

    /* Parts 1.. on threads of their own, as far as they start. */
    Part part[MAX_WORKER_THREADS];
    ThreadHandle thread[MAX_WORKER_THREADS];
    bool started[MAX_WORKER_THREADS];
    for (int i = 1; i < parts; i++) {
        part[i] = Part{work, context, i};
        started[i] = startThread(thread[i], &part[i]);
    }

    /* Part 0 here, then every part whose thread did not start. */
    work(context, 0);
    for (int i = 1; i < parts; i++)
        if (!started[i]) work(context, i);

    /* Every thread joined before the return. */
    for (int i = 1; i < parts; i++)
        if (started[i]) joinThread(thread[i]);
}

}  // namespace geoharm
