#pragma once

#include <sys/wait.h>

#include <cstdio>
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
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
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

inline std::string commandLine(const std::vector<std::string>& args) {
    std::string command;
    for (const std::string& arg : args)
        command += (command.empty() ? "" : " ") + shellQuote(arg);
    return command;
}

// Runs a program with its output thrown away; its exit code, or -1.
inline int runCommand(const std::vector<std::string>& args) {
    const int status = std::system((commandLine(args) + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The lines a program prints on its standard output; none when it can't be run.
inline std::vector<std::string> outputLines(const std::vector<std::string>& args) {
    std::vector<std::string> lines;
    FILE* pipe = ::popen((commandLine(args) + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return lines;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
        } else {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(line);
    ::pclose(pipe);
    return lines;
}

// The path of a program found on the PATH, or the empty text.
inline std::string findProgram(const std::string& name) {
    const std::vector<std::string> found =
        outputLines({"sh", "-c", "command -v " + shellQuote(name)});
    return found.empty() ? std::string() : found.front();
}

}  // namespace corvane::test
