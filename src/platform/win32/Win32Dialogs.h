#pragma once

#include "platform/Dialogs.h"
#include "platform/NotifyArea.h"
#include "platform/win32/Win32EventPump.h"

namespace kestrava::platform {

// Message boxes (MessageBoxW) and the shell's folder chooser (SHBrowseForFolderW),
// modal to the owner window once it is known. Once the program has been asked to end,
// no box comes up: the program ends where it would have shown one.
class Win32Dialogs : public Dialogs {
public:
    explicit Win32Dialogs(const Win32EventPump& events) : events_(events) {}

    void setOwner(WindowHandle owner) { owner_ = owner; }

    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    // The classic chooser: only file-system folders can be confirmed, the title is its
    // instruction line, and the preselection is selected as it opens.
    std::string chooseFolder(const std::string& title, const std::string& preselection) override;

private:
    const Win32EventPump& events_;
    WindowHandle owner_ = 0;
};

}  // namespace kestrava::platform
