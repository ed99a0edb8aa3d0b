#pragma once

#include <string>

namespace kestrava::platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Modal dialogs owned by the main window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows the box and waits for the user's answer.
    virtual MessageAnswer showMessage(const MessageBoxRequest& request) = 0;

    // Lets the user choose an existing folder, starting at the preselection when it
    // names one. Gives the chosen folder's full path, or "" when the user cancels.
    virtual std::string chooseFolder(const std::string& title, const std::string& preselection) = 0;
};

}  // namespace kestrava::platform
