#include "app/ui/WindowMode.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStyle>
#include <cstdio>
#include <vector>

#include "app/ClockModeCommand.h"
#include "app/PkexecClockWrite.h"
#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "app/ui/RegEditFrm.h"
#include "app/ui/TApplication.h"
#include "platform/TickSource.h"
#include "platform/linux/DisplayProbe.h"
#include "platform/qt/DisplayText.h"
#include "platform/qt/LogindRestart.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtShellOpener.h"
#include "presets/PresetFolder.h"
#include "settings/Registry.h"
#include "widgets/ClassicStyle.h"

namespace corvane {

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

// Answers every question No and prints what was asked, for drawing the window into a picture.
class UnattendedDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest& request) override {
        const bool question = request.buttons == DialogButtons::YesNo;
        std::fprintf(stderr, "[%s] %s%s\n", request.caption.c_str(),
                     displayText(QString::fromStdString(request.text)).toLocal8Bit().constData(),
                     question ? " (answered No)" : "");
        return question ? DialogResult::No : DialogResult::Ok;
    }
};

// The splash of a window drawn into a picture is not waited for.
class NoWaitTicks : public SystemTickSource {
public:
    void sleep(std::uint32_t) override {}
};

QWidget* pageNamed(TForm1& form, const QString& name) {
    for (int i = 0; i < form.PageControl->count(); ++i) {
        QWidget* page = form.PageControl->widget(i);
        const QString caption = form.PageControl->tabText(i);
        if (page->objectName().compare(name, Qt::CaseInsensitive) == 0 ||
            caption.compare(name, Qt::CaseInsensitive) == 0) {
            return page;
        }
    }
    return nullptr;
}

}  // namespace

int runWindowMode(char* program, const CommandLine& ours,
                  const std::optional<std::string>& machineDir,
                  const std::optional<std::string>& registryFile) {
    std::string screenshot = ours.screenshot.value_or("");
    const bool display = displayAvailable();
    const bool headlessDemo = ours.demo && screenshot.empty() && !display;
    if (!display && screenshot.empty() && !headlessDemo) return fail(kNoDisplayMessage);
    if (headlessDemo) {
        // Beside the demo's folder, which goes when the program ends.
        screenshot = QDir::tempPath().toStdString() + "/corvane-demo-" +
                     std::to_string(QCoreApplication::applicationPid()) + ".png";
    }
    if (!screenshot.empty() && !display) qputenv("QT_QPA_PLATFORM", "offscreen");

    // Argument 1 is what remains after our options (the toolkit's are not taken: see --help).
    std::vector<char*> args;
    args.push_back(program);
    for (std::size_t i = 1; i < ours.arguments.size(); ++i)
        args.push_back(const_cast<char*>(ours.arguments[i].c_str()));
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    TApplication app(count, args.data());
    // The classic look of the Windows 9x controls the program was made for.
    QApplication::setStyle(new ClassicStyle);
    QApplication::setPalette(QApplication::style()->standardPalette());
    const std::string argument1 = count > 1 ? std::string(args[1]) : std::string();

    Platform platform;
    try {
        platform = makePlatform(machineDir, registryFile);
    } catch (const std::exception& e) {
        if (screenshot.empty())
            QMessageBox::critical(nullptr, "Error", QString::fromStdString(e.what()));
        return fail(e.what());
    }
    if (!platform.restart) platform.restart = std::make_unique<LogindRestart>();
    QtDialogs interactive;
    UnattendedDialogs unattended;
    Dialogs& dialogs = screenshot.empty() ? static_cast<Dialogs&>(interactive) : unattended;
    app.setDialogs(&dialogs);
    QtShellOpener shell;
    SystemTickSource realTicks;
    NoWaitTicks noWait;

    {
        TRegistry registry(*platform.registry);
        RegistryUpdate update(*platform.registry);
        StartupState state;
        if (!runStart(registry, *platform.firmware, *platform.facts, dialogs, state)) {
            if (const std::string hint = atiKeyMissingHint(platform.registryPath); !hint.empty())
                std::fprintf(stderr, "%s\n", hint.c_str());
            return 1;
        }
        try {
            update.commit();
        } catch (const std::exception& e) {
            // A registry that can't be saved (read-only) is still worth showing; the window
            // reports each save that fails, and nothing in the file changes.
            showError(dialogs, e.what());
        }
    }

    FormServices services{*platform.registry,
                          *platform.facts,
                          *platform.port,
                          *platform.display,
                          *platform.restart,
                          shell,
                          dialogs,
                          screenshot.empty() ? static_cast<TickSource&>(realTicks) : noWait,
                          *platform.profile,
                          *platform.versions,
                          platform.programPath,
                          argument1,
                          presetFolderFor(machineDir, platform.programPath)};
    if (!machineDir && screenshot.empty()) {
        // On this computer the window may not write the chip's ports; the helper may.
        if (std::vector<std::string> launcher = installedHelperLauncher(); !launcher.empty())
            services.privilegedWrite = helperClockWrite(std::move(launcher));
    }
    if (!platform.registryPath.empty()) {
        services.registrySaveProblem = [path = platform.registryPath] {
            return registrySaveProblem(path);
        };
    }
    TForm1 form(services);
    if (!form.created()) return 1;
    TFloatMinimizer::setApplicationMainForm(&form);
    interactive.setParent(&form);

    if (ours.page) {
        QWidget* page = pageNamed(form, QString::fromStdString(*ours.page));
        if (page == nullptr) return fail("there is no page " + *ours.page);
        form.PageControl->setCurrentWidget(page);
    }
    if (screenshot.empty()) {
        form.show();
        return QApplication::exec();
    }
    form.prepareFirstShow();
    form.show();
    QApplication::processEvents();
    if (!form.grab().save(QString::fromStdString(screenshot), "PNG"))
        return fail("cannot write " + screenshot);
    if (headlessDemo) {
        std::printf("No display was found, so the demo window was drawn into %s\n",
                    screenshot.c_str());
    } else {
        std::printf("%s\n", screenshot.c_str());
    }
    return 0;
}

}  // namespace corvane
