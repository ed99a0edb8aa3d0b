#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/RuntimeError.h"

namespace kestrava::platform {

// Starting other programs. Neither operation waits for what it starts.
class Shell {
public:
    virtual ~Shell() = default;

    // Starts a program with its arguments, each passed as one argument.
    // Throws RuntimeError when the program cannot be started.
    virtual void startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;

    // What a program that was started reports later, once it has failed.
    using LateFailure = std::function<void(const RuntimeError& failure)>;

    // Opens a text file in the desktop's viewer for text files, without waiting for it.
    // Throws RuntimeError when nothing can be started; when what was started fails
    // afterwards (no viewer for text files, say), whenItFails hears of it while events run.
    virtual void viewTextFile(const std::string& path, LateFailure whenItFails) = 0;

    // Hands a web address, or the path of a local file, to the desktop's handler for it.
    // Throws RuntimeError when the desktop refuses it.
    virtual void openAddress(const std::string& address) = 0;
};

}  // namespace kestrava::platform
