#pragma once

#include "settings/SettingModel.h"

namespace corvane::test {

// The settings logic's tests drive it over the model of the window's controls.
using FakeControls = SettingModel;

}  // namespace corvane::test
