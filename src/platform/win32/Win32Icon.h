#pragma once

#include <windows.h>

#include "platform/Picture.h"

namespace kestrava::platform {

// An icon picture over an icon handle, as the notification area shows it.
class Win32Icon : public Picture {
public:
    // An owned icon is destroyed with the picture; a shared one (LoadIconW's) is not.
    Win32Icon(HICON icon, bool owned) : icon_(icon), owned_(owned) {}
    ~Win32Icon() override {
        if (owned_ && icon_ != nullptr) {
            ::DestroyIcon(icon_);
        }
    }
    Win32Icon(const Win32Icon&) = delete;
    Win32Icon& operator=(const Win32Icon&) = delete;

    PictureType type() const override { return PictureType::Icon; }
    HICON handle() const { return icon_; }

private:
    HICON icon_;
    bool owned_;
};

}  // namespace kestrava::platform
