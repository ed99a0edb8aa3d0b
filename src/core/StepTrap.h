#pragma once

#include <functional>
#include <string_view>

#include "core/ErrorReport.h"
#include "platform/RuntimeError.h"

namespace kestrava::core {

// A trapping procedure runs each of its steps through run(). A step that fails
// shows the error report with the procedure's location tag and the step's number;
// the procedure then goes on with its next step. Nothing is retried.
class StepTrap {
public:
    StepTrap(const ErrorReport& report, std::string_view locationTag)
        : report_(report), locationTag_(locationTag) {}

    // Runs one step; true when it completed, false when it failed and was reported.
    template <typename Step>
    bool run(int stepNumber, Step&& step) const {
        try {
            step();
            return true;
        } catch (const platform::RuntimeError& error) {
            report_.show(error, locationTag_, stepNumber);
            return false;
        }
    }

    // Reports a failure of the step that comes to light only after the step has returned
    // (a program it started reports back later), under the same tag and number. The
    // report it refers to must outlive the failure's arrival: the window's does.
    std::function<void(const platform::RuntimeError&)> reportLater(int stepNumber) const {
        return [&report = report_, tag = locationTag_, stepNumber](
                   const platform::RuntimeError& error) { report.show(error, tag, stepNumber); };
    }

private:
    const ErrorReport& report_;
    std::string_view locationTag_;
};

}  // namespace kestrava::core
