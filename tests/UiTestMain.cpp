// Runs the window tests inside a QApplication; without a display they draw offscreen.

#include <gtest/gtest.h>

#include "app/ui/TApplication.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    corvane::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
