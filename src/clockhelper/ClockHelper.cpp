#include "clockhelper/ClockHelper.h"

#include "hardware/ClockSpeed.h"
#include "hardware/SmallPort.h"
#include "platform/linux/SysfsPci.h"
#include "platform/linux/SysfsPortDevice.h"

namespace corvane {

namespace {

// Keeps what the port would have shown, for the helper's one message.
class CollectedDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest& request) override {
        text = request.text;
        return DialogResult::Ok;
    }
    std::string text;
};

std::optional<int> parseClock(const std::string& text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 255) return std::nullopt;
    return value;
}

}  // namespace

std::optional<ClockHelperRequest> parseClockHelperArguments(const std::vector<std::string>& args,
                                                            std::string& error) {
    if (args.size() != 2) {
        error = "usage: corvane-clock-helper CORE MEMORY (MHz, 1 to 255)";
        return std::nullopt;
    }
    const std::optional<int> core = parseClock(args[0]);
    const std::optional<int> memory = parseClock(args[1]);
    if (!core || !memory) {
        error = "the clocks must be whole numbers of MHz from 1 to 255, not \"" +
                (core ? args[1] : args[0]) + "\"";
        return std::nullopt;
    }
    return ClockHelperRequest{*core, *memory};
}

int runClockHelper(const std::vector<std::string>& args, const std::string& sysfsRoot,
                   std::string& message) {
    const std::optional<ClockHelperRequest> request = parseClockHelperArguments(args, message);
    if (!request) return kHelperUsage;

    PciDevice device;
    PciResource io;
    int bar = 0;
    if (!findRage128(sysfsRoot, device, bar, io)) {
        message = "no Rage 128 with an I/O BAR was found";
        return kHelperFailed;
    }
    // The clock unit's ports must lie in the 16-bit port space with the BAR.
    if (io.start == 0 || io.start > 0xFFFF - kCorePort || io.size() <= kCorePort) {
        message = "the Rage 128's I/O BAR is not where its clock unit can be";
        return kHelperFailed;
    }
    const auto ioBase = static_cast<std::uint16_t>(io.start);

    SysfsPortDevice ports(sysfsRoot);
    CollectedDialogs dialogs;
    TSmallPort port(ports, dialogs, [] { return std::string(); });
    port.Open();
    if (!port.Opened()) {
        message = "the Rage 128's ports can't be opened: " + ports.lastFailure();
        return kHelperFailed;
    }
    writeClockRegisters(port, ioBase, static_cast<std::uint8_t>(request->core),
                        static_cast<std::uint8_t>(request->memory));
    if (port.Failed()) {
        message = std::string(kPortRequestFailed) + " (" + port.Failure() + ")";
        return kHelperFailed;
    }
    message = "core " + std::to_string(request->core) + " MHz, memory " +
              std::to_string(request->memory) + " MHz";
    return kHelperDone;
}

}  // namespace corvane
