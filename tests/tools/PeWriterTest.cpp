#include "PeWriter.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace corvane {
namespace {

// The driver files in machines/demo are the writer's output, kept in the tree: this fails when
// they were changed by hand or the writer changed. corvane_make_pe --demo machines/demo writes
// them again.
TEST(PeWriter, ReproducesTheDemoMachinesDriverFiles) {
    ASSERT_FALSE(tools::demoDrivers().empty());
    for (const tools::DemoDriver& driver : tools::demoDrivers()) {
        const std::string committed = test::readFile(std::string(CORVANE_DEMO_MACHINE) +
                                                     "/Windows/System/" + driver.fileName);
        ASSERT_FALSE(committed.empty()) << driver.fileName;
        EXPECT_TRUE(tools::makeVersionedPe(tools::demoDriverDescription(driver)).bytes == committed)
            << driver.fileName << " differs from what the writer makes";
    }
}

TEST(PeWriter, TheSameDescriptionGivesTheSameBytes) {
    tools::PeDescription description;
    description.pe32Plus = true;
    description.productVersion = {1, 2, 3, 4};
    description.codeSize = 3000;
    const std::string once = tools::makeVersionedPe(description).bytes;
    EXPECT_EQ(once, tools::makeVersionedPe(description).bytes);
    EXPECT_EQ(once.size() % 0x200, 0u);
    description.productVersion[3] = 5;
    EXPECT_NE(once, tools::makeVersionedPe(description).bytes);
}

}  // namespace
}  // namespace corvane
