#include "platform/linux/DisplayProbe.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace corvane {

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool waylandSocketExists() {
    const std::string display = std::getenv("WAYLAND_DISPLAY");
    std::string path = display;
    if (display[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime == nullptr || *runtime == '\0') return false;
        path = std::string(runtime) + "/" + display;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

bool xDisplayOpens() {
    void* xlib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (xlib == nullptr) return true;  // can't ask; the toolkit will say
    using Open = void* (*)(const char*);
    using Close = int (*)(void*);
    const auto open = reinterpret_cast<Open>(::dlsym(xlib, "XOpenDisplay"));
    const auto close = reinterpret_cast<Close>(::dlsym(xlib, "XCloseDisplay"));
    bool opens = true;
    if (open != nullptr && close != nullptr) {
        void* display = open(nullptr);
        opens = display != nullptr;
        if (display != nullptr) close(display);
    }
    ::dlclose(xlib);
    return opens;
}

}  // namespace

bool displayAvailable() {
    // A platform named by the user is taken at its word, except the two that need a display.
    if (set("QT_QPA_PLATFORM")) {
        const std::string platform = std::getenv("QT_QPA_PLATFORM");
        if (platform.rfind("xcb", 0) == 0) return set("DISPLAY") && xDisplayOpens();
        if (platform.rfind("wayland", 0) == 0)
            return set("WAYLAND_DISPLAY") && waylandSocketExists();
        return true;
    }
    if (set("WAYLAND_DISPLAY") && waylandSocketExists()) return true;
    return set("DISPLAY") && xDisplayOpens();
}

}  // namespace corvane
