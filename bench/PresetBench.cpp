// Measures the preset routines: applying and saving a full preset, and filling the preset list
// from a folder of 1,000 presets. Runs offscreen.

#include <QApplication>
#include <filesystem>
#include <fstream>

#include "BenchTimer.h"
#include "presets/PresetFile.h"
#include "presets/ui/PresetsBox.h"
#include "settings/SettingModel.h"

using namespace corvane;

namespace {

class SilentDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest&) override { return DialogResult::Ok; }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "corvane-preset-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Presets");

    SettingModel controls;
    const std::string full = (folder / "Full.cvt").string();
    SavePresetFile(full, controls, false);
    bench::report("save_preset_file",
                  bench::medianMs(51,
                                  [&] {
                                      controls.setChecked("AntiAlias",
                                                          !controls.checked("AntiAlias"));
                                      SavePresetFile(full, controls, false);
                                  }),
                  "ms");
    bench::report("apply_preset_file",
                  bench::medianMs(51, [&] { ApplyPresetFile(full, controls); }), "ms");

    for (int i = 0; i < 1000; ++i)
        std::filesystem::copy_file(full,
                                   folder / "Presets" / ("Preset" + std::to_string(i) + ".cvt"));
    SilentDialogs dialogs;
    PresetsBox box(nullptr);
    box.attach(PresetServices{controls, dialogs, (folder / "Presets").string(),
                              [] { return false; }, [] {}, [] {}});
    bench::report("fill_preset_list_1000", bench::medianMs(21, [&] { box.FillPresetList(); }),
                  "ms");
    std::filesystem::remove_all(folder);
    return 0;
}
