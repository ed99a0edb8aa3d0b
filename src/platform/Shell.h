#pragma once

#include <string>
#include <vector>

namespace kestrava::platform {

// Starting other programs. Neither operation waits for what it starts.
class Shell {
public:
    virtual ~Shell() = default;

    // Starts a program with its arguments, each passed as one argument.
    // Throws RuntimeError when the program cannot be started.
    virtual void startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;

    // Opens a text file in the desktop's viewer for text files.
    // Throws RuntimeError when no viewer can be started.
    virtual void viewTextFile(const std::string& path) = 0;

    // Hands a web address, or the path of a local file, to the desktop's handler for it.
    // Throws RuntimeError when the desktop refuses it.
    virtual void openAddress(const std::string& address) = 0;
};

}  // namespace kestrava::platform
