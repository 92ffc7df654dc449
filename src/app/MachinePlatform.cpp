#include "app/MachinePlatform.h"

#include <memory>

#include "app/PlatformFactory.h"
#include "platform/pe/PeVersionResources.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimDisplaySettings.h"
#include "platform/sim/SimFirmware.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimPortDevice.h"
#include "platform/sim/SimRestart.h"
#include "platform/sim/SimSystemFacts.h"

namespace corvane {

void makeMachinePlatform(Platform& p, const std::string& dir) {
    try {
        p.machine = std::make_unique<SimMachine>(dir);
        p.registryPath = p.machine->registryPath();
        p.registry = std::make_unique<RegFileStore>(p.registryPath);
        auto facts = std::make_unique<SimSystemFacts>(*p.machine);
        p.port = std::make_unique<SimPortDevice>(*p.machine, facts->systemDirectory());
        p.facts = std::move(facts);
        p.firmware = std::make_unique<SimFirmware>(*p.machine);
        p.display = std::make_unique<SimDisplaySettings>(*p.machine);
        p.restart = std::make_unique<SimRestart>(*p.machine);
        p.versions = std::make_unique<PeVersionResources>();
    } catch (const std::exception& e) {
        throw PlatformError(e.what());
    }
}

}  // namespace corvane
