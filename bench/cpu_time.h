// The process's CPU time, for benchmarks that time several variants inside one iteration and so
// cannot let the library time them.
#pragma once

#include <ctime>

// CPU seconds the whole process has used so far, every thread counted.
inline double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
