#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The port I/O driver as a program reaches it: a device opened by path, spoken to with
// DeviceIoControl requests (2 reads a byte from an I/O port, 3 writes one).
class PortDevice {
public:
    using Handle = std::uint32_t;
    static constexpr Handle kInvalidHandle = 0xFFFFFFFFu;
    static constexpr std::uint32_t kReadPort = 2;
    static constexpr std::uint32_t kWritePort = 3;

    virtual ~PortDevice() = default;
    // CreateFileA(path, 0, 0, no security, 0, 0, no template): a handle, or kInvalidHandle.
    virtual Handle createFile(const std::string& path) = 0;
    // DeviceIoControl without overlapped I/O; true on success.
    virtual bool deviceIoControl(Handle handle, std::uint32_t code, const void* in,
                                 std::uint32_t inSize, void* out, std::uint32_t outSize,
                                 std::uint32_t* returned) = 0;
    virtual bool closeHandle(Handle handle) = 0;

    // Why the last request or open failed, in words for the user; empty when it is not known.
    virtual std::string lastFailure() const { return {}; }

    // One request of the driver's wire format, taken apart: the port, and for a write the value.
    struct Request {
        bool write = false;
        std::uint16_t port = 0;
        std::uint8_t value = 0;
    };
    // False when the buffers do not make a request of either code.
    static bool decode(std::uint32_t code, const void* in, std::uint32_t inSize, const void* out,
                       std::uint32_t outSize, Request& request) {
        if (in == nullptr || out == nullptr || outSize < 2) return false;
        const auto* bytes = static_cast<const std::uint8_t*>(in);
        if (code == kReadPort && inSize >= 2) {
            request = Request{false, static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)), 0};
            return true;
        }
        if (code == kWritePort && inSize >= 4) {
            request =
                Request{true, static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)), bytes[2]};
            return true;
        }
        return false;
    }

    // Serves one request with a device's byte access, as every back end answers the wire format:
    // read(port, byte&) and write(port, byte) return false on failure. A read byte goes to byte 0
    // of out; returned is set to 2 on success.
    template <class Read, class Write>
    static bool serve(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                      std::uint32_t outSize, std::uint32_t* returned, Read&& read, Write&& write) {
        Request request;
        if (!decode(code, in, inSize, out, outSize, request)) return false;
        const bool ok = request.write ? write(request.port, request.value)
                                      : read(request.port, *static_cast<std::uint8_t*>(out));
        if (ok && returned != nullptr) *returned = 2;
        return ok;
    }
};

}  // namespace corvane
