#include "settings/DriverSettingsTable.h"

#include <stdexcept>

namespace corvane {

namespace {

using P = SettingPage;
using E = SettingEncoding;

constexpr const char* kWaitSyncHint =
    "Placing a check here will lower the frames per second rate in full screen\r"
    "games but reduce the image tearing and control lag that can occur.";

Setting check(const char* id, SettingPage page, const char* caption, const char* hint,
              const char* key, const char* value, SettingEncoding encoding, int fallback,
              const char* fallbackText = "") {
    return Setting{id,       page,     ControlKind::CheckBox, caption, hint, key, value,
                   encoding, fallback, fallbackText};
}

Setting list(const char* id, SettingPage page, const char* caption, const char* hint,
             const char* key, const char* value, int fallback, const char* fallbackText,
             std::vector<const char*> items) {
    Setting s{id,  page,  ControlKind::List, caption,  hint,
              key, value, E::Mapped,         fallback, fallbackText};
    s.items = std::move(items);
    return s;
}

Setting slider(const char* id, SettingPage page, const char* caption, const char* hint,
               const char* key, const char* value, SettingEncoding encoding, int fallback,
               int minimum, int maximum, int initial) {
    Setting s{id, page, ControlKind::Slider, caption, hint, key, value, encoding, fallback, ""};
    s.minimum = minimum;
    s.maximum = maximum;
    s.initial = initial;
    return s;
}

std::vector<Setting> makeTable() {
    std::vector<Setting> t = {
        check("D3DTab", P::Desktop, "Show &Direct3D tab in display properties",
              "This will enable D3D tab in Advanced Display Settings.\r"
              "This should be enabled at all times.",
              kDesktopKey, "D3D", E::NumberFlag, 1),
        check("OpenGLTab", P::Desktop, "Show &OpenGL tab in display properties",
              "This will enable OpenGL tab in Advanced Display Settings.\r"
              "This should be enabled at all times.",
              kDesktopKey, "OpenGL", E::NumberFlag, 1),
        check("EnableIcon", P::Desktop, "Enable ATI &Icon in the system tray",
              "If enabled, ATi icon will reside in your system tray.", kDesktopKey, "EnableIcon",
              E::StringFlag, 0, "1"),
        check("D3DWaitSync", P::Direct3D, "&Wait for vertical sync", kWaitSyncHint, kDdhalKey,
              "Break", E::InvertedStringFlag, 0, "0"),
        check("AntiAlias", P::Direct3D, "Enable &anti-aliasing",
              "This will enable anti-aliasing. Anti Aliasing smoothes out\n\r"
              "the edge of polygons. Therefore removing the \"stair-stepping\"\n\r"
              " effect on the edges of polygons. (performance hit)",
              kDdhalKey, "AntiAlias", E::StringFlag, 0, "1"),
        check(
            "PaletteBased", P::Direct3D, "Use palette based &textures",
            "This will enable paletted texures and will cause a drop in performance. You should activate \r"
            "this feature only if the game you are running cannot use other texture formats( like Final Fantasy 7).",
            kDdhalKey, "Palette", E::StringFlag, 0, "0"),
        check("Dithering", P::Direct3D, "Toggle &dithering",
              "This will enable/disable 16bit dithering. When enabled this will get rid\n\r"
              " of \"fishnet\" effect in 16bit graphics. (performance hit)",
              kDdhalKey, "DitherInit", E::StringFlag, 0, "0"),
        check("EnableKatmai", P::Direct3D, "Enable &Katmai",
              "This will enable Katmai support. If you have Pentium III, enable it.", kDdhalKey,
              "EnableKatmai", E::StringFlag, 0, "0"),
        check(
            "EnablePrimary", P::Direct3D, "&Primary",
            "Removing this checkmark fixes mouse corruption and graphics corruption in certain games.\r"
            "The default setting is on or checked.",
            kDdhalKey, "Primary", E::StringFlag, 0, "0"),
        check(
            "EnableSysMemBlts", P::Direct3D, "&SysMemBlts",
            "Unchecking this box will fix mouse corruption in games like Falcon 4, Rainbow 6, etc...\r"
            "The default setting is off or unchecked.",
            kDdhalKey, "SysMemBlts", E::StringFlag, 0, "0"),
        list("ZBufferCB", P::Direct3D, "Supported Z-buffer bit depths",
             "16bit requires less memory, but may cause glitches in graphics.\n\r"
             "24bit needed for some games like Grim Fandango.",
             kDdhalKey, "ZBufferBitDepth", 0, "0", {"16", "16, 24", "16, 24, 32"}),
        // The three gamma percentages share one stored word, red in its upper bits.
        slider("RedGamma", P::Direct3D, "&R=", nullptr, kAtiDalKey, kGammaValue, E::GammaChannel,
               kGammaFallback, 50, 150, 100),
        slider("GreenGamma", P::Direct3D, "&G=", nullptr, kAtiDalKey, kGammaValue, E::GammaChannel,
               kGammaFallback, 50, 150, 100),
        slider("BlueGamma", P::Direct3D, "&B=", nullptr, kAtiDalKey, kGammaValue, E::GammaChannel,
               kGammaFallback, 50, 150, 100),
        check("OpenWaitVertSync", P::OpenGL, "&Wait for vertical sync", kWaitSyncHint, kOpenGLKey,
              "OGLWaitVerticalSync", E::NumberFlag, 0),
        check(
            "Convert32To16", P::OpenGL, "&Convert 32 bit textures to 16 bit",
            "Placing a check here may increase performance for games that make heavy use of textures,\r"
            "but could also reduce image quality.",
            kOpenGLKey, "OGLConvertTextures32To16", E::NumberFlag, 1),
        check(
            "PageFlipping", P::OpenGL, "Enable &page flipping",
            "Placing a check here will enable hardware acceleration of page flipping to swap full screen buffers.",
            kOpenGLKey, "OGLEnableHWPageFlip", E::NumberFlag, 1),
        check("DisDitherAlpha", P::OpenGL, "Disable &dithering when alpha blending",
              "Placing a check here may remove certain onscreen artifacts that are sometimes\r"
              "produced when both dithering and alpha blending are enabled.",
              kOpenGLKey, "OGLDisableDitherWhenAlphaBlending", E::NumberFlag, 0),
        check("KTXBufferRegion", P::OpenGL, "Enable &KTX buffer region extension",
              "Turn on or off the KTX extension.  It is used only by 3DStudioMax (KTX = Kinetix)",
              kOpenGLKey, "OGLEnableKTXBufferRegion", E::NumberFlag, 1),
        check(
            "MultiTexture", P::OpenGL, "Enable &MultiTexture",
            "It is only useful toturn multitexture off for glQuake 1.  This will get rid of the strange\r"
            "lighting problem.  Please don't turn this off for any other game or forget to turn it back\r"
            "on after playing Q1 or your performance will suffer greatly.",
            kOpenGLPrivateKey, "enableMultiTexture", E::NumberFlag, 1),
        list(
            "SubpixelCB", P::OpenGL, "&Subpixel precision:",
            "Selecting higher values for subpixel precision will result in greater image accuracy\r"
            "but may cause a slight drop in performance.",
            kOpenGLKey, "OGLSubPixelPrecision", 2, "", {"2", "4"}),
        list(
            "ForceDepthBuffer", P::OpenGL, "Force depth &buffer:",
            "This will force the depth (Z) buffer to a certain bit depth despite what value the app asks for.",
            kOpenGLPrivateKey, "forceDepthBuffer", 0, "",
            {"No force (Default)", "16 bits", "24 bits", "32 bits"}),
        list("ModulateFactor", P::OpenGL, "Modulate &factor:",
             "Can help brighten up games like Q2 that use lightmaps.", kOpenGLPrivateKey,
             "modulateFactor", 1, "", {"Standard (Default)", "Double", "Quadruple"}),
        slider("DetailLevel", P::OpenGL, "&Level of detail:",
               "The Sharp setting is recommended for larger, more detailed, mipmapped scenes.\r"
               "The Fuzzy setting is recommended for smaller, less detailed, mipmapped scenes.",
               kOpenGLKey, "OGLLODBias", E::Mapped, 2, 0, 6, 0),
        check(
            "HMDLUseAGP", P::Advanced, "HMDL Use &AGP",
            "When enabled, this will place the command stream into AGP memory. This should give you\r"
            "a performance boost with apps/games that have lots of vertices (like Q3). \r"
            "If you have any problems when this is enabled, disable it (You'll need to reboot)",
            kVxdKey, "HMDL_UseAGP", E::NumberFlag, 0),
    };
    for (Setting& s : t) {
        // The caption label's text has no blank before "effect".
        if (std::string_view(s.id) == "AntiAlias") {
            s.labelHint =
                "This will enable anti-aliasing. Anti Aliasing smoothes out\n\r"
                "the edge of polygons. Therefore removing the \"stair-stepping\"\n\r"
                "effect on the edges of polygons. (performance hit)";
        }
    }
    return t;
}

}  // namespace

const std::vector<Setting>& driverSettings() {
    static const std::vector<Setting> table = makeTable();
    return table;
}

const Setting& driverSetting(std::string_view id) {
    for (const Setting& s : driverSettings()) {
        if (id == s.id) return s;
    }
    throw std::out_of_range("no driver setting " + std::string(id));
}

}  // namespace corvane
