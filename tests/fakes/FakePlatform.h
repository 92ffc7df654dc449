#pragma once

#include <cstdio>
#include <ostream>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/DisplaySettings.h"
#include "platform/Firmware.h"
#include "platform/PortDevice.h"
#include "platform/ShellOpener.h"
#include "platform/SystemFacts.h"

namespace corvane::test {

// Remembers every dialog and answers from a script (No for questions when the script is empty).
class ScriptedDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest& request) override {
        shown.push_back(request);
        if (request.buttons == DialogButtons::Ok) return DialogResult::Ok;
        if (answers.empty()) return DialogResult::No;
        const DialogResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& r : shown)
            out.push_back(r.text);
        return out;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        files.push_back(request);
        if (chosenFiles.empty()) return std::nullopt;
        std::optional<std::string> chosen = chosenFiles.front();
        chosenFiles.pop_front();
        return chosen;
    }
    std::vector<DialogRequest> shown;
    std::deque<DialogResult> answers;
    std::vector<FileDialogRequest> files;
    std::deque<std::optional<std::string>> chosenFiles;  // nothing: cancelled
};

// Records the addresses handed to the system.
class RecordingShell : public ShellOpener {
public:
    bool open(const std::string& address) override {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

// A port I/O driver that records every request, byte for byte, and answers reads from a map of
// port values (0 for ports not in it).
class RecordingPortDevice : public PortDevice {
public:
    struct Request {
        std::uint32_t code;
        std::vector<std::uint8_t> input;
        bool operator==(const Request&) const = default;

        // How a failing test shows a request: "write D008h <- CAh", not its bytes.
        friend void PrintTo(const Request& request, std::ostream* os) {
            char text[48];
            PortDevice::Request decoded;
            std::uint8_t out[2] = {};
            if (PortDevice::decode(request.code, request.input.data(),
                                   static_cast<std::uint32_t>(request.input.size()), out, 2,
                                   decoded)) {
                if (decoded.write) {
                    std::snprintf(text, sizeof text, "write %04Xh <- %02Xh", decoded.port,
                                  decoded.value);
                } else {
                    std::snprintf(text, sizeof text, "read %04Xh", decoded.port);
                }
            } else {
                std::snprintf(text, sizeof text, "request %u of %u bytes", request.code,
                              static_cast<unsigned>(request.input.size()));
            }
            *os << text;
        }
    };

    Handle createFile(const std::string& path) override {
        opened.push_back(path);
        if (openablePaths.count(path) == 0) return kInvalidHandle;
        ++openHandles;
        return nextHandle++;
    }
    bool deviceIoControl(Handle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned) override {
        const auto* bytes = static_cast<const std::uint8_t*>(in);
        requests.push_back({code, std::vector<std::uint8_t>(bytes, bytes + inSize)});
        handles.push_back(handle);
        outputSizes.push_back(outSize);
        if (throwAfter >= 0 && static_cast<int>(requests.size()) > throwAfter)
            throw std::runtime_error("device gone");
        if (failRequests || static_cast<int>(requests.size()) == failRequest) return false;
        if (code == kReadPort) {
            const std::uint16_t port = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
            static_cast<std::uint8_t*>(out)[0] = portValues.count(port) ? portValues.at(port) : 0;
        }
        if (returned != nullptr) *returned = 2;
        return true;
    }
    bool closeHandle(Handle handle) override {
        closed.push_back(handle);
        --openHandles;
        return true;
    }

    static Request read(std::uint16_t port) {
        return {kReadPort, {std::uint8_t(port), std::uint8_t(port >> 8)}};
    }
    static Request write(std::uint16_t port, std::uint8_t value) {
        return {kWritePort, {std::uint8_t(port), std::uint8_t(port >> 8), value, 0}};
    }

    std::map<std::string, int> openablePaths{{"\\\\.\\zentrio.vxd", 1}};
    std::map<std::uint16_t, std::uint8_t> portValues;
    std::vector<std::string> opened;
    std::vector<Request> requests;
    std::vector<Handle> handles;
    std::vector<std::uint32_t> outputSizes;
    std::vector<Handle> closed;
    int openHandles = 0;
    bool failRequests = false;
    int failRequest = -1;  // the request (counted from 1) that fails
    int throwAfter = -1;
    Handle nextHandle = 0x100;
};

// A display with a fixed list of modes; records every ChangeDisplaySettings.
class FakeDisplay : public DisplaySettings {
public:
    FakeDisplay() {
        modes = {mode(640, 480, 8), mode(800, 600, 16), mode(1024, 768, 16, 75),
                 mode(1024, 768, 16, 60)};
        current = mode(1024, 768, 16);
    }
    static DevMode mode(std::uint32_t w, std::uint32_t h, std::uint32_t bits,
                        std::uint32_t hz = 60) {
        DevMode m;
        m.pelsWidth = w;
        m.pelsHeight = h;
        m.bitsPerPel = bits;
        m.displayFrequency = hz;
        return m;
    }
    int getDeviceCaps(int index) override {
        if (index == kHorzRes) return static_cast<int>(current.pelsWidth);
        if (index == kVertRes) return static_cast<int>(current.pelsHeight);
        if (index == kBitsPixel) return static_cast<int>(current.bitsPerPel);
        return 0;
    }
    bool enumDisplaySettings(std::uint32_t n, DevMode& m) override {
        if (n >= modes.size()) return false;
        m = modes[n];
        return true;
    }
    long changeDisplaySettings(const DevMode& m, std::uint32_t flags) override {
        changes.push_back({m, flags});
        return testPasses ? kSuccessful : kFailed;
    }
    std::vector<DevMode> modes;
    DevMode current;
    bool testPasses = true;
    std::vector<std::pair<DevMode, std::uint32_t>> changes;
};

class FakeFirmware : public Firmware {
public:
    std::uint8_t findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId, std::uint16_t index,
                               std::uint16_t& bdf) override {
        if (!hasBridge || deviceId != 0x7190 || vendorId != 0x8086 || index != 0) return 0x86;
        bdf = 0x0008;
        return 0;
    }
    std::uint16_t readPciConfigWord(std::uint16_t bdf, std::uint16_t offset) override {
        readOffsets.push_back(offset);
        return bdf == 0x0008 ? apertureRegister : 0xFFFF;
    }
    std::uint16_t videoBiosA005() override { return ioBase; }

    bool hasBridge = true;
    std::uint16_t apertureRegister = 0x30;
    std::uint16_t ioBase = 0xD000;
    std::vector<std::uint16_t> readOffsets;
};

// System facts from plain fields; a fact given a throwing function raises when asked.
class FakeFacts : public SystemFacts {
public:
    std::uint32_t processorType() override { return check("processor"), processor; }
    OsVersion version() override { return check("version"), os; }
    MemoryStatus memoryStatus() override { return check("memory"), memory; }
    std::string windowsDirectory() override { return check("windows"), windows; }
    std::string systemDirectory() override { return check("system"), system; }
    std::string expandEnvironmentStrings(const std::string& text) override {
        check("environment");
        return expandPercentVariables(
            text, [this](const std::string& name) -> std::optional<std::string> {
                const auto it = environment.find(name);
                if (it == environment.end()) return std::nullopt;
                return it->second;
            });
    }
    std::string computerName() override { return check("computer"), computer; }
    std::string userName() override { return check("user"), user; }

    void check(const std::string& fact) {
        if (failing.count(fact)) throw std::runtime_error(failing.at(fact));
    }

    std::uint32_t processor = 586;
    OsVersion os{4, 10, (4u << 24) | (10u << 16) | 1998u, 1};
    MemoryStatus memory{64ull << 20, 13ull << 20, 1000ull << 20, 339ull << 20};
    std::string windows = "C:\\WINDOWS";
    std::string system = "C:\\WINDOWS\\SYSTEM";
    std::map<std::string, std::string> environment{{"TEMP", "C:\\WINDOWS\\TEMP"}};
    std::string computer = "RETRO98";
    std::string user = "Owner";
    std::map<std::string, std::string> failing;
};

}  // namespace corvane::test
