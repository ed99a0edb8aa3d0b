#include "platform/qt/QtNotifyArea.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <optional>

#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"

namespace kestrava::platform {
namespace {

std::optional<std::uint32_t> CodeFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return notify_code::LeftButtonUp;
        case QSystemTrayIcon::Context:
            return notify_code::RightButtonUp;
        case QSystemTrayIcon::DoubleClick:
            return notify_code::LeftButtonDoubleClick;
        case QSystemTrayIcon::MiddleClick:
            return notify_code::MiddleButtonUp;
        default:
            return std::nullopt;
    }
}

// A balloon breaks its lines with CR LF; Qt's would show the CR.
QString BalloonText(const std::string& text) {
    QString balloon = ToQString(text);
    balloon.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return balloon;
}

// Qt draws its own balloon only where the tray host is an XEmbed one; elsewhere a
// balloon is a desktop notification, which expires on its own and which an empty
// message would not take down but show.
bool QtDrawsBalloonNow() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* window) { return window->inherits("QBalloonTip"); });
}

void SetIcon(QSystemTrayIcon& tray, const PictureRef& picture) {
    if (const auto* qtPicture = dynamic_cast<const QtPicture*>(picture.get())) {
        tray.setIcon(qtPicture->icon());
    } else {
        tray.setIcon(QIcon());
    }
}

}  // namespace

QtNotifyArea::~QtNotifyArea() {
    for (auto& [key, icon] : icons_) {
        delete icon.tray;
    }
    for (const auto& tray : removed_) {
        delete tray.data();
    }
}

bool QtNotifyArea::notifyIcon(NotifyMessage message, const NotifyIconData& data) {
    const IconKey key{data.hWnd, data.uID};
    if (message == NotifyMessage::Add) {
        return !icons_.contains(key) && add(data);
    }
    const auto found = icons_.find(key);
    if (found == icons_.end()) {
        return false;
    }
    if (message == NotifyMessage::Modify) {
        modify(found->second, data);
    } else {
        remove(found->second);
        icons_.erase(found);
    }
    return true;
}

bool QtNotifyArea::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QSystemTrayIcon* QtNotifyArea::trayIcon(WindowHandle window, std::uint32_t uID) const {
    const auto found = icons_.find({window, uID});
    return found == icons_.end() ? nullptr : found->second.tray;
}

bool QtNotifyArea::add(const NotifyIconData& data) {
    const IconKey key{data.hWnd, data.uID};
    Icon icon;
    icon.tray = new QSystemTrayIcon;
    icon.balloonTime = new QTimer(icon.tray);
    icon.balloonTime->setSingleShot(true);
    if (data.uFlags & notify_flag::Message) {
        icon.callbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & notify_flag::Icon) {
        SetIcon(*icon.tray, data.hIcon);
    }
    if (data.uFlags & notify_flag::Tip) {
        icon.tray->setToolTip(ToQString(data.szTip));
    }
    QObject::connect(icon.tray, &QSystemTrayIcon::activated, icon.tray,
                     [this, key](QSystemTrayIcon::ActivationReason reason) {
                         if (const auto code = CodeFor(reason)) {
                             notify(key, *code);
                         }
                     });
    QObject::connect(icon.tray, &QSystemTrayIcon::messageClicked, icon.tray,
                     [this, key, timer = icon.balloonTime] {
                         timer->stop();
                         notify(key, notify_code::BalloonUserClick);
                     });
    QObject::connect(icon.balloonTime, &QTimer::timeout, icon.tray,
                     [this, key] { notify(key, notify_code::BalloonTimeout); });
    icon.tray->show();
    icons_.emplace(key, icon);
    return true;
}

void QtNotifyArea::modify(Icon& icon, const NotifyIconData& data) {
    if (data.uFlags & notify_flag::Icon) {
        SetIcon(*icon.tray, data.hIcon);
    }
    if (data.uFlags & notify_flag::Tip) {
        icon.tray->setToolTip(ToQString(data.szTip));
    }
    if (data.uFlags & notify_flag::Info) {
        showBalloon(icon, data);
    }
}

// A click on the icon can lead to its own removal, and Qt still uses the icon's
// widgets after it has reported the click; so an icon removed while a notification
// is being handled is cut off from the window at once and deleted once control is
// back in the event loop.
void QtNotifyArea::remove(Icon& icon) {
    icon.balloonTime->stop();
    QObject::disconnect(icon.tray, nullptr, nullptr, nullptr);
    if (delivering_ == 0) {
        delete icon.tray;
        return;
    }
    removed_.emplace_back(icon.tray);
    QTimer::singleShot(0, icon.tray, [tray = icon.tray] { delete tray; });
}

void QtNotifyArea::showBalloon(Icon& icon, const NotifyIconData& data) {
    icon.balloonTime->stop();
    const QString title = ToQString(data.szInfoTitle);
    const QString text = BalloonText(data.szInfo);
    if (title.isEmpty() && text.isEmpty()) {
        // Qt takes its balloon down when asked to show an empty one.
        if (QtDrawsBalloonNow()) {
            icon.tray->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
        }
        return;
    }
    const auto lasting = data.uTimeout > 0
                             ? static_cast<int>(std::min<std::uint32_t>(data.uTimeout, INT_MAX))
                             : static_cast<int>(DefaultBalloonTime.count());
    icon.tray->showMessage(title, text, QSystemTrayIcon::NoIcon, lasting);
    if (icon.tray->isVisible() && isAvailable() && QSystemTrayIcon::supportsMessages()) {
        icon.balloonTime->start(lasting);
    }
}

void QtNotifyArea::notify(const IconKey& key, std::uint32_t code) {
    const auto found = icons_.find(key);
    if (found == icons_.end() || found->second.callbackMessage == 0) {
        return;
    }
    const std::uint32_t message = found->second.callbackMessage;
    ++delivering_;
    deliver(key.first, message, key.second, static_cast<std::intptr_t>(code));
    --delivering_;
}

}  // namespace kestrava::platform
