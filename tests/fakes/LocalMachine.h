#pragma once

#include <utility>

#include "platform/WinTypes.h"
#include "settings/Registry.h"

namespace corvane::test {

// A store and a TRegistry over it with HKEY_LOCAL_MACHINE as the root, as most registry tests
// begin. Store may be a reference type to work on a store made elsewhere.
template <typename Store>
struct LocalMachine {
    template <typename... Args>
    explicit LocalMachine(Args&&... args) : store(std::forward<Args>(args)...), reg(store) {
        reg.SetRootKey(win::kHKeyLocalMachine);
    }

    Store store;
    TRegistry reg;
};

}  // namespace corvane::test
