// Times `corvane --machine DIR /setclock` against the same binary's `--version`, the floor of
// starting the process at all, alternating the two so that both see the same machine state:
// wall time, CPU time (user and system, from the child's own resource usage) and peak memory
// (its largest resident set). Runs once over the demo machine as it is, and once with its
// registry grown to a 10 MB export of a whole Windows 98 machine.
//
// Usage: corvane_setclock_bench [path-to-corvane] [runs]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "RegistryExport.h"
#include "app/PlatformFactory.h"

extern char** environ;

namespace {

struct Run {
    double wallMs = -1;
    double cpuMs = -1;
    double peakMb = -1;
};

double ms(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
}

Run runOnce(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return run;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);  // this child's own usage, not that of every child so far
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    run.wallMs = std::chrono::duration<double, std::milli>(end - start).count();
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void measure(const std::string& binary, const std::string& machine, int runs,
             const std::string& suffix) {
    runOnce({binary, "--machine", machine, "/setclock"});  // the first run stores the clocks
    std::vector<double> floorWall, floorCpu, floorPeak, wall, cpu, peak;
    for (int i = 0; i < runs; ++i) {
        const Run f = runOnce({binary, "--version"});
        const Run s = runOnce({binary, "--machine", machine, "/setclock"});
        floorWall.push_back(f.wallMs);
        floorCpu.push_back(f.cpuMs);
        floorPeak.push_back(f.peakMb);
        wall.push_back(s.wallMs);
        cpu.push_back(s.cpuMs);
        peak.push_back(s.peakMb);
    }
    auto report = [&](const std::string& name, double value, const char* unit) {
        corvane::bench::report((name + suffix).c_str(), value, unit);
    };
    report("version_floor", median(floorWall), "ms");
    report("setclock", median(wall), "ms");
    report("setclock_over_floor", median(wall) / median(floorWall), "ratio");
    report("version_cpu", median(floorCpu), "ms");
    report("setclock_cpu", median(cpu), "ms");
    report("setclock_cpu_over_version", median(cpu) / median(floorCpu), "ratio");
    report("version_peak_memory", median(floorPeak), "MB");
    report("setclock_peak_memory", median(peak), "MB");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string binary = argc > 1 ? argv[1] : CORVANE_BINARY;
    const int runs = argc > 2 ? std::stoi(argv[2]) : 15;
    const std::string machine = corvane::makeDemoMachine();
    measure(binary, machine, runs, "");
    const std::string registry = machine + "/registry.reg";
    // Made by a child of its own: what making it takes would otherwise count in the peak memory
    // of every child started after it, which inherits this process's largest size.
    if (const pid_t maker = fork(); maker == 0) {
        corvane::bench::RegistryExport().grow(registry, 10 * 1024 * 1024);
        _exit(0);
    } else if (maker > 0) {
        int status = 0;
        waitpid(maker, &status, 0);
    }
    corvane::bench::report(
        "registry_file_size_10mb",
        static_cast<double>(std::filesystem::file_size(registry)) / (1024.0 * 1024.0), "MB");
    measure(binary, machine, runs, "_10mb");
    std::filesystem::remove_all(machine);
    return 0;
}
