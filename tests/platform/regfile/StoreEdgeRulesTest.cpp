#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "platform/regfile/MemoryRegistryStore.h"
#include "platform/regfile/RegFileStore.h"

namespace corvane {
namespace {

using win::RegHandle;

// The edges of the registry API where our stores answer as Windows does (the Windows build holds
// the same answers against the system's own registry).
using Probe = std::function<std::string(RegistryStore&, RegHandle)>;

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

Probe create(const std::string& path, const std::string& thenOpen = {}) {
    return [=](RegistryStore& store, RegHandle key) {
        RegHandle made = 0;
        long error = store.createKey(key, path, made);
        if (error == 0) store.closeKey(made);
        if (error == 0 && !thenOpen.empty()) {
            error = store.openKey(key, thenOpen, made);
            if (error == 0) store.closeKey(made);
        }
        return std::to_string(error);
    };
}

Probe setThenSize(const std::string& name, const char* data, std::uint32_t size) {
    return [=](RegistryStore& store, RegHandle key) {
        const long error = store.setValue(key, name, win::kRegBinary,
                                          reinterpret_cast<const std::uint8_t*>(data), size);
        std::uint32_t stored = 0;
        store.queryValue(key, name, nullptr, nullptr, &stored);
        return std::to_string(error) + " size " + std::to_string(stored);
    };
}

struct Rule {
    const char* what;
    Probe probe;
    std::string answer;
};

const Rule kRules[] = {
    {"repeated backslashes count as one", create("a\\\\b\\\\", "a\\b"), "0"},
    {"a path of one backslash", create("\\"), "161"},
    {"a path that begins with a backslash", create("\\a"), "161"},
    {"255 Greek letters are 255 characters", create(repeat("\xCE\xB1", 255)), "0"},
    {"a name of 256 characters", create(std::string(256, 'k')), "87"},
    {"Greek letters compare without case",
     create("\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
            "\xCE\x95\xCE\x9B\xCE\x9B\xCE\x86\xCE\x94\xCE\x91"),
     "0"},
    {"y with diaeresis and its capital", create("\xC3\xBF", "\xC5\xB8"), "0"},
    {"o with macron and its capital", create("\xC5\x8D", "\xC5\x8C"), "0"},
    {"Cyrillic letters compare without case", create("\xD0\xB4", "\xD0\x94"), "0"},
    {"letters beyond the BMP keep their case", create("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"), "2"},
    {"sharp s is not SS", create("\xC3\x9F", "SS"), "2"},
    {"dotless i is not I", create("\xC4\xB1", "I"), "2"},
    {"a value name of 16383 characters", setThenSize(std::string(16383, 'n'), "\1", 1), "0 size 1"},
    {"a value name of 16384 characters", setThenSize(std::string(16384, 'n'), "\1", 1),
     "87 size 0"},
    {"no data with a size", setThenSize("v", nullptr, 4), "998 size 0"},
    {"a buffer without a size is refused before the lookup",
     [](RegistryStore& store, RegHandle key) {
         std::uint8_t buffer[4];
         return std::to_string(store.queryValue(key, "missing", nullptr, buffer, nullptr));
     },
     "87"},
};

TEST(StoreEdgeRules, BothStoresAnswerAsWindows) {
    for (const bool file : {false, true}) {
        for (const Rule& rule : kRules) {
            SCOPED_TRACE(std::string(file ? "file: " : "memory: ") + rule.what);
            test::TempDir dir;
            std::unique_ptr<RegistryStore> store;
            if (file) {
                // A version 5 file, which holds every character (REGEDIT4 holds one code page).
                test::writeFile(dir.file("registry.reg"),
                                "Windows Registry Editor Version 5.00\r\n");
                store = std::make_unique<RegFileStore>(dir.file("registry.reg"));
            } else {
                store = std::make_unique<MemoryRegistryStore>();
            }
            RegHandle key = 0;
            ASSERT_EQ(store->createKey(win::kHKeyLocalMachine, "Rule", key), 0);
            EXPECT_EQ(rule.probe(*store, key), rule.answer);
            store->closeKey(key);
            if (file) RegFileStore again(dir.file("registry.reg"));  // what was saved reads back
        }
    }
}

}  // namespace
}  // namespace corvane
