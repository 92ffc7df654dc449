#include "hardware/ChipInfo.h"

namespace corvane {

namespace {

constexpr const char* kNotAvailable = "n/a";

// Blanks are the space and every control character, as the driver's texts may be padded with
// tabs or line ends.
std::string trimBlanks(const std::string& text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// One section of an adapter: its key below the "\0" key and the label each value goes to.
struct Section {
    const char* key;
    std::vector<std::pair<const char*, const char*>> labels;  // value name, label
};

}  // namespace

std::string TrimBeforeParen(const std::string& text) {
    const auto paren = text.find('(');
    return trimBlanks(paren == std::string::npos ? text : text.substr(0, paren));
}

ChipList ReadChipIds(TRegistry& registry) {
    ChipList chips;
    if (registry.OpenKey(kCdsKey, false)) registry.GetKeyNames(chips.cdsKeyNames);
    std::size_t index = 0;
    while (index < chips.cdsKeyNames.size()) {
        const std::string base = kCdsKey + chips.cdsKeyNames[index] + "\\0";
        if (registry.OpenKey(base + "\\ASIC", false)) {
            std::string chipId;
            try {
                chipId = TrimBeforeParen(registry.ReadString("Chip ID"));
            } catch (const std::exception&) {
                // A chip ID that is not text shows as a missing one does; the adapter stays listed.
            }
            chips.chipIds.push_back(chipId);
            chips.keyPaths.push_back(base);
            ++index;
        } else {
            // Dropped so that the names, the paths and the list stay aligned.
            chips.cdsKeyNames.erase(chips.cdsKeyNames.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
    return chips;
}

void ReadATIInfo(TRegistry& registry, const std::string& keyPath, ChipInfoLabels& labels,
                 Dialogs& dialogs) {
    const Section simple[] = {
        {"\\ASIC", {{"Bus Type", "BusTypeLbl"}, {"Bus Mastering", "BusMasteringLbl"}}},
        {"\\BIOS",
         {{"Date", "BiosDateLbl"},
          {"Part Number", "PartNumberLbl"},
          {"Version", "BiosVersionLbl"}}},
        {"\\Memory", {{"Size", "MemSizeLbl"}, {"Type", "MemTypeLbl"}}},
        {"\\Multi Media", {{"Tuner Type", "TunerTypeLbl"}, {"Is All-in-Wonder Family", "AIWLbl"}}},
        {"\\PCI Config", {{"Primary", "PrimaryLbl"}}},
    };
    const auto value = [&registry](const char* name) {
        return TrimBeforeParen(registry.ReadString(name));
    };
    try {
        for (const Section& section : simple) {
            const bool open = registry.OpenKey(keyPath + section.key, false);
            for (const auto& [name, label] : section.labels)
                labels.setText(label, open ? value(name) : kNotAvailable);
        }
        // The tuner's own type follows the multimedia key's; without a Tuner key there is none.
        if (registry.OpenKey(keyPath + "\\Tuner", false)) {
            labels.setText("TunerTypeLbl", labels.text("TunerTypeLbl") + " - " + value("Type"));
        } else {
            labels.setText("TunerTypeLbl", kNotAvailable);
        }
        labels.setText("InChipTypeLbl", registry.OpenKey(keyPath + "\\Video In", false)
                                            ? value("Chip Type")
                                            : kNotAvailable);
        if (registry.OpenKey(keyPath + "\\Video Out", false)) {
            labels.setText("OutChipTypeLbl", value("Chip Type") + " (" + value("Standard") + ")");
        } else {
            labels.setText("OutChipTypeLbl", kNotAvailable);
        }
    } catch (const std::exception& e) {
        showError(dialogs, std::string("Error in ReadATIInfo:") + e.what());
    }
}

}  // namespace corvane
