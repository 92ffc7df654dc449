#include "app/StderrDialogs.h"

#include <cstdio>

namespace corvane {

DialogResult StderrDialogs::show(const DialogRequest& request) {
    std::fprintf(stderr, "%s\n", request.text.c_str());
    std::fflush(stderr);
    return request.buttons == DialogButtons::Ok ? DialogResult::Ok : DialogResult::No;
}

}  // namespace corvane
