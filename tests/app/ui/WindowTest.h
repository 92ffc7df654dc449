#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/DemoMachine.h"
#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "app/ui/RegEditFrm.h"
#include "fakes/FakePlatform.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimMachine.h"
#include "settings/DriverSettingsTable.h"
#include "settings/DvdSettingsTable.h"
#include "settings/RegistryKeys.h"

namespace corvane::test {

class FakeTicks : public TickSource {
public:
    std::uint32_t tickCount() override { return now; }
    void sleep(std::uint32_t ms) override { slept.push_back(ms); }
    std::uint32_t now = 5999;
    std::vector<std::uint32_t> slept;
};

// The program's window mode over a copy of the demo machine, driven as a user drives it.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        TFloatMinimizer::releaseSlotForTests();
        TFloatMinimizer::setApplicationMainForm(nullptr);
        for (const DemoFile& file : demoMachineFiles()) {
            std::filesystem::create_directories(
                std::filesystem::path(dir.file(file.name)).parent_path());
            std::ofstream(dir.file(file.name), std::ios::binary)
                .write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        }
    }
    void TearDown() override {
        form.reset();
        platform = Platform();
    }

    // Starts the program's window mode as the program does: the start, then the window.
    TForm1& open(const std::string& argument1 = "") {
        form.reset();
        TFloatMinimizer::releaseSlotForTests();
        platform = makePlatform(dir.path().string());
        {
            TRegistry registry(*platform.registry);
            StartupState state;
            EXPECT_TRUE(runStart(registry, *platform.firmware, *platform.facts, dialogs, state));
        }
        FormServices services{*platform.registry,
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
                              argument1,
                              dir.file("Presets")};
        // As the window mode sets it up.
        services.registrySaveProblem = [path = dir.file("registry.reg")] {
            return registrySaveProblem(path);
        };
        form = std::make_unique<TForm1>(services);
        return *form;
    }
    TForm1& openShown(const std::string& argument1 = "") {
        open(argument1);
        form->show();
        return *form;
    }
    std::string stored(const std::string& key, const std::string& name) {
        RegFileStore store(dir.file("registry.reg"));
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        if (!reg.OpenKey(key, false) || !reg.ValueExists(name)) return "<missing>";
        try {
            return std::to_string(reg.ReadInteger(name));
        } catch (const ERegistryException&) {
            return reg.ReadString(name);
        }
    }
    void store(const std::string& key, const std::string& name, std::int32_t value) {
        RegFileStore store(dir.file("registry.reg"));
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteInteger(name, value);
    }
    std::string hardware(const std::string& section, const std::string& key) {
        return SimMachine(dir.path().string()).text(section, key, "<missing>");
    }
    void setHardware(const std::string& section, const std::string& key, const std::string& value) {
        SimMachine(dir.path().string()).set(section, key, value);
    }
    // Shows the page that holds the control, as a user does before using it.
    void showPageOf(QWidget* control) {
        for (QWidget* w = control; w != nullptr; w = w->parentWidget()) {
            if (form->PageControl->indexOf(w) >= 0) {
                form->PageControl->setCurrentWidget(w);
                return;
            }
        }
        FAIL() << "no page holds " << control->objectName().toStdString();
    }
    // Changes a setting control as a user does: a click on a box, another entry of a list or
    // another slider position by keyboard.
    void changeAsUser(const std::string& id, ControlKind kind) {
        SettingWidgets& c = form->settingControls();
        switch (kind) {
            case ControlKind::CheckBox:
                showPageOf(c.box(id));
                QTest::mouseClick(c.box(id), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
                break;
            case ControlKind::List: {
                QComboBox* list = c.list(id);
                showPageOf(list);
                list->setFocus();
                const bool last = list->currentIndex() + 1 >= list->count();
                QTest::keyClick(list, last ? Qt::Key_Up : Qt::Key_Down);
                break;
            }
            case ControlKind::Slider: {
                TTrackBar* bar = c.slider(id);
                showPageOf(bar);
                bar->setFocus();
                QTest::keyClick(bar,
                                bar->Position() < bar->maximum() ? Qt::Key_Right : Qt::Key_Left);
                break;
            }
        }
    }
    void clickBox(const char* name) {
        QTest::mouseClick(form->control<TOverCheckBox>(name), Qt::LeftButton);
    }
    bool applyEnabled() const { return form->ApplyBtn->isEnabled(); }
    std::vector<std::string> questionsAsked() const {
        std::vector<std::string> out;
        for (const auto& r : dialogs.shown) {
            if (r.buttons == DialogButtons::YesNo) out.push_back(r.text);
        }
        return out;
    }

    TempDir dir;
    Platform platform;
    ScriptedDialogs dialogs;
    FakeTicks ticks;
    RecordingShell shell;
    std::unique_ptr<TForm1> form;
};

}  // namespace corvane::test
