#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace kestrava::fakes {

// Records what would have been started instead of starting it.
class FakeShell : public platform::Shell {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };

    void startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
    }

    void openAddress(const std::string& address) override { opened.push_back(address); }

    std::vector<Start> started;
    std::vector<std::string> opened;
};

}  // namespace kestrava::fakes
