#include "app/PkexecClockWrite.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "clockhelper/ClockHelper.h"

extern char** environ;

namespace corvane {

namespace {

#ifndef CORVANE_CLOCK_HELPER
#define CORVANE_CLOCK_HELPER "/usr/libexec/corvane/corvane-clock-helper"
#endif

// pkexec's own statuses: the permission dialog was dismissed, or the user may not do this.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorized = 127;

struct RunResult {
    int status = -1;
    std::string errorOutput;
    std::string failure;  // the launcher could not be started
};

RunResult run(const std::vector<std::string>& command) {
    RunResult result;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        result.failure = std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        result.failure = command[0] + ": " + std::strerror(spawned);
        return result;
    }
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        if (result.errorOutput.size() < 4096)
            result.errorOutput.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

std::string helperFailureMessage(int exitStatus, const std::string& errorOutput) {
    if (exitStatus == kHelperDone) return {};
    if (exitStatus == kPkexecDismissed || exitStatus == kPkexecNotAuthorized)
        return kPermissionRefused;
    const std::string said = trimmed(errorOutput);
    return "The clocks could not be set" + (said.empty() ? std::string(".") : ": " + said);
}

PrivilegedClockWrite helperClockWrite(std::vector<std::string> launcher) {
    return [launcher = std::move(launcher)](std::uint8_t core, std::uint8_t memory) {
        std::vector<std::string> command = launcher;
        command.push_back(std::to_string(core));
        command.push_back(std::to_string(memory));
        const RunResult result = run(command);
        if (!result.failure.empty()) return "The clocks could not be set: " + result.failure;
        return helperFailureMessage(result.status, result.errorOutput);
    };
}

std::vector<std::string> installedHelperLauncher() {
    if (::geteuid() == 0) return {};
    if (::access(CORVANE_CLOCK_HELPER, X_OK) != 0) return {};
    for (const char* pkexec : {"/usr/bin/pkexec", "/bin/pkexec"}) {
        if (::access(pkexec, X_OK) == 0) return {pkexec, CORVANE_CLOCK_HELPER};
    }
    return {};
}

}  // namespace corvane
