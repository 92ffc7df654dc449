#pragma once

#include <string>

namespace corvane {

enum class DialogIcon { None, Error, Warning, Exclamation, Information };
enum class DialogButtons { Ok, YesNo };
enum class DialogResult { Ok, Yes, No };

struct DialogRequest {
    std::string caption;
    std::string text;  // exactly as the program words it, "\r" and "\n" included
    DialogIcon icon = DialogIcon::None;
    DialogButtons buttons = DialogButtons::Ok;
};

// Every message and question of the program goes through here, so that the window shows them
// as dialogs, the clock mode prints them, and tests script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogResult show(const DialogRequest& request) = 0;
};

// The error dialog: caption "Error", error icon, one OK button.
void showError(Dialogs& dialogs, const std::string& text);
// The main window's question: caption "Corvane", Yes and No, exclamation icon. True on Yes.
bool askQuestion(Dialogs& dialogs, const std::string& text);
// The warning dialog of the clock panel: caption "Warning", Yes and No. True on Yes.
bool askWarning(Dialogs& dialogs, const std::string& text);

// Prints messages to standard error, for the modes that run without a display. Questions are
// answered No.
class StderrDialogs : public Dialogs {
public:
    DialogResult show(const DialogRequest& request) override;
};

}  // namespace corvane
