#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/NotifyArea.h"

namespace kestrava::fakes {

// Records every request and keeps the icons that a shell would hold, so that
// notifications reach only icons that are in the area, with the message each was
// added with.
class RecordingNotifyArea : public platform::NotifyArea {
public:
    struct Call {
        platform::NotifyMessage message;
        platform::NotifyIconData data;
        bool operator==(const Call&) const = default;
    };

    bool notifyIcon(platform::NotifyMessage message,
                    const platform::NotifyIconData& data) override {
        calls.push_back({message, data});
        const std::pair key{data.hWnd, data.uID};
        switch (message) {
            case platform::NotifyMessage::Add:
                if (icons_.contains(key)) {
                    return false;
                }
                icons_[key] =
                    (data.uFlags & platform::notify_flag::Message) ? data.uCallbackMessage : 0;
                return true;
            case platform::NotifyMessage::Modify:
                return icons_.contains(key);
            case platform::NotifyMessage::Delete:
                return icons_.erase(key) == 1;
        }
        return false;
    }

    bool isAvailable() const override { return available; }

    // A mouse or balloon notification for an icon, as the shell would send it.
    void notify(platform::WindowHandle window, std::uint32_t uID, std::uint32_t code) {
        const auto found = icons_.find({window, uID});
        if (found != icons_.end() && found->second != 0) {
            deliver(window, found->second, uID, static_cast<std::intptr_t>(code));
        }
    }

    // Any message to a window, whether an icon of it is in the area or not.
    void sendMessage(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) {
        deliver(window, message, wParam, lParam);
    }

    bool holdsIcon(platform::WindowHandle window, std::uint32_t uID) const {
        return icons_.contains({window, uID});
    }

    std::vector<Call> calls;
    bool available = true;

private:
    std::map<std::pair<platform::WindowHandle, std::uint32_t>, std::uint32_t> icons_;
};

}  // namespace kestrava::fakes
