#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace corvane::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

// Runs the built program with the given arguments and environment assignments ("NAME=value").
inline ProcessResult runCorvane(const TempDir& scratch, const std::vector<std::string>& args,
                                const std::vector<std::string>& environment = {}) {
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY";
    for (const std::string& assignment : environment)
        command += " " + shellQuote(assignment);
    command += " " + shellQuote(CORVANE_BINARY);
    for (const std::string& arg : args)
        command += " " + shellQuote(arg);
    const std::string out = scratch.file("stdout.txt");
    const std::string err = scratch.file("stderr.txt");
    command += " >" + shellQuote(out) + " 2>" + shellQuote(err);
    const int status = std::system(command.c_str());
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

}  // namespace corvane::test
