#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/PortDevice.h"

namespace corvane {

// Byte-wide port I/O through the port I/O driver ("zentrio.vxd"): opens the driver and speaks
// its two requests. Lives for one clock operation.
class TSmallPort {
public:
    // systemDirectory gives the Windows system folder, where the driver is looked for second.
    TSmallPort(PortDevice& device, Dialogs& dialogs, std::function<std::string()> systemDirectory);
    ~TSmallPort();
    TSmallPort(const TSmallPort&) = delete;
    TSmallPort& operator=(const TSmallPort&) = delete;

    // Opens the driver, first as "\\.\zentrio.vxd", then in the system folder; says so in a
    // message when neither opens. Callers look at Opened afterwards.
    void Open();
    void Close();
    bool Opened() const;
    void SetOpened(bool opened);
    std::uint32_t DriverHandle() const { return m_handle; }

    // A closed driver or a failed request reads 0; writes to a closed driver go nowhere.
    std::uint8_t ReadPort(std::uint16_t port);
    void WritePort(std::uint16_t port, std::uint8_t value);

    static std::string devicePath() { return "\\\\.\\zentrio.vxd"; }

private:
    PortDevice& m_device;
    Dialogs& m_dialogs;
    std::function<std::string()> m_systemDirectory;
    std::uint32_t m_handle = 0;
    std::uint8_t m_writeRequest[4] = {0, 0, 0, 0};  // the last byte stays 0
    std::uint32_t m_bytesReturned = 0;
};

}  // namespace corvane
