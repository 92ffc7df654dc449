// Measures reading the product version of a 5 MB DLL through the three version calls, as the
// window does for each driver file. Reading the whole file is printed for comparison: the
// reader reads only the headers and the resource section.
//   corvane_pe_version_bench [folder]

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "BenchTimer.h"
#include "PeWriter.h"
#include "platform/pe/PeVersionResources.h"

using namespace corvane;

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::string path = (folder / "corvane-bench-5mb.dll").string();
    tools::PeDescription description;
    description.productVersion = {4, 11, 0, 2081};
    description.codeSize = 5u * 1024 * 1024;
    const std::string bytes = tools::makeVersionedPe(description).bytes;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    PeVersionResources versions;
    std::uint32_t product = 0;
    const double ms = bench::medianMs(200, [&] {
        std::uint32_t handle = 0;
        std::vector<std::uint8_t> block(versions.getFileVersionInfoSize(path, &handle));
        const void* info = nullptr;
        std::uint32_t length = 0;
        VsFixedFileInfo fixed{};
        if (!block.empty() &&
            versions.getFileVersionInfo(path, handle, static_cast<std::uint32_t>(block.size()),
                                        block.data()) &&
            versions.verQueryValue(block.data(), "\\", &info, &length)) {
            std::memcpy(&fixed, info, sizeof fixed);
        }
        product = fixed.dwProductVersionMS;
    });
    const double whole = bench::medianMs(20, [&] {
        std::ifstream in(path, std::ios::binary);
        std::string all(std::filesystem::file_size(path), '\0');
        in.read(all.data(), static_cast<std::streamsize>(all.size()));
    });
    std::filesystem::remove(path);
    if (product != 0x0004000Bu) {
        std::fprintf(stderr, "corvane_pe_version_bench: the version was not read\n");
        return 1;
    }
    bench::report("product_version_5mb", ms, "ms");
    bench::report("read_whole_file_5mb", whole, "ms");
    return 0;
}
