#include "platform/win32/Win32NotifyArea.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32Icon.h"
#include "support/win32/WindowsTestSupport.h"
#include "tray/cSysTray.h"
#include "tray/mSysTray.h"

namespace kestrava::platform {
namespace {

using namespace std::chrono_literals;

HWND HandleOf(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

LONG_PTR ProcedureOf(WindowHandle window) {
    return ::GetWindowLongPtrW(HandleOf(window), GWLP_WNDPROC);
}

// The shell's answers, with what was asked.
class ObservedArea : public Win32NotifyArea {
public:
    WindowHandle createWindow() override {
        created = Win32NotifyArea::createWindow();
        return created;
    }

    bool notifyIcon(NotifyMessage message, const NotifyIconData& data) override {
        const bool taken = Win32NotifyArea::notifyIcon(message, data);
        calls.push_back({message, data, taken});
        return taken;
    }

    // Whether the shell holds the window's icon: only then does it take a change.
    bool holdsIcon(WindowHandle window) {
        NotifyIconData probe;
        probe.hWnd = window;
        return Win32NotifyArea::notifyIcon(NotifyMessage::Modify, probe);
    }

    struct Call {
        NotifyMessage message;
        NotifyIconData data;
        bool taken;
    };
    std::vector<Call> calls;
    WindowHandle created = 0;
};

struct Received {
    std::vector<UINT> messages;
    WindowProcedure previous = nullptr;
};

std::intptr_t Recording(NotifyArea& area, WindowHandle window, std::uint32_t message,
                        std::uintptr_t wParam, std::intptr_t lParam) {
    auto* received = static_cast<Received*>(area.windowUserData(window));
    received->messages.push_back(message);
    return received->previous(area, window, message, wParam, lParam);
}

TEST(Win32NotifyArea, MakesHiddenWindowsWhoseUserDataIsTheWindowsOwn) {
    Win32NotifyArea area;
    const WindowHandle window = area.createWindow();
    ASSERT_TRUE(::IsWindow(HandleOf(window)));
    EXPECT_FALSE(::IsWindowVisible(HandleOf(window)));
    EXPECT_EQ(area.windowUserData(window), nullptr);

    int instance = 0;
    area.setWindowUserData(window, &instance);
    EXPECT_EQ(::GetWindowLongPtrW(HandleOf(window), GWLP_USERDATA),
              reinterpret_cast<LONG_PTR>(&instance));
    EXPECT_EQ(area.windowUserData(window), &instance);

    area.destroyWindow(window);
    EXPECT_FALSE(::IsWindow(HandleOf(window)));
    EXPECT_EQ(area.windowUserData(window), nullptr);
    EXPECT_EQ(area.setWindowProcedure(window, &Recording), nullptr);
}

// The procedure really is the window's: the window's procedure slot changes, messages
// sent to the window arrive there, the replaced one gets them passed on, and putting it
// back restores the slot.
TEST(Win32NotifyArea, SwapsTheWindowsOwnProcedure) {
    Win32NotifyArea area;
    const WindowHandle window = area.createWindow();
    const LONG_PTR own = ProcedureOf(window);
    Received received;
    area.setWindowUserData(window, &received);

    received.previous = area.setWindowProcedure(window, &Recording);
    ASSERT_NE(received.previous, nullptr);
    EXPECT_NE(ProcedureOf(window), own);
    ::SendMessageW(HandleOf(window), WM_APP + 1, 0, 0);
    EXPECT_EQ(::SendMessageW(HandleOf(window), WM_GETTEXTLENGTH, 0, 0), 0);  // passed on
    EXPECT_EQ(received.messages, (std::vector<UINT>{WM_APP + 1, WM_GETTEXTLENGTH}));

    EXPECT_EQ(area.setWindowProcedure(window, received.previous), &Recording);
    EXPECT_EQ(ProcedureOf(window), own);
    ::SendMessageW(HandleOf(window), WM_APP + 2, 0, 0);
    EXPECT_EQ(received.messages.size(), 2u);
}

class TrayIconOnWin32 : public ::testing::Test {
protected:
    TrayIconOnWin32() {
        control.MouseUp = [this](std::int16_t button, std::int32_t id) {
            mouseUps.push_back({button, id});
        };
    }

    WindowHandle window() const { return area.calls.at(0).data.hWnd; }

    void post(std::uint32_t code) const {
        ::PostMessageW(HandleOf(window()), tray::mSysTray::CallbackMessage, 0,
                       static_cast<LPARAM>(code));
    }

    ObservedArea area;
    Win32EventPump events;
    Win32Clock clock;
    PictureRef icon = std::make_shared<Win32Icon>(::LoadIconW(nullptr, IDI_APPLICATION), false);
    tray::cSysTray control{area, events, clock, {false, icon, "Kestrava"}};
    std::vector<std::pair<std::int16_t, std::int32_t>> mouseUps;
};

TEST_F(TrayIconOnWin32, AddsChangesAndDeletesTheIconAndHearsItsClicks) {
    ASSERT_TRUE(control.TrayAvailable());
    const LONG_PTR own = ProcedureOf(area.created);
    control.InTray(true);
    ASSERT_EQ(area.calls.size(), 1u);
    EXPECT_EQ(area.calls[0].message, NotifyMessage::Add);
    EXPECT_TRUE(area.calls[0].taken);
    EXPECT_EQ(window(), area.created);
    EXPECT_NE(ProcedureOf(window()), own);
    EXPECT_TRUE(area.holdsIcon(window()));

    control.TrayTip("Kestrava - logging");
    EXPECT_TRUE(area.calls.back().taken);

    post(WM_LBUTTONUP);
    post(WM_MOUSEMOVE);
    post(WM_RBUTTONUP);
    EXPECT_TRUE(testing::WaitUntil(
        [&] {
            events.pumpEvents();
            return mouseUps.size() == 2;
        },
        5s));
    EXPECT_EQ(mouseUps, (std::vector<std::pair<std::int16_t, std::int32_t>>{{1, 0}, {2, 0}}));

    control.InTray(false);
    EXPECT_EQ(area.calls.back().message, NotifyMessage::Delete);
    EXPECT_TRUE(area.calls.back().taken);
    EXPECT_FALSE(area.holdsIcon(window()));
    EXPECT_EQ(ProcedureOf(window()), own);
    post(WM_LBUTTONUP);
    ::Sleep(20);
    events.pumpEvents();
    EXPECT_EQ(mouseUps.size(), 2u);
}

TEST_F(TrayIconOnWin32, ABalloonsWaitEndsWhenTheShellSaysItTimedOut) {
    control.InTray(true);
    std::thread shell([this] {
        std::this_thread::sleep_for(200ms);
        post(notify_code::BalloonTimeout);
    });
    const auto start = std::chrono::steady_clock::now();
    control.ShowBalloon("Kestrava is still running.", "Kestrava", 10, false);
    shell.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    const auto& balloon = area.calls.at(1);
    EXPECT_EQ(balloon.data.uFlags, notify_flag::Info);
    EXPECT_EQ(balloon.data.uTimeout, 10000u);
    EXPECT_TRUE(balloon.taken);
    EXPECT_EQ(area.calls.size(), 2u);  // nothing to take down afterwards
}

}  // namespace
}  // namespace kestrava::platform
