// Times `corvane --machine DIR /setclock` against the same binary's `--version`, the floor of
// starting the process at all, alternating the two so that both see the same machine state.
//
// Usage: corvane_setclock_bench [path-to-corvane] [runs]

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "app/PlatformFactory.h"

extern char** environ;

namespace {

double runOnce(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string binary = argc > 1 ? argv[1] : CORVANE_BINARY;
    const int runs = argc > 2 ? std::stoi(argv[2]) : 40;
    const std::string machine = corvane::makeDemoMachine();
    runOnce({binary, "--machine", machine, "/setclock"});  // the first run stores the clocks
    std::vector<double> floor;
    std::vector<double> setclock;
    for (int i = 0; i < runs; ++i) {
        floor.push_back(runOnce({binary, "--version"}));
        setclock.push_back(runOnce({binary, "--machine", machine, "/setclock"}));
    }
    std::filesystem::remove_all(machine);
    const double f = median(floor);
    const double s = median(setclock);
    corvane::bench::report("version_floor", f, "ms");
    corvane::bench::report("setclock", s, "ms");
    corvane::bench::report("setclock_over_floor", s / f, "ratio");
    return 0;
}
