#pragma once

#include <string>
#include <vector>

#include "platform/RuntimeError.h"
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
        if (failStarts) {
            throw platform::RuntimeError(platform::error_number::FileNotFound);
        }
        started.push_back({program, arguments});
    }

    void viewTextFile(const std::string& path, LateFailure whenItFails) override {
        if (failStarts) {
            throw platform::RuntimeError(platform::error_number::FileNotFound);
        }
        viewed.push_back(path);
        lateFailures.push_back(std::move(whenItFails));
    }

    void openAddress(const std::string& address) override { opened.push_back(address); }

    std::vector<Start> started;
    std::vector<std::string> viewed;
    std::vector<LateFailure> lateFailures;  // what each viewer would call when it fails
    std::vector<std::string> opened;
    bool failStarts = false;
};

}  // namespace kestrava::fakes
