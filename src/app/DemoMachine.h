#pragma once

#include <string_view>
#include <vector>

namespace corvane {

struct DemoFile {
    const char* name;  // the path below the machine folder, with "/" between folders
    std::string_view bytes;
};

// The files of the demo machine (machines/demo in the source tree), built into the program.
const std::vector<DemoFile>& demoMachineFiles();

}  // namespace corvane
