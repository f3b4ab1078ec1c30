// SPDX-License-Identifier: GPL-3.0-or-later
// The CPU time of a program's whole run, start-up included, against a trivial C++
// program's, measured in the same loop (one run of each in turn, so both see the same load):
//   orvanta_curve_cpu TRIVIAL RUNS PROGRAM [ARGUMENT]...
// The times are the children's own (user + system, from wait4), whatever else runs.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

/// Runs the command with its output to /dev/null; returns its CPU seconds, or -1.
double cpuOf(const std::vector<char*>& command) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, STDOUT_FILENO);
        ::execv(command[0], command.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: orvanta_curve_cpu TRIVIAL RUNS PROGRAM [ARGUMENT]...\n");
        return 2;
    }
    const int runs = std::atoi(argv[2]);
    std::vector<char*> trivial{argv[1], nullptr};
    std::vector<char*> program(argv + 3, argv + argc);
    program.push_back(nullptr);
    std::string shown;
    for (int i = 3; i < argc; ++i)
        shown += (i > 3 ? " " : "") + std::string(argv[i]);

    double trivialCpu = 0, programCpu = 0;
    for (int i = 0; i < runs; ++i) {
        const double t = cpuOf(trivial), p = cpuOf(program);
        if (t < 0 || p < 0) {
            std::fprintf(stderr, "orvanta_curve_cpu: a run failed\n");
            return 1;
        }
        trivialCpu += t;
        programCpu += p;
    }
    std::printf("CPU time a run, start-up included, %d runs of each in turn:\n", runs);
    std::printf("  %-60s %7.3f ms\n", shown.c_str(), programCpu * 1e3 / runs);
    std::printf("  %-60s %7.3f ms\n", "a trivial C++ program", trivialCpu * 1e3 / runs);
    std::printf("  ratio %.2f\n", trivialCpu > 0 ? programCpu / trivialCpu : 0.0);
    return 0;
}
