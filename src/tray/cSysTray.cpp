#include "tray/cSysTray.h"

#include <chrono>

#include "platform/RuntimeError.h"

namespace kestrava::tray {
namespace {

using platform::NotifyIconData;
using platform::NotifyMessage;
namespace notify_flag = platform::notify_flag;
namespace notify_code = platform::notify_code;

// The largest time-out whose milliseconds fit a 32-bit signed number.
constexpr std::int32_t LongestTimeoutSeconds = 2'147'483;

constexpr std::int16_t LeftButton = 1;
constexpr std::int16_t RightButton = 2;

// The text as the shell's fixed-size field holds it: up to its first NUL, and cut so
// that it fits the field with a NUL after it. The cut never splits a character.
std::string FieldText(const std::string& text, std::size_t width) {
    std::string field = text.substr(0, text.find('\0'));
    if (field.size() < width) {
        return field;
    }
    std::size_t end = width - 1;
    while (end > 0 && (static_cast<unsigned char>(field[end]) & 0xC0) == 0x80) {
        --end;
    }
    field.resize(end);
    return field;
}

void Raise(const std::function<void(std::int16_t, std::int32_t)>& event, std::int16_t button,
           std::uint32_t iconId) {
    if (event) {
        event(button, static_cast<std::int32_t>(iconId));
    }
}

}  // namespace

cSysTray::cSysTray(platform::NotifyArea& area, platform::EventPump& events, platform::Clock& clock)
    : cSysTray(area, events, clock, StoredProperties{}) {}

cSysTray::cSysTray(platform::NotifyArea& area, platform::EventPump& events, platform::Clock& clock,
                   const StoredProperties& stored)
    : area_(area), events_(events), clock_(clock), window_(area.createWindow()) {
    InTray(stored.InTray);
    TrayIcon(stored.TrayIcon);
    TrayTip(stored.TrayTip);
}

cSysTray::~cSysTray() {
    if (inTray_) {
        InTray(false);
    }
    area_.destroyWindow(window_);
}

void cSysTray::TrayIcon(const platform::PictureRef& picture) {
    if (!picture || picture->type() != platform::PictureType::Icon) {
        return;
    }
    if (registered_) {
        NotifyIconData record = NewRecord();
        record.uFlags = notify_flag::Icon;
        record.hIcon = picture;
        area_.notifyIcon(NotifyMessage::Modify, record);
    }
    iconPicture_ = picture;
}

void cSysTray::TrayTip(const std::string& text) {
    if (registered_) {
        NotifyIconData record = NewRecord();
        record.uFlags = notify_flag::Tip;
        record.szTip = FieldText(text, NotifyIconData::TipWidth);
        area_.notifyIcon(NotifyMessage::Modify, record);
    }
    tipText_ = text;
}

void cSysTray::InTray(bool value) {
    if (value == inTray_) {
        return;
    }
    if (value) {
        mSysTray::PreviousWindowProc = area_.setWindowProcedure(window_, &mSysTray::WindowProc);
        area_.setWindowUserData(window_, this);
        Register();
        registered_ = true;
    } else if (registered_) {
        Unregister();
        area_.setWindowProcedure(window_, mSysTray::PreviousWindowProc);
        registered_ = false;
    }
    inTray_ = value;
}

void cSysTray::ShowBalloon(const std::string& text, const std::string& title,
                           std::int32_t timeoutSeconds, bool showOnce) {
    if (showOnce && showOnceCount_ >= 1) {
        return;
    }
    if (timeoutSeconds > LongestTimeoutSeconds) {
        throw platform::RuntimeError(platform::error_number::Overflow);
    }
    NotifyIconData record = NewRecord();
    record.uFlags = notify_flag::Info;
    record.szInfoTitle = FieldText(title, NotifyIconData::InfoTitleWidth);
    record.szInfo = FieldText(text, NotifyIconData::InfoWidth);
    record.uTimeout = timeoutSeconds > 0 ? static_cast<std::uint32_t>(timeoutSeconds) * 1000 : 0;
    area_.notifyIcon(NotifyMessage::Modify, record);
    balloonUp_ = true;
    if (showOnce) {
        ++showOnceCount_;
    }
    if (timeoutSeconds <= 0) {
        return;
    }

    // The balloon's notifications come in while events run and clear the flag. The
    // wait sleeps between events, and measures on a clock that midnight doesn't reset.
    const auto start = clock_.monotonicNow();
    const std::chrono::nanoseconds timeout = std::chrono::seconds(timeoutSeconds);
    std::chrono::nanoseconds elapsed{0};
    while (elapsed < timeout && balloonUp_) {
        events_.waitForEvents(std::chrono::ceil<std::chrono::milliseconds>(timeout - elapsed));
        elapsed = clock_.monotonicNow() - start;
    }
    if (balloonUp_) {
        NotifyIconData removal = NewRecord();
        removal.uFlags = notify_flag::Info;
        area_.notifyIcon(NotifyMessage::Modify, removal);
    }
}

NotifyIconData cSysTray::NewRecord() const {
    NotifyIconData record;
    record.cbSize = NotifyIconData::RecordSize;
    record.hWnd = window_;
    record.uID = iconId_;
    return record;
}

void cSysTray::Register() {
    NotifyIconData record = NewRecord();
    if (const platform::PictureRef picture = TrayIcon()) {
        record.hIcon = picture;
        record.uFlags |= notify_flag::Icon;
    }
    if (const std::string& tip = TrayTip(); !tip.empty()) {
        record.szTip = FieldText(tip, NotifyIconData::TipWidth);
        record.uFlags |= notify_flag::Tip;
    }
    record.uFlags |= notify_flag::Message;
    record.uCallbackMessage = mSysTray::CallbackMessage;
    area_.notifyIcon(NotifyMessage::Add, record);
}

void cSysTray::Unregister() {
    area_.notifyIcon(NotifyMessage::Delete, NewRecord());
}

void cSysTray::Dispatch(std::uint32_t code, std::uint32_t iconId) {
    switch (code) {
        case notify_code::MouseMove:
            if (MouseMove) {
                MouseMove(static_cast<std::int32_t>(iconId));
            }
            break;
        case notify_code::LeftButtonDown:
            Raise(MouseDown, LeftButton, iconId);
            break;
        case notify_code::LeftButtonUp:
            Raise(MouseUp, LeftButton, iconId);
            break;
        case notify_code::LeftButtonDoubleClick:
            Raise(MouseDblClick, LeftButton, iconId);
            break;
        case notify_code::RightButtonDown:
            Raise(MouseDown, RightButton, iconId);
            break;
        case notify_code::RightButtonUp:
            Raise(MouseUp, RightButton, iconId);
            break;
        case notify_code::RightButtonDoubleClick:
            Raise(MouseDblClick, RightButton, iconId);
            break;
        case notify_code::BalloonHide:
        case notify_code::BalloonTimeout:
        case notify_code::BalloonUserClick:
            balloonUp_ = false;
            break;
        default:
            break;
    }
}

}  // namespace kestrava::tray
