#pragma once

#include <cstdint>

// Numbers of the Win32 registry and error interfaces, under names of our own so that this header
// can sit beside <windows.h> (which defines the usual names as macros).
namespace corvane::win {

using RegHandle = std::uintptr_t;

inline constexpr RegHandle kHKeyClassesRoot = 0x80000000u;
inline constexpr RegHandle kHKeyCurrentUser = 0x80000001u;
inline constexpr RegHandle kHKeyLocalMachine = 0x80000002u;
inline constexpr RegHandle kHKeyUsers = 0x80000003u;
inline constexpr RegHandle kHKeyPerformanceData = 0x80000004u;
inline constexpr RegHandle kHKeyCurrentConfig = 0x80000005u;
inline constexpr RegHandle kHKeyDynData = 0x80000006u;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorInvalidName = 123;
inline constexpr long kErrorBadPathname = 161;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorNoAccess = 998;
inline constexpr long kErrorBadKey = 1010;
inline constexpr long kErrorRegistryIoFailed = 1016;
inline constexpr long kErrorKeyDeleted = 1018;
inline constexpr long kErrorNoUnicodeTranslation = 1113;

}  // namespace corvane::win
