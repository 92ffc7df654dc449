#pragma once

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace corvane::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32

// One argument as the C runtime's command-line parser splits it back out: as it is when it holds
// no blank or quote (as programs with their own parser, such as cmd, expect their switches),
// else in quotes, with each quote escaped and the backslashes before a quote (or before the
// closing one) doubled.
inline std::string windowsQuote(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t\"") == std::string::npos) return text;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

inline std::string commandLine(const std::vector<std::string>& args) {
    std::string command;
    for (const std::string& arg : args)
        command += (command.empty() ? "" : " ") + windowsQuote(arg);
    return command;
}

// This process's environment with the assignments ("NAME=value") put in, in the form
// CreateProcessA takes; the display variables are left out, as the program runs without one.
inline std::string environmentBlock(const std::vector<std::string>& assignments) {
    std::vector<std::string> entries;
    const auto nameOf = [](const std::string& entry) {
        // Entries such as "=C:=C:\\" start with "=", which belongs to their name.
        const std::size_t eq = entry.find('=', 1);
        std::string name = entry.substr(0, eq);
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    };
    std::vector<std::string> replaced = {"DISPLAY", "WAYLAND_DISPLAY"};
    for (const std::string& assignment : assignments)
        replaced.push_back(nameOf(assignment));
    char* block = GetEnvironmentStringsA();
    for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
        bool keep = true;
        for (const std::string& name : replaced)
            keep = keep && nameOf(entry) != name;
        if (keep) entries.emplace_back(entry);
    }
    FreeEnvironmentStringsA(block);
    entries.insert(entries.end(), assignments.begin(), assignments.end());
    std::string out;
    for (const std::string& entry : entries)
        out += entry + '\0';
    return out + '\0';
}

// Starts a program with its standard output and error in the given files (none: thrown away)
// and waits for it; its exit code, or -1 when it can't be started.
inline int runProcess(const std::vector<std::string>& args, const std::string& outPath,
                      const std::string& errPath, const std::string* environment = nullptr) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto open = [&inherit](const std::string& path) {
        return CreateFileA(path.empty() ? "NUL" : path.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE out = open(outPath);
    const HANDLE err = open(errPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    startup.hStdInput = nullptr;
    std::string command = commandLine(args);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0,
                       environment != nullptr ? const_cast<char*>(environment->data()) : nullptr,
                       nullptr, &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0;
    const BOOL ended = GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended ? static_cast<int>(code) : -1;
}

// Runs the built program with the given arguments and environment assignments ("NAME=value").
inline ProcessResult runCorvane(const TempDir& scratch, const std::vector<std::string>& args,
                                const std::vector<std::string>& environment = {}) {
    std::vector<std::string> all = {CORVANE_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    const std::string out = scratch.file("stdout.txt");
    const std::string err = scratch.file("stderr.txt");
    const std::string block = environmentBlock(environment);
    // The output as text: the C runtime writes CR LF for each line end.
    const auto text = [](std::string bytes) {
        std::string lines;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' || i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                lines += bytes[i];
        }
        return lines;
    };
    ProcessResult result;
    result.exitCode = runProcess(all, out, err, &block);
    result.out = text(readFile(out));
    result.err = text(readFile(err));
    return result;
}

// Runs the built program count times at once with the same arguments, output thrown away, and
// waits for all; true when every run ended with exit code 0.
inline bool runCorvaneTogether(const std::vector<std::string>& args, int count) {
    std::vector<std::string> all = {CORVANE_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<PROCESS_INFORMATION> processes;
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        std::string command = commandLine(all);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                           nullptr, nullptr, &startup, &process)) {
            processes.push_back(process);
        } else {
            ok = false;
        }
    }
    for (const PROCESS_INFORMATION& process : processes) {
        DWORD code = 1;
        ok = WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0 &&
             GetExitCodeProcess(process.hProcess, &code) && code == 0 && ok;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return ok;
}

// Runs a program with its output thrown away; its exit code, or -1.
inline int runCommand(const std::vector<std::string>& args) {
    return runProcess(args, "", "");
}

// The lines a program prints on its standard output (without the CR before each LF); none when
// it can't be run.
inline std::vector<std::string> outputLines(const std::vector<std::string>& args) {
    TempDir scratch;
    const std::string out = scratch.file("stdout.txt");
    std::vector<std::string> lines;
    if (runProcess(args, out, "") < 0) return lines;
    std::string line;
    for (const char c : readFile(out)) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// The path of a program found on the PATH (".exe" added when the name has no extension), or
// the empty text.
inline std::string findProgram(const std::string& name) {
    char found[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(found, length) : std::string();
}

#else

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

// Runs the built program count times at once with the same arguments, output thrown away, and
// waits for all; true when every run ended with exit code 0.
inline bool runCorvaneTogether(const std::vector<std::string>& args, int count) {
    std::vector<std::string> all = {CORVANE_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    std::string command = "fail=0; pids=";
    for (int i = 0; i < count; ++i)
        command += "; " + commandLine(all) + " >/dev/null 2>&1 & pids=\"$pids $!\"";
    command += "; for p in $pids; do wait $p || fail=1; done; exit $fail";
    const int status = std::system(commandLine({"sh", "-c", command}).c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

#endif

}  // namespace corvane::test
