#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "platform/Dialogs.h"
#include "platform/TickSource.h"
#include "settings/Registry.h"

#ifdef CORVANE_WITH_QT
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStyle>

#include "app/RegEditFrm.h"
#include "app/TApplication.h"
#include "platform/qt/LogindRestart.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtShellOpener.h"
#include "widgets/ClassicStyle.h"
#include "widgets/DialogChar.h"
#endif

namespace {

using namespace corvane;

int fail(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

#ifdef CORVANE_WITH_QT

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
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

#endif

int runClockMode(const std::optional<std::string>& machineDir) {
    Platform platform = makePlatform(machineDir);
    StderrDialogs dialogs;
    TRegistry registry(*platform.registry);
    RegistryUpdate update(*platform.registry);
    StartupState state;
    if (RunStart(registry, *platform.firmware, *platform.facts, dialogs, state)) {
        ClockHardware hardware{*platform.port, *platform.display, dialogs,
                               [&platform] { return platform.facts->systemDirectory(); }};
        RunClockMode(registry, hardware, state);
    }
    update.commit();
    return 0;
}

#ifdef CORVANE_WITH_QT

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

int runWindowMode(char* program, const CommandLine& ours,
                  const std::optional<std::string>& machineDir) {
    std::string screenshot = ours.screenshot.value_or("");
    const bool headlessDemo = ours.demo && screenshot.empty() && !hasDisplay();
    if (headlessDemo)
        screenshot = machineDir.value_or(QDir::tempPath().toStdString()) + "/corvane-window.png";
    if (!screenshot.empty() && !hasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");

    // The toolkit takes out its own options; argument 1 is what remains after ours and its.
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
    QApplication::setApplicationName("Corvane");
    QApplication::setApplicationDisplayName("Corvane");
    const std::string argument1 = count > 1 ? std::string(args[1]) : std::string();

    Platform platform;
    try {
        platform = makePlatform(machineDir);
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
        const bool atiKeyFound =
            RunStart(registry, *platform.firmware, *platform.facts, dialogs, state);
        update.commit();
        if (!atiKeyFound) return 0;
    }

    TForm1 form(FormServices{*platform.registry, *platform.facts, *platform.port, *platform.display,
                             *platform.restart, shell, dialogs,
                             screenshot.empty() ? static_cast<TickSource&>(realTicks) : noWait,
                             platform.programPath, argument1});
    if (!form.created()) return 0;
    TFloatMinimizer::setApplicationMainForm(&form);
    interactive.setParent(&form);

    if (screenshot.empty()) {
        form.show();
        return QApplication::exec();
    }
    if (ours.page) {
        QWidget* page = pageNamed(form, QString::fromStdString(*ours.page));
        if (page == nullptr) return fail("there is no page " + *ours.page);
        form.PageControl->setCurrentWidget(page);
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

#else

int runWindowMode(char*, const CommandLine&, const std::optional<std::string>&) {
    return fail("this build has no window; it runs the clock mode only (corvane /setclock)");
}

#endif

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "corvane: %s\nTry 'corvane --help'.\n", line.error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("Corvane %s\n", CORVANE_VERSION);
        return 0;
    }
    std::optional<std::string> machineDir = line.machineDir;
    if (!machineDir) {
        if (const char* env = std::getenv("CORVANE_MACHINE"); env != nullptr && *env != '\0')
            machineDir = env;
    }
    try {
        if (line.demo) machineDir = makeDemoMachine();
        if (isClockModeArgument(line.argument1())) return runClockMode(machineDir);
        return runWindowMode(argv[0], line, machineDir);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
