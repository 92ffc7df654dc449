#include "hardware/SmallPort.h"

#include <cstdio>

namespace corvane {

TSmallPort::TSmallPort(PortDevice& device, Dialogs& dialogs,
                       std::function<std::string()> systemDirectory)
    : m_device(device), m_dialogs(dialogs), m_systemDirectory(std::move(systemDirectory)) {}

TSmallPort::~TSmallPort() {
    Close();
}

bool TSmallPort::Opened() const {
    return m_handle != 0 && m_handle != PortDevice::kInvalidHandle;
}

void TSmallPort::SetOpened(bool opened) {
    if (opened && !Opened()) Open();
    if (!opened && Opened()) Close();
}

void TSmallPort::Open() {
    if (m_handle != 0) Close();
    m_failed = false;
    m_failure.clear();
    PortDevice::Handle handle = m_device.createFile(devicePath());
    if (handle == PortDevice::kInvalidHandle) {
        handle = m_device.createFile("\\\\.\\" + m_systemDirectory() + "\\zentrio.vxd");
    }
    if (handle == PortDevice::kInvalidHandle) {
        m_handle = 0;
        m_dialogs.show(
            {"Error", "Unable open file \"zentrio.vxd\"", DialogIcon::Error, DialogButtons::Ok});
        return;
    }
    m_handle = handle;
}

void TSmallPort::Close() {
    if (m_handle != 0) {
        m_device.closeHandle(m_handle);
        m_handle = 0;
    }
}

void TSmallPort::noteFailure(std::uint16_t port) {
    if (m_failed) return;  // the first failure is the one that explains
    m_failed = true;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04Xh", port);
    const std::string reason = m_handle == 0 ? "the driver is not open" : m_device.lastFailure();
    m_failure = "port " + std::string(hex) + (reason.empty() ? "" : ": " + reason);
}

std::uint8_t TSmallPort::ReadPort(std::uint16_t port) {
    if (m_handle == 0) {
        noteFailure(port);
        return 0;
    }
    const std::uint8_t request[2] = {static_cast<std::uint8_t>(port & 0xFF),
                                     static_cast<std::uint8_t>(port >> 8)};
    std::uint8_t answer[2] = {0, 0};
    if (!m_device.deviceIoControl(m_handle, PortDevice::kReadPort, request, 2, answer, 2,
                                  &m_bytesReturned)) {
        noteFailure(port);
        return 0;
    }
    return answer[0];
}

void TSmallPort::WritePort(std::uint16_t port, std::uint8_t value) {
    if (m_handle == 0) {
        noteFailure(port);
        return;
    }
    m_writeRequest[0] = static_cast<std::uint8_t>(port & 0xFF);
    m_writeRequest[1] = static_cast<std::uint8_t>(port >> 8);
    m_writeRequest[2] = value;
    std::uint16_t scratch = value;  // the driver's output is not looked at
    if (!m_device.deviceIoControl(m_handle, PortDevice::kWritePort, m_writeRequest, 4, &scratch, 2,
                                  &m_bytesReturned)) {
        noteFailure(port);
    }
}

}  // namespace corvane
