#include "platform/linux/HostDisplaySettings.h"

#include <dlfcn.h>

#include <cstdlib>
#include <vector>

namespace corvane {

namespace {

// The few Xlib and XRandR entry points used, declared by hand so that no X headers or libraries
// are needed to build.
struct XDisplay;
struct XRRScreenConfiguration;
struct XRRScreenSize {
    int width;
    int height;
    int mwidth;
    int mheight;
};
using XWindow = unsigned long;

constexpr DevMode kHeadlessMode = [] {
    DevMode mode;
    mode.pelsWidth = 640;
    mode.pelsHeight = 480;
    mode.bitsPerPel = 32;
    return mode;
}();

}  // namespace

class HostDisplaySettings::X11 {
public:
    ~X11() {
        if (display != nullptr) closeDisplay(display);
        if (xrandr != nullptr) ::dlclose(xrandr);
        if (xlib != nullptr) ::dlclose(xlib);
    }

    bool load() {
        xlib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        xrandr = ::dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
        if (xlib == nullptr || xrandr == nullptr) return false;
        return bind(xlib, "XOpenDisplay", openDisplay) &&
               bind(xlib, "XCloseDisplay", closeDisplay) &&
               bind(xlib, "XDefaultScreen", defaultScreen) &&
               bind(xlib, "XDisplayWidth", displayWidth) &&
               bind(xlib, "XDisplayHeight", displayHeight) &&
               bind(xlib, "XDefaultDepth", defaultDepth) && bind(xlib, "XRootWindow", rootWindow) &&
               bind(xrandr, "XRRGetScreenInfo", getScreenInfo) &&
               bind(xrandr, "XRRConfigSizes", configSizes) &&
               bind(xrandr, "XRRConfigCurrentConfiguration", currentConfiguration) &&
               bind(xrandr, "XRRSetScreenConfig", setScreenConfig) &&
               bind(xrandr, "XRRFreeScreenConfigInfo", freeScreenConfigInfo);
    }

    // The current mode first, then the other sizes at the same depth.
    std::vector<DevMode> modes() {
        std::vector<DevMode> list;
        const int screen = defaultScreen(display);
        DevMode current;
        current.pelsWidth = static_cast<std::uint32_t>(displayWidth(display, screen));
        current.pelsHeight = static_cast<std::uint32_t>(displayHeight(display, screen));
        current.bitsPerPel = static_cast<std::uint32_t>(defaultDepth(display, screen));
        list.push_back(current);
        if (XRRScreenConfiguration* config = getScreenInfo(display, rootWindow(display, screen))) {
            int count = 0;
            const XRRScreenSize* sizes = configSizes(config, &count);
            for (int i = 0; i < count; ++i) {
                DevMode mode = current;
                mode.pelsWidth = static_cast<std::uint32_t>(sizes[i].width);
                mode.pelsHeight = static_cast<std::uint32_t>(sizes[i].height);
                if (!(mode == current)) list.push_back(mode);
            }
            freeScreenConfigInfo(config);
        }
        return list;
    }

    bool setSize(const DevMode& mode) {
        const int screen = defaultScreen(display);
        XRRScreenConfiguration* config = getScreenInfo(display, rootWindow(display, screen));
        if (config == nullptr) return false;
        int count = 0;
        const XRRScreenSize* sizes = configSizes(config, &count);
        unsigned short rotation = 0;
        const unsigned short current = currentConfiguration(config, &rotation);
        bool ok = false;
        for (int i = 0; i < count; ++i) {
            if (static_cast<std::uint32_t>(sizes[i].width) == mode.pelsWidth &&
                static_cast<std::uint32_t>(sizes[i].height) == mode.pelsHeight) {
                ok = i == current || setScreenConfig(display, config, rootWindow(display, screen),
                                                     i, rotation, 0) == 0;
                break;
            }
        }
        freeScreenConfigInfo(config);
        return ok;
    }

    void* xlib = nullptr;
    void* xrandr = nullptr;
    XDisplay* display = nullptr;
    XDisplay* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(XDisplay*) = nullptr;
    int (*defaultScreen)(XDisplay*) = nullptr;
    int (*displayWidth)(XDisplay*, int) = nullptr;
    int (*displayHeight)(XDisplay*, int) = nullptr;
    int (*defaultDepth)(XDisplay*, int) = nullptr;
    XWindow (*rootWindow)(XDisplay*, int) = nullptr;
    XRRScreenConfiguration* (*getScreenInfo)(XDisplay*, XWindow) = nullptr;
    XRRScreenSize* (*configSizes)(XRRScreenConfiguration*, int*) = nullptr;
    unsigned short (*currentConfiguration)(XRRScreenConfiguration*, unsigned short*) = nullptr;
    int (*setScreenConfig)(XDisplay*, XRRScreenConfiguration*, XWindow, int, unsigned short,
                           unsigned long) = nullptr;
    void (*freeScreenConfigInfo)(XRRScreenConfiguration*) = nullptr;

private:
    template <typename F>
    static bool bind(void* library, const char* name, F& function) {
        function = reinterpret_cast<F>(::dlsym(library, name));
        return function != nullptr;
    }
};

HostDisplaySettings::HostDisplaySettings() = default;
HostDisplaySettings::~HostDisplaySettings() = default;

bool HostDisplaySettings::connect() {
    if (!m_tried) {
        m_tried = true;
        const char* name = std::getenv("DISPLAY");
        if (name != nullptr && *name != '\0') {
            auto x11 = std::make_unique<X11>();
            if (x11->load() && (x11->display = x11->openDisplay(name)) != nullptr)
                m_x11 = std::move(x11);
        }
    }
    return m_x11 != nullptr;
}

int HostDisplaySettings::getDeviceCaps(int index) {
    DevMode current = kHeadlessMode;
    if (connect()) current = m_x11->modes().front();
    if (index == kHorzRes) return static_cast<int>(current.pelsWidth);
    if (index == kVertRes) return static_cast<int>(current.pelsHeight);
    if (index == kBitsPixel) return static_cast<int>(current.bitsPerPel);
    return 0;
}

bool HostDisplaySettings::enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) {
    const std::vector<DevMode> modes =
        connect() ? m_x11->modes() : std::vector<DevMode>{kHeadlessMode};
    if (modeNumber >= modes.size()) return false;
    mode = modes[modeNumber];
    return true;
}

long HostDisplaySettings::changeDisplaySettings(const DevMode& mode, std::uint32_t flags) {
    if (!connect()) return kSuccessful;
    for (const DevMode& known : m_x11->modes()) {
        if (known.pelsWidth == mode.pelsWidth && known.pelsHeight == mode.pelsHeight &&
            known.bitsPerPel == mode.bitsPerPel) {
            if (flags == kTest) return kSuccessful;
            return m_x11->setSize(mode) ? kSuccessful : kFailed;
        }
    }
    return kFailed;
}

}  // namespace corvane
