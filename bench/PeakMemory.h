#ifndef KURVO_BENCH_PEAKMEMORY_H
#define KURVO_BENCH_PEAKMEMORY_H

#ifdef __unix__
#include <sys/resource.h>
#endif

// Whose largest resident size: this process's, or that of its children waited for so far.
enum class PeakOf { Self, Children };

// The largest resident size in MiB; -1 where the system does not tell.
inline long PeakMiB(PeakOf whose)
{
#ifdef __unix__
    rusage usage{};
    if (getrusage(whose == PeakOf::Self ? RUSAGE_SELF : RUSAGE_CHILDREN, &usage) == 0)
        return usage.ru_maxrss / 1024;
#endif
    static_cast<void>(whose);
    return -1;
}

// The CPU seconds (user and system) of this process, or of its children waited for so far; -1
// where the system does not tell.
inline double CpuSeconds(PeakOf whose)
{
#ifdef __unix__
    rusage usage{};
    if (getrusage(whose == PeakOf::Self ? RUSAGE_SELF : RUSAGE_CHILDREN, &usage) == 0)
        return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
               + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#endif
    static_cast<void>(whose);
    return -1;
}

#endif
