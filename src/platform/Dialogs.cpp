#include "platform/Dialogs.h"

#include <cstdio>

namespace corvane {

void showError(Dialogs& dialogs, const std::string& text) {
    dialogs.show({"Error", text, DialogIcon::Error, DialogButtons::Ok});
}

bool askQuestion(Dialogs& dialogs, const std::string& text) {
    return dialogs.show({"Corvane", text, DialogIcon::Exclamation, DialogButtons::YesNo}) ==
           DialogResult::Yes;
}

bool askWarning(Dialogs& dialogs, const std::string& text) {
    return dialogs.show({"Warning", text, DialogIcon::Warning, DialogButtons::YesNo}) ==
           DialogResult::Yes;
}

DialogResult StderrDialogs::show(const DialogRequest& request) {
    std::fprintf(stderr, "%s\n", request.text.c_str());
    std::fflush(stderr);
    return request.buttons == DialogButtons::Ok ? DialogResult::Ok : DialogResult::No;
}

}  // namespace corvane
