#pragma once

#include <string>

#include "platform/Shell.h"

namespace kestrava::platform {

// Programs started with CreateProcessW, in a normal window with the focus, and not
// waited for. A text file is viewed with "notepad", an address opened with "explorer";
// tests name programs of their own instead.
class Win32Shell : public Shell {
public:
    explicit Win32Shell(std::string viewer = "notepad", std::string browser = "explorer")
        : viewer_(std::move(viewer)), browser_(std::move(browser)) {}

    void startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    // The viewer reports nothing once it runs, so whenItFails is never called.
    void viewTextFile(const std::string& path, LateFailure whenItFails) override;
    void openAddress(const std::string& address) override;

private:
    std::string viewer_;
    std::string browser_;
};

}  // namespace kestrava::platform
