// Measures the main window over the demo machine: its creation (without the splash wait),
// ReadRegistry, and, with the registry grown to a 10 MB export of a whole Windows 98 machine,
// creation, Apply and Reload. Runs offscreen.

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "BenchTimer.h"
#include "RegistryExport.h"
#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "app/ui/RegEditFrm.h"
#include "platform/Dialogs.h"
#include "platform/TickSource.h"
#include "platform/qt/QtShellOpener.h"
#include "platform/regfile/RegFileStore.h"
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
                                *platform.profile,
                                *platform.versions,
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
    bench::RegistryExport().grow(machine + "/registry.reg", 10 * 1024 * 1024);
    platform = makePlatform(machine);
    const FormServices big{*platform.registry,
                           *platform.facts,
                           *platform.port,
                           *platform.display,
                           *platform.restart,
                           shell,
                           dialogs,
                           ticks,
                           *platform.profile,
                           *platform.versions,
                           "/opt/corvane/corvane",
                           "",
                           machine + "/Presets"};
    // Each window reads the file afresh, as a started program does.
    std::vector<std::unique_ptr<Platform>> platforms;
    const double bigCreation = bench::medianMs(5, [&] {
        platforms.push_back(std::make_unique<Platform>(makePlatform(machine)));
        Platform& p = *platforms.back();
        const FormServices s{*p.registry,
                             *p.facts,
                             *p.port,
                             *p.display,
                             *p.restart,
                             shell,
                             dialogs,
                             ticks,
                             *p.profile,
                             *p.versions,
                             "/opt/corvane/corvane",
                             "",
                             machine + "/Presets"};
        TFloatMinimizer::releaseSlotForTests();
        windows.push_back(std::make_unique<TForm1>(s));
    });
    windows.clear();
    platforms.clear();
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
    bench::report("window_creation_10mb", bigCreation, "ms");
    bench::report("apply_10mb", apply, "ms");
    // Reload after another program changed the file, so that it is read again.
    RegFileStore other(machine + "/registry.reg");
    int clock = 100;
    std::vector<double> reloads;
    for (int i = 0; i < 9; ++i) {
        TRegistry reg(other);
        reg.SetRootKey(win::kHKeyLocalMachine);
        reg.OpenKey("\\Software\\Bench", true);
        reg.WriteInteger("Other", ++clock);
        reloads.push_back(bench::medianMs(1, [&] { bigForm.ReloadBtnClick(); }));
    }
    std::sort(reloads.begin(), reloads.end());
    const double reload = reloads[reloads.size() / 2];
    bench::report("reload_10mb", reload, "ms");
    std::filesystem::remove_all(machine);
    return 0;
}
