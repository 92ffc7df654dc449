#pragma once

#include "platform/Dialogs.h"

namespace corvane {

// Prints messages to standard error, for the modes that run without a display. Questions are
// answered No.
class StderrDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest& request) override;
};

}  // namespace corvane
