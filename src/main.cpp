#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"

int main(int argc, char** argv) {
    using namespace corvane;
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "corvane: %s\nTry 'corvane --help'.\n", line.error.c_str());
        return 2;
    }
    if (line.version) {
        std::printf("Corvane %s\n", CORVANE_VERSION);
        return 0;
    }
    std::fputs(usageText().c_str(), stdout);
    return 0;
}
