#include "settings/DriverSettings.h"

#include <array>
#include <string>
#include <vector>

#include "platform/inifile/IniInteger.h"
#include "settings/DriverSettingsTable.h"
#include "settings/RegistryKeys.h"

namespace corvane {

namespace {

// Orders in which the check boxes of each key are read and written.
constexpr std::array<const char*, 3> kDesktopFlags = {"D3DTab", "OpenGLTab", "EnableIcon"};
constexpr std::array<const char*, 7> kDdhalFlags = {
    "D3DWaitSync",  "AntiAlias",     "PaletteBased",    "Dithering",
    "EnableKatmai", "EnablePrimary", "EnableSysMemBlts"};
constexpr std::array<const char*, 5> kOpenGLFlags = {
    "Convert32To16", "PageFlipping", "DisDitherAlpha", "OpenWaitVertSync", "KTXBufferRegion"};
constexpr std::array<int, 2> kSubpixelValues = {2, 4};
constexpr std::array<int, 4> kForceDepthValues = {0, 10, 18, 20};
constexpr std::array<int, 3> kModulateValues = {1, 2, 4};
constexpr std::array<const char*, 3> kGammaSliders = {"RedGamma", "GreenGamma", "BlueGamma"};
constexpr std::array<const char*, 3> kGammaLabels = {"RedGammaPosLbl", "GreenGammaPosLbl",
                                                     "BlueGammaPosLbl"};

std::runtime_error cannotAccess(const char* name) {
    return std::runtime_error(std::string("Cannot access \"") + name + "\" registry key.");
}

void readFlag(TRegistry& registry, SettingControls& controls, const char* id) {
    const Setting& s = driverSetting(id);
    switch (s.encoding) {
        case SettingEncoding::StringFlag:
            controls.setChecked(id, ReadStringDef(registry, s.valueName, s.fallbackText) == "1");
            break;
        case SettingEncoding::InvertedStringFlag:
            controls.setChecked(id, ReadStringDef(registry, s.valueName, s.fallbackText) == "0");
            break;
        case SettingEncoding::NumberFlag:
            controls.setChecked(id, ReadIntegerDef(registry, s.valueName, s.fallback) == 1);
            break;
        default:  // not a check box of the driver
            break;
    }
}

void writeFlag(TRegistry& registry, const SettingControls& controls, const char* id) {
    const Setting& s = driverSetting(id);
    const bool checked = controls.checked(id);
    switch (s.encoding) {
        case SettingEncoding::StringFlag:
            registry.WriteString(s.valueName, checked ? "1" : "0");
            break;
        case SettingEncoding::InvertedStringFlag:
            registry.WriteString(s.valueName, checked ? "0" : "1");
            break;
        case SettingEncoding::NumberFlag:
            registry.WriteInteger(s.valueName, checked ? 1 : 0);
            break;
        default:  // not a check box of the driver
            break;
    }
}

// Selects the item whose stored number is value; any other number leaves the list as it was.
template <std::size_t N>
void selectMapped(SettingControls& controls, const char* id, int value,
                  const std::array<int, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        if (values[i] == value) controls.setItemIndex(id, static_cast<int>(i));
    }
}

// A list that shows no entry holds a stored value the window could not show (set by the driver
// or another tool); it is left as it is rather than overwritten with a made-up one.
template <std::size_t N>
void writeMapped(TRegistry& registry, const SettingControls& controls, const char* id,
                 const char* valueName, const std::array<int, N>& values) {
    const int index = controls.itemIndex(id);
    if (index >= 0 && static_cast<std::size_t>(index) < N)
        registry.WriteInteger(valueName, values[static_cast<std::size_t>(index)]);
}

void readGamma(TRegistry& registry, SettingControls& controls) {
    if (!registry.OpenKey(kAtiDalKey, true)) return;
    std::vector<std::string> devices;
    registry.GetKeyNames(devices);
    if (devices.empty()) {
        registry.CreateKey("0000");
        devices.push_back("0000");
    }
    // Not tested: when it fails, the value is read from the key that is current.
    registry.OpenKey(std::string(kAtiDalKey) + "\\" + devices[0], true);
    const auto word =
        static_cast<std::uint32_t>(ReadIntegerDef(registry, kGammaValue, kGammaFallback));
    controls.setPosition("RedGamma", static_cast<int>(word >> 16));
    controls.setPosition("GreenGamma", static_cast<int>((word >> 8) & 0xFF));
    controls.setPosition("BlueGamma", static_cast<int>(word & 0xFF));
    for (std::size_t i = 0; i < kGammaSliders.size(); ++i) {
        controls.setLabelText(kGammaLabels[i],
                              std::to_string(controls.position(kGammaSliders[i])) + "%");
    }
}

}  // namespace

std::int32_t gammaWord(int red, int green, int blue) {
    return red * 65536 + green * 256 + blue;
}

