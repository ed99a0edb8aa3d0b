#pragma once

#include <deque>
#include <vector>

#include "platform/Dialogs.h"

namespace kestrava::fakes {

// Records every message box and answers from a script; with the script used up it
// answers as if the first button had been pressed.
class FakeDialogs : public platform::Dialogs {
public:
    platform::MessageAnswer showMessage(const platform::MessageBoxRequest& request) override {
        shown.push_back(request);
        if (!answers.empty()) {
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return request.buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::Yes
                                                                  : platform::MessageAnswer::Ok;
    }

    std::vector<platform::MessageBoxRequest> shown;
    std::deque<platform::MessageAnswer> answers;
};

}  // namespace kestrava::fakes
