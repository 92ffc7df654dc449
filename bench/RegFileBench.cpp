// Measures the .reg file store on a 10 MB export of the kind a whole Windows 98 machine gives:
// opening it, reading one value, changing one and saving, storing what a value already holds,
// and walking every key and value. Reading the file into memory is printed as the floor.
//
// Usage: corvane_regfile_bench [folder]

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "RegistryExport.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/regfile/RegSource.h"
#include "settings/Registry.h"

using namespace corvane;

namespace {

std::string slurp(const std::string& path) {
    std::string bytes(std::filesystem::file_size(path), '\0');
    std::FILE* f = std::fopen(path.c_str(), "rb");
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    bytes.resize(n);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    const std::string path = folder + "/corvane-bench-" + std::to_string(::getpid()) + ".reg";
    std::size_t keys = 0;
    {
        std::string text =
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Bench]\r\n\"Flags\"=dword:00000001\r\n";
        keys = bench::RegistryExport().appendTo(text, 10 * 1024 * 1024);
        text += "\r\n";
        std::ofstream(path, std::ios::binary) << text;
    }
    bench::report("file_size",
                  static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0), "MB");
    bench::report("keys", static_cast<double>(keys), "count");

    std::size_t sink = 0;
    bench::report("read_into_string_floor", bench::medianMs(7, [&] { sink += slurp(path).size(); }),
                  "ms");
    // Freeing a loaded registry is not part of loading it, so the stores are kept until the end.
    std::vector<std::unique_ptr<RegFileStore>> loaded;
    bench::report(
        "open", bench::medianMs(7, [&] { loaded.push_back(std::make_unique<RegFileStore>(path)); }),
        "ms");
    loaded.clear();
    // What the clock mode does: open the file and read a few values of one key.
    bench::report("open_and_read_one_key",
                  bench::medianMs(7,
                                  [&] {
                                      auto store = std::make_unique<RegFileStore>(path);
                                      TRegistry reg(*store);
                                      reg.SetRootKey(win::kHKeyLocalMachine);
                                      if (reg.OpenKey("\\Software\\Bench", false))
                                          sink +=
                                              static_cast<std::size_t>(reg.ReadInteger("Flags"));
                                      loaded.push_back(std::move(store));
                                  }),
                  "ms");
    loaded.clear();
    // Something that walks the whole tree: every key, depth first in the order of the file, and
    // every value's data, from the file opened as the store opens it. Printed with the opening
    // (the whole cost, as a whole read was before) and without it.
    auto openTree = [&] {
        std::shared_ptr<const RegSource> source;
        FileIdentity identity;
        std::string error;
        openFileSource(path, source, identity, error);
        return RegistryTree::parseLazily(source);
    };
    auto walk = [&](const RegistryTree& tree) {
        std::vector<std::uint32_t> pending;
        for (const std::string_view root :
             {"HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_USERS"}) {
            if (const auto key = tree.findKey(root); key != RegistryTree::kNoKey)
                pending.push_back(key);
        }
        while (!pending.empty()) {
            const std::uint32_t key = pending.back();
            pending.pop_back();
            const auto children = tree.subkeys(key);
            pending.insert(pending.end(), children.rbegin(), children.rend());
            for (std::size_t v = 0; v < tree.valueCount(key); ++v) {
                std::uint32_t type = 0;
                const std::string* data = nullptr;
                const std::string name(tree.valueName(key, v));
                if (tree.value(key, name, type, data)) sink += data->size();
            }
        }
    };
    std::vector<RegistryTree> trees;
    bench::report("full_load",
                  bench::medianMs(7,
                                  [&] {
                                      trees.push_back(openTree());
                                      walk(trees.back());
                                  }),
                  "ms");
    std::size_t next = 0;
    bench::report("walk_every_value", bench::medianMs(7, [&] { walk(trees[next++]); }), "ms");
    trees.clear();

    RegFileStore store(path);
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    reg.OpenKey("\\Software\\Bench", false);
    int counter = 1;
    bench::report("change_and_flush",
                  bench::medianMs(9, [&] { reg.WriteInteger("Flags", ++counter); }), "ms");
    bench::report("store_unchanged_value",
                  bench::medianMs(9, [&] { reg.WriteInteger("Flags", counter); }), "ms");

    std::filesystem::remove(path);
    return sink == 0 ? 1 : 0;
}
