#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/NotifyArea.h"
#include "platform/Picture.h"
#include "tray/mSysTray.h"

namespace kestrava::tray {

// Gives its host one icon in the notification area, with a tip, four mouse events
// and a balloon. It owns a window of its own, through which the area's notifications
// reach it (see mSysTray).
class cSysTray {
public:
    // What a host has stored for its instance. They are applied as a stored form
    // applies them, each through its setter, in the order InTray, TrayIcon, TrayTip.
    struct StoredProperties {
        bool InTray = false;
        platform::PictureRef TrayIcon;
        std::string TrayTip;
    };

    // The events, raised while the area's notifications are handled. The icon
    // identifier is the one the notification came with; buttons are 1 left, 2 right.
    std::function<void(std::int32_t iconId)> MouseMove;
    std::function<void(std::int16_t button, std::int32_t iconId)> MouseDown;
    std::function<void(std::int16_t button, std::int32_t iconId)> MouseUp;
    std::function<void(std::int16_t button, std::int32_t iconId)> MouseDblClick;

    // Out of the tray, with no icon and an empty tip.
    cSysTray(platform::NotifyArea& area, platform::EventPump& events, platform::Clock& clock);
    cSysTray(platform::NotifyArea& area, platform::EventPump& events, platform::Clock& clock,
             const StoredProperties& stored);
    ~cSysTray();
    cSysTray(const cSysTray&) = delete;
    cSysTray& operator=(const cSysTray&) = delete;

    // A picture that is empty or not an icon is ignored.
    void TrayIcon(const platform::PictureRef& picture);
    platform::PictureRef TrayIcon() const { return iconPicture_; }

    void TrayTip(const std::string& text);
    const std::string& TrayTip() const { return tipText_; }

    // Puts the icon into the notification area or takes it out.
    void InTray(bool value);
    bool InTray() const { return inTray_; }

    // Shows a balloon on the icon. With a time-out above 0 it waits, letting events
    // run, until the balloon is hidden, times out or is clicked, or the time-out has
    // passed, and then takes a balloon that is still up down. A show-once balloon is
    // shown once in the instance's life. Throws RuntimeError 6 (overflow) for a
    // time-out whose milliseconds don't fit 32 bits, before anything is sent.
    void ShowBalloon(const std::string& text, const std::string& title, std::int32_t timeoutSeconds,
                     bool showOnce);

    // Whether the desktop has a notification area now, where the icon can be seen
    // and clicked. Without one a host must not hide itself into the tray.
    bool TrayAvailable() const { return area_.isAvailable(); }

private:
    friend std::intptr_t mSysTray::WindowProc(platform::NotifyArea&, platform::WindowHandle,
                                              std::uint32_t, std::uintptr_t, std::intptr_t);

    platform::NotifyIconData NewRecord() const;
    void Register();
    void Unregister();
    void Dispatch(std::uint32_t code, std::uint32_t iconId);

    platform::NotifyArea& area_;
    platform::EventPump& events_;
    platform::Clock& clock_;

    bool inTray_ = false;
    std::uint32_t iconId_ = 0;
    std::string tipText_;
    platform::WindowHandle window_;
    platform::PictureRef iconPicture_;
    bool registered_ = false;
    bool balloonUp_ = false;
    std::int32_t showOnceCount_ = 0;
};

}  // namespace kestrava::tray
