// Measures the main window over the demo machine: its creation (without the splash wait),
// ReadRegistry, and Apply with the registry file grown to 10 MB. Runs offscreen.

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "BenchTimer.h"
#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "app/ui/RegEditFrm.h"
#include "platform/Dialogs.h"
#include "platform/TickSource.h"
#include "platform/qt/QtShellOpener.h"
#include "widgets/ClassicStyle.h"

using namespace corvane;

namespace {

class SilentDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest& r) override {
        return r.buttons == DialogButtons::Ok ? DialogResult::Ok : DialogResult::No;
    }
};

class NoWait : public SystemTickSource {
public:
    void sleep(std::uint32_t) override {}
};

// Appends keys of the kind a full Windows registry holds until the file is about bytes long.
void grow(const std::string& path, std::size_t bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    std::size_t size = std::filesystem::file_size(path);
    for (int i = 0; size < bytes; ++i) {
        const std::string block =
            "\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{" + std::to_string(100000 + i) +
            "}\\InprocServer32]\r\n@=\"C:\\\\WINDOWS\\\\SYSTEM\\\\server" + std::to_string(i) +
            ".dll\"\r\n\"ThreadingModel\"=\"Apartment\"\r\n\"Flags\"=dword:0000001f\r\n";
        out << block;
        size += block.size();
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(new ClassicStyle);
    QApplication::setApplicationName("Corvane");
    const std::string machine = makeDemoMachine();
    SilentDialogs dialogs;
    NoWait ticks;
    QtShellOpener shell;
    Platform platform = makePlatform(machine);
    {
        TRegistry registry(*platform.registry);
        StartupState state;
        runStart(registry, *platform.firmware, *platform.facts, dialogs, state);
    }
    const FormServices services{*platform.registry,
                                *platform.facts,
                                *platform.port,
                                *platform.display,
                                *platform.restart,
                                shell,
                                dialogs,
                                ticks,
                                "/opt/corvane/corvane",
                                "",
                                machine + "/Presets"};

    std::vector<std::unique_ptr<TForm1>> windows;
    const double creation = bench::medianMs(9, [&] {
        TFloatMinimizer::releaseSlotForTests();
        windows.push_back(std::make_unique<TForm1>(services));
    });
    TForm1& form = *windows.back();
    const double read = bench::medianMs(51, [&] { form.ReadRegistry(); });
    bench::report("window_creation", creation, "ms");
    bench::report("read_registry", read, "ms");

    // Apply on a 10 MB registry file, read afresh as a started program would.
    windows.clear();
    platform = Platform();
    grow(machine + "/registry.reg", 10 * 1024 * 1024);
    platform = makePlatform(machine);
    const FormServices big{*platform.registry,
                           *platform.facts,
                           *platform.port,
                           *platform.display,
                           *platform.restart,
                           shell,
                           dialogs,
                           ticks,
                           "/opt/corvane/corvane",
                           "",
                           machine + "/Presets"};
    TFloatMinimizer::releaseSlotForTests();
    TForm1 bigForm(big);
    bool flip = false;
    const double apply = bench::medianMs(9, [&] {
        bigForm.settingControls().setChecked("AntiAlias", flip = !flip);
        bigForm.ApplyBtnClick();
    });
    bench::report("registry_file_size",
                  static_cast<double>(std::filesystem::file_size(machine + "/registry.reg")) /
                      (1024.0 * 1024.0),
                  "MB");
    bench::report("apply_10mb", apply, "ms");
    std::filesystem::remove_all(machine);
    return 0;
}
