#pragma once

#include <string>
#include <vector>

#include "engine/IntervalTable.h"
#include "engine/LoggingWindow.h"
#include "platform/RuntimeError.h"

namespace kestrava::fakes {

// The window as automatic logging sees it, with every change written to a journal so
// that a test can check what happened in which order.
class FakeLoggingWindow : public engine::LoggingWindow {
public:
    std::string switchCaption() const override { return switchText; }
    void setSwitchCaption(const std::string& caption) override {
        switchText = caption;
        journal.push_back("switch " + caption);
    }
    int timerInterval() const override { return interval; }
    void setTimerInterval(int milliseconds) override {
        interval = milliseconds;
        journal.push_back("interval " + std::to_string(milliseconds));
    }
    void setTimerEnabled(bool enabled) override {
        timerEnabled = enabled;
        journal.push_back(enabled ? "enabled" : "disabled");
    }
    void setStatusLine(const std::string& caption) override {
        statusLine = caption;
        journal.push_back("status " + caption);
    }
    void setProgressMaximum(int maximum) override {
        if (maximum <= 0) {
            throw platform::RuntimeError(platform::error_number::InvalidPropertyValue);
        }
        progressMaximum = maximum;
    }
    void setProgressValue(int value) override {
        progressValue = value;
        journal.push_back("progress " + std::to_string(value));
    }
    void setProgressText(const std::string& text) override {
        progressText = text;
        journal.push_back("progress text " + text);
    }
    std::optional<int> selectedIntervalRow() const override { return selectedRow; }
    std::optional<std::string> selectedIntervalCaption() const override {
        if (!selectedRow) {
            return std::nullopt;
        }
        return rowCaptions.at(static_cast<std::size_t>(*selectedRow - 1));
    }
    void showBusyPointer(bool busy) override { journal.push_back(busy ? "busy" : "not busy"); }
    void select(const std::string& caption) {
        for (std::size_t row = 0; row < rowCaptions.size(); ++row) {
            if (rowCaptions[row] == caption) {
                selectedRow = static_cast<int>(row + 1);
            }
        }
    }

    std::vector<std::string> rowCaptions = [] {
        std::vector<std::string> captions;
        for (const auto& interval : engine::Intervals) {
            captions.emplace_back(interval.caption);
        }
        return captions;
    }();
    std::optional<int> selectedRow = 9;
    std::string switchText = "Turn Off Automatic Log";
    int interval = 1000;
    bool timerEnabled = true;
    std::string statusLine = "Next log will occur in";
    int progressMaximum = 100;
    int progressValue = 0;
    std::string progressText = "Progress Bar";
    std::vector<std::string> journal;
};

}  // namespace kestrava::fakes
