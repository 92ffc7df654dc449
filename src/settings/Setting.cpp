#include "settings/Setting.h"

#include <stdexcept>
#include <string>

#include "settings/DriverSettingsTable.h"
#include "settings/DvdSettingsTable.h"

namespace corvane {

const std::vector<const Setting*>& windowSettings() {
    static const std::vector<const Setting*> all = [] {
        std::vector<const Setting*> settings;
        for (const Setting& s : driverSettings())
            settings.push_back(&s);
        for (const Setting& s : dvdSettings())
            settings.push_back(&s);
        return settings;
    }();
    return all;
}

const Setting& windowSetting(std::string_view id) {
    for (const Setting* s : windowSettings()) {
        if (id == s->id) return *s;
    }
    throw std::out_of_range("no setting " + std::string(id));
}

}  // namespace corvane