bool ReadRegistry(TRegistry& registry, SettingControls& controls, Dialogs& dialogs) {
    try {
        registry.SetRootKey(win::kHKeyLocalMachine);
        if (!registry.OpenKey(kAtiKey, false)) return false;
        if (registry.OpenKey(kDesktopKey, false)) {
            for (const char* id : kDesktopFlags)
                readFlag(registry, controls, id);
        }
        if (controls.direct3DVisible()) {
            if (!registry.OpenKey(kDdhalKey, true)) throw cannotAccess("ddhal");
            for (const char* id : kDdhalFlags)
                readFlag(registry, controls, id);
            std::int32_t depth = 0;
            if (!parseIniInteger(ReadStringDef(registry, "ZBufferBitDepth", "0"), depth)) depth = 0;
            // The list shows the depths in the opposite order to the stored numbers 0 and 2.
            controls.setItemIndex("ZBufferCB", depth == 0 ? 2 : depth == 2 ? 0 : depth);
            readGamma(registry, controls);
        }
        if (!registry.OpenKey(kOpenGLKey, true)) throw cannotAccess("OpenGL");
        for (const char* id : kOpenGLFlags)
            readFlag(registry, controls, id);
        controls.setItemIndex("SubpixelCB",
                              ReadIntegerDef(registry, "OGLSubPixelPrecision", 2) / 2 - 1);
        controls.setPosition("DetailLevel", ReadIntegerDef(registry, "OGLLODBias", 2));
        if (!registry.OpenKey(kOpenGLPrivateKey, true)) throw cannotAccess("OpenGL(Private)");
        readFlag(registry, controls, "MultiTexture");
        selectMapped(controls, "ForceDepthBuffer", ReadIntegerDef(registry, "forceDepthBuffer", 0),
                     kForceDepthValues);
        selectMapped(controls, "ModulateFactor", ReadIntegerDef(registry, "modulateFactor", 1),
                     kModulateValues);
        try {
            if (!registry.OpenKey(kVxdKey, false)) throw cannotAccess("VXD");
            readFlag(registry, controls, "HMDLUseAGP");
        } catch (const std::exception&) {
            // Where the driver has no VXD key (Windows NT), the setting can't be used at all.
            controls.setCheckEnabled("HMDLUseAGP", false);
            controls.setLabelHint("HMDLUseAGP", kNotOnNtHint);
        }
    } catch (const std::exception& e) {
        showError(dialogs, std::string("Error in ReadRegistry: ") + e.what());
    }
    return true;
}

void writeDriverValues(TRegistry& registry, const SettingControls& controls) {
    registry.SetRootKey(win::kHKeyLocalMachine);
    if (!registry.OpenKey(kAtiKey, false))
        throw std::runtime_error("Cannot find ATI Technologies registry.");
    if (registry.OpenKey(kDesktopKey, false)) {
        writeFlag(registry, controls, "D3DTab");
        writeFlag(registry, controls, "OpenGLTab");
        // Written only when the stored state and the box disagree.
        const bool checked = controls.checked("EnableIcon");
        if ((ReadStringDef(registry, "EnableIcon", "1") == "1") != checked) {
            registry.WriteString("EnableIcon", checked ? "1" : "0");
        }
    }
    if (controls.direct3DVisible()) {
        if (!registry.OpenKey(kDdhalKey, true)) throw cannotAccess("ddhal");
        for (const char* id : kDdhalFlags)
            writeFlag(registry, controls, id);
        // The list shows the depths in the opposite order to the stored numbers 0 and 2.
        constexpr std::array<const char*, 3> kDepths = {"2", "1", "0"};
        const int index = controls.itemIndex("ZBufferCB");
        if (index >= 0 && index < static_cast<int>(kDepths.size()))
            registry.WriteString("ZBufferBitDepth", kDepths[static_cast<std::size_t>(index)]);
        if (registry.OpenKey(kAtiDalKey, true)) {
            const std::int32_t word =
                gammaWord(controls.position("RedGamma"), controls.position("GreenGamma"),
                          controls.position("BlueGamma"));
            std::vector<std::string> devices;
            registry.GetKeyNames(devices);
            for (const std::string& device : devices) {
                registry.OpenKey(std::string(kAtiDalKey) + "\\" + device, false);
                registry.WriteInteger(kGammaValue, word);
            }
        }
    }
    if (!registry.OpenKey(kOpenGLKey, true)) throw cannotAccess("OpenGL");
    for (const char* id : kOpenGLFlags)
        writeFlag(registry, controls, id);
    writeMapped(registry, controls, "SubpixelCB", "OGLSubPixelPrecision", kSubpixelValues);
    registry.WriteInteger("OGLLODBias", controls.position("DetailLevel"));
    if (!registry.OpenKey(kOpenGLPrivateKey, true)) throw cannotAccess("OpenGL(Private)");
    writeFlag(registry, controls, "MultiTexture");
    writeMapped(registry, controls, "ForceDepthBuffer", "forceDepthBuffer", kForceDepthValues);
    writeMapped(registry, controls, "ModulateFactor", "modulateFactor", kModulateValues);
    if (!registry.OpenKey(kVxdKey, true)) throw cannotAccess("VXD");
    writeFlag(registry, controls, "HMDLUseAGP");
}

}  // namespace corvane
