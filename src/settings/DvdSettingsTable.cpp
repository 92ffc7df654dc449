#include "settings/DvdSettingsTable.h"

#include <stdexcept>
#include <string>

namespace corvane {

namespace {

using P = SettingPage;
using E = SettingEncoding;

Setting check(const char* id, SettingPage group, const char* caption, const char* hint,
              const char* key, const char* value, int fallback) {
    return Setting{id,  group, ControlKind::CheckBox, caption,  hint,
                   key, value, E::NumberFlag,         fallback, ""};
}

Setting list(const char* id, SettingPage group, const char* caption, const char* hint,
             const char* key, const char* value, SettingEncoding encoding, int fallback,
             std::vector<const char*> items) {
    Setting s{id, group, ControlKind::List, caption, hint, key, value, encoding, fallback, ""};
    s.items = std::move(items);
    return s;
}

std::vector<Setting> makeTable() {
    return {
        check(
            "LFE", P::DvdAudio, "Enable &LFE",
            "When this is enabled, the DVD player will mix the ultra low frequencies of a Dolby Digital track into the left and right channels \r"
            "that are normally discarded by software players  -- (Good for Subwoofer speaker systems).",
            kDvdAudioKey, "UseLFE", 0),
        check("UseSurround", P::DvdAudio, "&Surround Compatible",
              "If no pro-logic decoder is attached, Surround Compatible should be unchecked.",
              kDvdAudioKey, "SurroundCompatible", 0),
        check(
            "DialogNormalization", P::DvdAudio, "&Dialog Normalization",
            "This option equalizes the lows and highs frequencies so there is not such a drastic\r"
            "change in volume between dialog and soundtrack.",
            kDvdAudioKey, "DialogNormalization", 0),
        list(
            "CompressionModeCB", P::DvdAudio, "&Compression\n\rMode:",
            "Compression should only be used in worst case scenarios, attenuated is the best for sound reproduction.",
            kDvdAudioKey, "CompressionMode", E::ItemIndex, 0,
            {"Off", "Attenuated", "Amplified", "Compressed (Default)"}),
        list(
            "SampleRate", P::DvdAudio, "Sample &Rate:",
            "44100 is the standard rate for most soundcards, and therefore the most compatible setting.\r"
            "48000 is the standard rate for DVD audio, and therefore yields the highest quality with the least CPU utilization\r"
            "(on supported cards like SBLive! and mx300).",
            kDvdAudioKey, "SampleRate", E::ItemNumber, 44100, {"22050", "44100", "48000"}),
        list(
            "AC3SPDIFOut", P::DvdAudio, "&AC3/SPDIF\n\rout mode:",
            "This option should be set to Disabled unless your system is attached to a Dolby Digital or THX amplifier.",
            kDvdAudioKey, "AC3SPDIFAudioOut", E::ItemIndex, 0,
            {"Disabled", "Aureal 8820 (requires Sony license)", "Ensoniq/SBLive(Live!ware 2.0+)",
             "Aureal 8830 (requires Sony license)"}),
        check("HardwareOptimization", P::DvdVideo, "Enable &Hardware Optimization",
              "Should be checked to get the most of your Rage 128.", kDvdVideoKey,
              "HardwareOptimization", 1),
        check(
            "TripleBuffering", P::DvdVideo, "Enable &Triple Buffering",
            "Enabling Triple buffering results in smoother playback,  but requires more video RAM.",
            kDvdVideoKey, "TrippleBuffering", 1),
        list("PerformanceClass", P::DvdVideo, "&Video Decoder:",
             "This one should be set to \"ATI IDCT\" to get the maximum performance.", kDvdVideoKey,
             "PerformanceClass", E::ItemIndex, 4,
             {"Basic quality (CPU)", "PC quality (CPU)", "Full quality (CPU)",
              "ATI Motion compensation (Rage Pro only)", "ATI IDCT (Rage 128 only)",
              "Katmai enhanced", "ST Riva128DV", "Intel Whitney/Portola (WIP)",
              "NeoMagic NMG5 HWMC (WIP)"}),
    };
}

}  // namespace

const std::vector<Setting>& dvdSettings() {
    static const std::vector<Setting> table = makeTable();
    return table;
}

const Setting& dvdSetting(std::string_view id) {
    for (const Setting& s : dvdSettings()) {
        if (id == s.id) return s;
    }
    throw std::out_of_range("no DVD setting " + std::string(id));
}

const std::vector<const char*>& spdifFiveItemForm() {
    static const std::vector<const char*> items = {
        "Disabled", "Aureal 8820 (requires Sony license)", "Ensoniq",
        "Aureal 8830 (requires Sony license)", "SBLive!(Live!ware 2.0+)"};
    return items;
}

bool spdifHasFiveItems(unsigned third, unsigned fourth) {
    return third >= 32 && fourth >= 5653;
}

}  // namespace corvane
