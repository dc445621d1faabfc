// Prints the CPU time (user + system, in nanoseconds) each given process has used so far, one line
// per process: its process CPU clock, which counts every thread, ended ones included, to the
// nanosecond (/proc/<pid>/stat counts in clock ticks, /proc/<pid>/task/*/schedstat forgets the
// threads that ended). bench/performance reads it at both ends of its idle window.
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cpu_time_of PID...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        const long pid = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || pid <= 0) {
            std::fprintf(stderr, "cpu_time_of: not a process id: %s\n", argv[i]);
            return 2;
        }
        clockid_t clock{};
        timespec used{};
        const int failed = clock_getcpuclockid(static_cast<pid_t>(pid), &clock);
        if (failed != 0 || clock_gettime(clock, &used) != 0) {
            std::fprintf(stderr, "cpu_time_of: %ld: %s\n", pid,
                         std::strerror(failed != 0 ? failed : errno));
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(used.tv_sec) * 1'000'000'000LL + used.tv_nsec);
    }
    return 0;
}
