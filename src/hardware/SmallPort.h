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

    // True once a request since the last Open failed (or was made on a closed driver), so that a
    // sequence of requests can tell its caller that it did not all happen. Failure() says why.
    bool Failed() const { return m_failed; }
    const std::string& Failure() const { return m_failure; }

    static std::string devicePath() { return "\\\\.\\zentrio.vxd"; }

private:
    PortDevice& m_device;
    Dialogs& m_dialogs;
    std::function<std::string()> m_systemDirectory;
    std::uint32_t m_handle = 0;
    std::uint8_t m_writeRequest[4] = {0, 0, 0, 0};  // the last byte stays 0
    std::uint32_t m_bytesReturned = 0;
    bool m_failed = false;
    std::string m_failure;

    void noteFailure(std::uint16_t port);
};

}  // namespace corvane
