#pragma once

#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/RuntimeError.h"

namespace kestrava::core {

// The "Application Error" box that every trapping procedure shows for a failed step.
class ErrorReport {
public:
    explicit ErrorReport(platform::Dialogs& dialogs) : dialogs_(dialogs) {}

    // Shows the box and waits for OK.
    void show(const platform::RuntimeError& error, std::string_view locationTag, int step) const;

    static std::string text(const platform::RuntimeError& error, std::string_view locationTag,
                            int step);

private:
    platform::Dialogs& dialogs_;
};

}  // namespace kestrava::core
