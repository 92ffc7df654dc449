// Measures the .reg file store on a generated 10 MB registry: loading it, and changing one value
// then saving. Reading the file into memory is printed as the floor.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "platform/regfile/RegFileStore.h"
#include "settings/Registry.h"

using namespace corvane;

namespace {

std::string generate(std::size_t targetBytes, std::size_t& keys) {
    std::mt19937 random(42);
    std::string out = "REGEDIT4\r\n";
    keys = 0;
    char buffer[64];
    while (out.size() < targetBytes) {
        out += "\r\n[HKEY_LOCAL_MACHINE\\Software\\Bench\\Group" + std::to_string(keys / 100) +
               "\\Key" + std::to_string(keys) + "]\r\n";
        switch (keys % 4) {
            case 0:
                out += "\"Name\"=\"Value number " + std::to_string(keys) + "\"\r\n";
                break;
            case 1:
                std::snprintf(buffer, sizeof buffer, "\"Flags\"=dword:%08x\r\n",
                              static_cast<unsigned>(random()));
                out += buffer;
                break;
            case 2:
                out += "\"Data\"=hex:";
                for (int i = 0; i < 12; ++i) {
                    std::snprintf(buffer, sizeof buffer, "%02x%s",
                                  static_cast<unsigned>(random() & 0xFF), i < 11 ? "," : "\r\n");
                    out += buffer;
                }
                break;
            default:
                out += "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,00\r\n\"On\"=\"1\"\r\n";
                break;
        }
        ++keys;
    }
    out += "\r\n";
    return out;
}

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
        std::ofstream out(path, std::ios::binary);
        out << generate(10 * 1024 * 1024, keys);
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
        "load", bench::medianMs(7, [&] { loaded.push_back(std::make_unique<RegFileStore>(path)); }),
        "ms");
    for (const auto& store : loaded)
        sink += store->tree().liveKeyCount();
    loaded.clear();

    RegFileStore store(path);
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    reg.OpenKey("\\Software\\Bench\\Group500\\Key50000", false);
    int counter = 0;
    bench::report("change_and_flush",
                  bench::medianMs(9, [&] { reg.WriteInteger("Flags", ++counter); }), "ms");

    std::filesystem::remove(path);
    return sink == 0 ? 1 : 0;
}
