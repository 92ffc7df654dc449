#include "app/PkexecClockWrite.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(PkexecClockWrite, ExitStatusesBecomeMessages) {
    struct Case {
        int status;
        std::string errorOutput;
        std::string message;
    };
    const Case cases[] = {
        {0, "", ""},
        {126, "", kPermissionRefused},  // the permission dialog was dismissed
        {127, "Not authorized", kPermissionRefused},
        {1, "corvane-clock-helper: no Rage 128 with an I/O BAR was found\n",
         "The clocks could not be set: corvane-clock-helper: no Rage 128 with an I/O BAR was "
         "found"},
        {2, "", "The clocks could not be set."},
        {-1, "", "The clocks could not be set."},  // killed
    };
    for (const Case& c : cases)
        EXPECT_EQ(helperFailureMessage(c.status, c.errorOutput), c.message) << c.status;
}

// The launcher is run with the two clocks as its last arguments; here a shell stands in for
// pkexec and the helper.
TEST(PkexecClockWrite, TheLauncherGetsTheTwoClocks) {
    const PrivilegedClockWrite ok =
        helperClockWrite({"sh", "-c", "[ \"$1 $2\" = \"120 130\" ] || exit 2", "helper"});
    EXPECT_EQ(ok(120, 130), "");
    EXPECT_EQ(ok(121, 130), "The clocks could not be set.");
    const PrivilegedClockWrite cancelled = helperClockWrite({"sh", "-c", "exit 126", "pkexec"});
    EXPECT_EQ(cancelled(120, 130), kPermissionRefused);
    const PrivilegedClockWrite missing = helperClockWrite({"/nonexistent/pkexec"});
    EXPECT_EQ(missing(120, 130).rfind("The clocks could not be set: /nonexistent/pkexec", 0), 0u);
}

}  // namespace
}  // namespace corvane
