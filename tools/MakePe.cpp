// Writes a minimal PE file with a version resource, or the demo machine's driver files:
//   corvane_make_pe FILE [--pe32plus] [--code-size BYTES] --file-version A.B.C.D
//                   --product-version A.B.C.D [--description TEXT]
//   corvane_make_pe --demo MACHINE_FOLDER    (into MACHINE_FOLDER/Windows/System)

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "PeWriter.h"

namespace {

using corvane::tools::Version;

bool parseVersion(const std::string& text, Version& version) {
    unsigned parts[4] = {};
    char end = 0;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3],
                    &end) != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (parts[i] > 0xFFFF) return false;
        version[i] = static_cast<std::uint16_t>(parts[i]);
    }
    return true;
}

bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "corvane_make_pe: cannot write %s\n", path.string().c_str());
    return static_cast<bool>(out);
}

int usage() {
    std::fprintf(stderr,
                 "usage: corvane_make_pe FILE [--pe32plus] [--code-size BYTES] --file-version "
                 "A.B.C.D --product-version A.B.C.D [--description TEXT]\n"
                 "       corvane_make_pe --demo MACHINE_FOLDER\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--demo") {
        const std::filesystem::path folder = std::filesystem::path(argv[2]) / "Windows" / "System";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        for (const auto& driver : corvane::tools::demoDrivers()) {
            const auto file =
                corvane::tools::makeVersionedPe(corvane::tools::demoDriverDescription(driver));
            if (!writeFile(folder / driver.fileName, file.bytes)) return 1;
        }
        return 0;
    }
    if (argc < 2 || argv[1][0] == '-') return usage();
    corvane::tools::PeDescription description;
    bool haveFile = false;
    bool haveProduct = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--pe32plus") {
            description.pe32Plus = true;
        } else if (arg == "--code-size" && hasValue) {
            description.codeSize = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 0));
        } else if (arg == "--file-version" && hasValue) {
            haveFile = parseVersion(argv[++i], description.fileVersion);
            if (!haveFile) return usage();
        } else if (arg == "--product-version" && hasValue) {
            haveProduct = parseVersion(argv[++i], description.productVersion);
            if (!haveProduct) return usage();
        } else if (arg == "--description" && hasValue) {
            description.strings.emplace_back("FileDescription", argv[++i]);
        } else {
            return usage();
        }
    }
    if (!haveFile || !haveProduct) return usage();
    return writeFile(argv[1], corvane::tools::makeVersionedPe(description).bytes) ? 0 : 1;
}
