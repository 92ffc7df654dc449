// The dialogs as a real X server shows them: their captions must be exactly the program's, with
// nothing appended by the window system. Run under xvfb-run; needs xdotool.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include "app/ui/TApplication.h"
#include "platform/qt/QtDialogs.h"

namespace corvane {
namespace {

// The name the X server holds for the window, as a window manager or a taskbar reads it.
std::string x11WindowName(const QWidget* window) {
    QProcess xdotool;
    xdotool.start("xdotool", {"getwindowname", QString::number(window->winId())});
    if (!xdotool.waitForFinished(5000)) return "<xdotool did not answer>";
    return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed().toStdString();
}

TEST(QtDialogsOnX11, CaptionsAreExactlyTheProgramsOwn) {
    QtDialogs dialogs;
    struct Case {
        std::function<void()> show;
        std::string caption;
    };
    const Case cases[] = {
        {[&] { showError(dialogs, "Cannot find RunServices registry"); }, "Error"},
        {[&] { askQuestion(dialogs, "Do you want to save them?"); }, "Corvane"},
        {[&] { askWarning(dialogs, "Are you sure you want to overclock?"); }, "Warning"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        std::string seen;
        QTimer::singleShot(300, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            seen = x11WindowName(box);
            box->close();
        });
        c.show();
        EXPECT_EQ(seen, c.caption);
    }
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    ::testing::InitGoogleTest(&argc, argv);
    corvane::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
