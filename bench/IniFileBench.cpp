// Measures TIniFile over the INI back end on a preset's worth of values (35 keys in five
// sections): writing them, and reading them back (the section list and every key), from a file
// changed just now and from one that has settled.
//   corvane_ini_file_bench [folder]

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchTimer.h"
#include "platform/inifile/IniFileProfile.h"
#include "presets/IniFile.h"

using namespace corvane;

namespace {

const char* const kSections[] = {"Desktop", "D3D", "OpenGL", "Advanced", "DVD"};
constexpr int kKeys = 35;

void writePreset(IniFileProfile& profile, const std::string& path, int value) {
    TIniFile ini(profile, path);
    for (int i = 0; i < kKeys; ++i)
        ini.WriteInteger(kSections[i % 5], "Setting" + std::to_string(i), value + i);
    ini.UpdateFile();
}

void readPreset(IniFileProfile& profile, const std::string& path) {
    const TIniFile ini(profile, path);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (int i = 0; i < kKeys; ++i)
        ini.ReadInteger(kSections[i % 5], "Setting" + std::to_string(i), 0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    const std::string path = (folder / "corvane-bench.cvt").string();
    std::filesystem::remove(path);
    IniFileProfile profile;
    int value = 0;
    const double write = bench::medianMs(30, [&] { writePreset(profile, path, ++value); });
    const double fresh = bench::medianMs(50, [&] { readPreset(profile, path); });
    // Until the file's last change is two seconds old, every call reads it again.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    const double settled = bench::medianMs(50, [&] { readPreset(profile, path); });
    std::filesystem::remove(path);
    bench::report("write_preset", write, "ms");
    bench::report("read_preset_just_written", fresh, "ms");
    bench::report("read_preset_settled", settled, "ms");
    return 0;
}
