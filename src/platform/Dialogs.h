#pragma once

#include <optional>
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

// A file dialog: where to open or save a file.
struct FileDialogRequest {
    bool save = false;
    std::string title;          // empty: the system's own
    std::string folder;         // where it starts
    std::string fileName;       // the name it offers
    std::string filter;         // "Corvane Files (*.cvt)"
    std::string defaultSuffix;  // put after a name typed without an extension
};

// Every message, question and file dialog of the program goes through here, so that the window
// shows them as dialogs, the clock mode prints them, and tests script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogResult show(const DialogRequest& request) = 0;
    // The path the user chose, or nothing when the dialog was cancelled. Where no one can choose,
    // every file dialog is cancelled.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest&) { return std::nullopt; }
};

// The three kinds of dialog the program shows. They stay with the interface, since every
// subsystem reports through them.

// The error dialog: caption "Error", error icon, one OK button.
inline void showError(Dialogs& dialogs, const std::string& text) {
    dialogs.show({"Error", text, DialogIcon::Error, DialogButtons::Ok});
}

// The main window's question: caption "Corvane", Yes and No, exclamation icon. True on Yes.
inline bool askQuestion(Dialogs& dialogs, const std::string& text) {
    return dialogs.show({"Corvane", text, DialogIcon::Exclamation, DialogButtons::YesNo}) ==
           DialogResult::Yes;
}

// The warning dialog of the clock panel: caption "Warning", Yes and No. True on Yes.
inline bool askWarning(Dialogs& dialogs, const std::string& text) {
    return dialogs.show({"Warning", text, DialogIcon::Warning, DialogButtons::YesNo}) ==
           DialogResult::Yes;
}

}  // namespace corvane
