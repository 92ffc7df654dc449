#include "app/PresetCommand.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

#include "app/PlatformFactory.h"
#include "app/RegistryChanges.h"
#include "app/RegistryRoutines.h"
#include "app/StderrDialogs.h"
#include "hardware/FileVersion.h"
#include "platform/regfile/RegFileStore.h"
#include "presets/PresetFile.h"
#include "settings/DriverSettings.h"
#include "settings/DvdSettings.h"
#include "settings/DvdSettingsTable.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "settings/SettingModel.h"

namespace corvane {

namespace {

// Prints what the registry routines report and remembers that something was reported: a command
// that reads half the settings must not go on to write them.
class ReportingDialogs : public StderrDialogs {
public:
    DialogResult show(const DialogRequest& request) override {
        if (request.buttons == DialogButtons::Ok) reported = true;
        return StderrDialogs::show(request);
    }
    bool reported = false;
};

int fail(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

// A preset the command can read: a regular file that opens.
std::string unreadablePreset(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return "the preset " + path + " does not exist";
    if (!std::filesystem::is_regular_file(path, error))
        return "the preset " + path + " is not a file";
    if (!std::ifstream(path, std::ios::binary)) return "the preset " + path + " can't be read";
    return {};
}

// Makes the changes in the registry in one update: all are saved, or an error says why none were.
void saveChanges(RegistryStore& store, const std::vector<RegistryChanges::Change>& changes) {
    static const std::string kRoot = "HKEY_LOCAL_MACHINE\\";
    RegistryUpdate update(store);
    for (const RegistryChanges::Change& change : changes) {
        if (change.keyPath.rfind(kRoot, 0) != 0) continue;  // the program writes nowhere else
        win::RegHandle key = 0;
        long error =
            store.createKey(win::kHKeyLocalMachine, change.keyPath.substr(kRoot.size()), key);
        if (error == win::kErrorSuccess) {
            if (change.after) {
                const auto& data = change.after->data;
                error = store.setValue(key, change.name, change.after->type,
                                       reinterpret_cast<const std::uint8_t*>(data.data()),
                                       static_cast<std::uint32_t>(data.size()));
            } else {
                error = store.deleteValue(key, change.name);
            }
            store.closeKey(key);
        }
        if (error != win::kErrorSuccess)
            throw std::runtime_error("cannot store " + change.keyPath + "\\" + change.name);
    }
    update.commit();
}

}  // namespace

int runPresetCommand(const CommandLine& line, const std::optional<std::string>& machineDir) {
    const bool applying = line.applyPreset.has_value();
    if (applying) {
        if (const std::string problem = unreadablePreset(*line.applyPreset); !problem.empty())
            return fail(problem);
    }
    Platform platform = makePlatform(machineDir, line.registry);
    // The command works on a copy of the registry file: reading creates keys that must not reach
    // the real one when only reading, and a command that fails halfway leaves the real one as it
    // was. What it changed is then made in the real registry in one update.
    const auto* file = dynamic_cast<const RegFileStore*>(platform.registry.get());
    if (file == nullptr && (!applying || line.dryRun))
        return fail("--dry-run and --save-preset need a registry file");
    std::unique_ptr<RegFileStore> scratch;
    std::filesystem::path scratchFile;
    if (file != nullptr) {
        scratchFile = std::filesystem::temp_directory_path() /
                      ("corvane-preset-" + std::to_string(std::random_device{}()) + ".reg");
        std::error_code error;
        if (std::filesystem::exists(file->path(), error) &&
            !std::filesystem::copy_file(file->path(), scratchFile,
                                        std::filesystem::copy_options::overwrite_existing, error))
            return fail("cannot copy " + file->path() + ": " + error.message());
        // The copy is the command's own, whatever the rights on the registry it came from.
        std::filesystem::permissions(
            scratchFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
            error);
        scratch = std::make_unique<RegFileStore>(scratchFile.string());
    }
    RegistryStore& target = scratch ? static_cast<RegistryStore&>(*scratch) : *platform.registry;
    struct Cleanup {
        std::filesystem::path file;
        ~Cleanup() {
            std::error_code ignored;
            if (!file.empty()) std::filesystem::remove(file, ignored);
        }
    } cleanup{scratchFile};

    RegistryChanges changes(target);
    ReportingDialogs dialogs;
    TRegistry registry(changes);
    registry.SetRootKey(win::kHKeyLocalMachine);
    RegistryUpdate update(changes);

    const bool windowsNt = platform.facts->version().platformId == SystemFacts::kPlatformNt;
    SettingModel controls;
    controls.direct3dVisible = !windowsNt;
    if (registry.OpenKey(kProgramKey, false))
        controls.setChecked("StartupSettings",
                            ReadIntegerDef(registry, kLoadOnStartupValue, 0) == 1);
    if (!ReadRegistry(registry, controls, dialogs)) return fail(kAtiKeyMissingMessage);
    if (!windowsNt) {
        ProductVersion engine{};
        if (GetFileVersion(*platform.versions, dialogs,
                           platform.facts->systemDirectory() + kDvdEngineFile, engine) &&
            spdifHasFiveItems(engine[2], engine[3])) {
            controls.itemCounts["AC3SPDIFOut"] = static_cast<int>(spdifFiveItemForm().size());
        }
    }
    const bool dvd = !windowsNt && ReadDVDRegistry(registry, controls, dialogs);
    if (dialogs.reported) return fail("the settings could not be read; nothing was changed");

    if (!applying) {
        try {
            SavePresetFile(*platform.profile, *line.savePreset, controls, windowsNt);
        } catch (const std::exception& e) {
            return fail(e.what());
        }
        return 0;
    }

    // As in the window: a file without sections marks nothing, so there is nothing to apply.
    if (ApplyPresetFile(*platform.profile, *line.applyPreset, controls) == 0) return 0;
    WriteRegistry(registry, controls, platform.programPath, dialogs);
    if (dvd) WriteDVDRegistry(registry, controls, dialogs);
    if (dialogs.reported) return fail("the settings could not all be written; nothing was saved");
    try {
        update.commit();
        if (scratch && !line.dryRun) saveChanges(*platform.registry, changes.changes());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    for (const RegistryChanges::Change& change : changes.changes())
        std::printf("%s\n", RegistryChanges::describe(change).c_str());
    return 0;
}

}  // namespace corvane
