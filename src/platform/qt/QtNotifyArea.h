#pragma once

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/NotifyArea.h"

namespace kestrava::platform {

// The notification area through QSystemTrayIcon: one Qt tray icon per window and
// identifier.
//
// Qt reports a click, not a press and a release, so a left click arrives as 0x202,
// a right click as 0x205, a double click as 0x202 then 0x203 (Qt tells no button for
// it), a middle click as 0x208; mouse moves and button presses never arrive. A click
// on the balloon arrives as 0x405. Qt says nothing when its balloon times out, so
// the balloon's own time-out is timed here and reported as 0x404 when no click came
// first; a balloon closed with its close button goes unreported until then.
//
// When the desktop has no notification area, an icon is still added (isAvailable()
// tells the difference); Qt docks it by itself once a tray host appears.
class QtNotifyArea : public NotifyArea {
public:
    // How long a balloon stays when the record gives no time-out.
    static constexpr std::chrono::milliseconds DefaultBalloonTime{10000};

    QtNotifyArea() = default;
    ~QtNotifyArea() override;
    QtNotifyArea(const QtNotifyArea&) = delete;
    QtNotifyArea& operator=(const QtNotifyArea&) = delete;

    bool notifyIcon(NotifyMessage message, const NotifyIconData& data) override;
    bool isAvailable() const override;

    // The Qt icon behind a window's icon, or null; for tests.
    QSystemTrayIcon* trayIcon(WindowHandle window, std::uint32_t uID) const;

private:
    using IconKey = std::pair<WindowHandle, std::uint32_t>;

    struct Icon {
        QSystemTrayIcon* tray = nullptr;  // owned
        QTimer* balloonTime = nullptr;    // a child of tray
        std::uint32_t callbackMessage = 0;
    };

    bool add(const NotifyIconData& data);
    void modify(Icon& icon, const NotifyIconData& data);
    void remove(Icon& icon);
    void showBalloon(Icon& icon, const NotifyIconData& data);
    void notify(const IconKey& key, std::uint32_t code);

    std::map<IconKey, Icon> icons_;
    std::vector<QPointer<QSystemTrayIcon>> removed_;
    int delivering_ = 0;
};

}  // namespace kestrava::platform
