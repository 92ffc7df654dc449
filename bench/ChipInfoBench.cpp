// Measures what the Rage 128 Info page reads: the adapter list of a registry file recording 16
// adapters (ReadChipIds), and one adapter's facts (ReadATIInfo), over the .reg file store as the
// window uses it.
//
// Usage: corvane_chip_info_bench [folder]

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "BenchTimer.h"
#include "hardware/ChipInfo.h"
#include "platform/regfile/RegFileStore.h"

using namespace corvane;

namespace {

class SilentDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest&) override { return DialogResult::Ok; }
};

class Labels : public ChipInfoLabels {
public:
    std::string text(const std::string& label) const override {
        const auto found = m_texts.find(label);
        return found == m_texts.end() ? "n/a" : found->second;
    }
    void setText(const std::string& label, const std::string& text) override {
        m_texts[label] = text;
    }

private:
    std::map<std::string, std::string> m_texts;
};

// Every section the page reads, for each of 16 adapters.
void writeRegistry(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "REGEDIT4\r\n\r\n";
    const std::string cds = "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\CDS\\";
    for (int i = 0; i < 16; ++i) {
        char instance[8];
        std::snprintf(instance, sizeof instance, "%04d", i);
        const std::string base = cds + instance + "\\0";
        const auto key = [&](const char* section) { out << "[" << base << section << "]\r\n"; };
        key("\\ASIC");
        out << "\"Chip ID\"=\"Rage 128 GL (RE) #" << i << "\"\r\n"
            << "\"Bus Type\"=\"AGP 2x (66 MHz)\"\r\n\"Bus Mastering\"=\"Enabled\"\r\n\r\n";
        key("\\BIOS");
        out << "\"Date\"=\"1999/05/12\"\r\n\"Part Number\"=\"113-xxxxx-xxx\"\r\n"
            << "\"Version\"=\"1.0.0\"\r\n\r\n";
        key("\\Memory");
        out << "\"Size\"=\"32 MB\"\r\n\"Type\"=\"SDRAM (x)\"\r\n\r\n";
        key("\\Multi Media");
        out << "\"Tuner Type\"=\"None\"\r\n\"Is All-in-Wonder Family\"=\"No\"\r\n\r\n";
        key("\\Multi Media\\Tuner");
        out << "\"Type\"=\"NTSC\"\r\n\r\n";
        key("\\Multi Media\\Video In");
        out << "\"Chip Type\"=\"Rage Theater\"\r\n\r\n";
        key("\\Multi Media\\Video Out");
        out << "\"Chip Type\"=\"ImpacTV2\"\r\n\"Standard\"=\"NTSC\"\r\n\r\n";
        key("\\PCI Config");
        out << "\"Primary\"=\"Yes\"\r\n\r\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        std::filesystem::path(argc > 1 ? argv[1] : std::filesystem::temp_directory_path()) /
        "corvane-chip-info-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "registry.reg";
    writeRegistry(file);

    RegFileStore store(file.string());
    std::size_t found = 0;
    bench::report("read_chip_ids_16",
                  bench::medianMs(51,
                                  [&] {
                                      TRegistry registry(store);
                                      registry.SetRootKey(win::kHKeyLocalMachine);
                                      found = ReadChipIds(registry).chipIds.size();
                                  }),
                  "ms");
    Labels labels;
    SilentDialogs dialogs;
    bench::report("read_ati_info",
                  bench::medianMs(51,
                                  [&] {
                                      TRegistry registry(store);
                                      registry.SetRootKey(win::kHKeyLocalMachine);
                                      ReadATIInfo(registry, std::string(kCdsKey) + "0015\\0",
                                                  labels, dialogs);
                                  }),
                  "ms");
    std::filesystem::remove_all(folder);
    if (found != 16) {
        std::fprintf(stderr, "expected 16 adapters, found %zu\n", found);
        return 1;
    }
    return 0;
}
