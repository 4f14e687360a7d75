// Measures one program as a whole process: from just before it is started to its exit, the CPU
// time it used (user and system, all its threads), and its peak resident memory. Prints
// "process wall_ms=... cpu_ms=... max_rss_kb=..." after whatever the program printed.
//
//   talvino_startup_measure PROGRAM [ARGUMENTS...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    std::fflush(stdout);
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return 2;
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    std::printf("process wall_ms=%.1f cpu_ms=%.1f max_rss_kb=%ld\n", wallMs, ms(usage.ru_utime) + ms(usage.ru_stime),
                usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
