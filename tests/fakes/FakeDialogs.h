#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace kestrava::fakes {

// Records every message box and answers from a script; with the script used up it
// answers as if the first button had been pressed. The folder chooser gives chosenFolder.
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

    std::string chooseFolder(const std::string& title, const std::string& preselection) override {
        chooserOpenings.push_back({title, preselection});
        return chosenFolder;
    }

    struct ChooserOpening {
        std::string title;
        std::string preselection;
    };

    std::vector<platform::MessageBoxRequest> shown;
    std::deque<platform::MessageAnswer> answers;
    std::vector<ChooserOpening> chooserOpenings;
    std::string chosenFolder;  // "" answers as a cancel
};

}  // namespace kestrava::fakes
