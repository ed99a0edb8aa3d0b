#include "platform/win32/Win32EventPump.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>
#include <vector>

namespace kestrava::platform {
namespace {

using namespace std::chrono_literals;

constexpr UINT TestMessage = WM_APP + 7;

// A window that notes the test messages it is sent.
class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KestravaPumpTestWindow";
        ::RegisterClassExW(&windowClass);
        window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    }
    ~RecordingWindow() { ::DestroyWindow(window_); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    void post(WPARAM value) const { ::PostMessageW(window_, TestMessage, value, 0); }

    std::vector<WPARAM> received;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == TestMessage) {
            reinterpret_cast<std::vector<WPARAM>*>(::GetWindowLongPtrW(window, GWLP_USERDATA))
                ->push_back(wParam);
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_;
};

TEST(Win32EventPump, RunsWhatIsPendingButNotMoreOftenThanEveryFewMilliseconds) {
    Win32EventPump pump;
    RecordingWindow window;
    window.post(1);
    window.post(2);
    pump.pumpEvents();
    EXPECT_EQ(window.received, (std::vector<WPARAM>{1, 2}));

    window.post(3);
    pump.pumpEvents();  // at once again: too soon to look
    EXPECT_EQ(window.received.size(), 2u);
    std::this_thread::sleep_for(Win32EventPump::MinimumGap + 2ms);
    pump.pumpEvents();
    EXPECT_EQ(window.received, (std::vector<WPARAM>{1, 2, 3}));
}

TEST(Win32EventPump, AWaitEndsWithTheFirstMessageOrAtItsLimit) {
    Win32EventPump pump;
    RecordingWindow window;
    std::thread poster([&] {
        std::this_thread::sleep_for(100ms);
        window.post(9);
    });
    auto start = std::chrono::steady_clock::now();
    pump.waitForEvents(10s);
    poster.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(window.received, std::vector<WPARAM>{9});

    start = std::chrono::steady_clock::now();
    pump.waitForEvents(200ms);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
}

// The program's own loop ends on WM_QUIT; a pump in the middle of work leaves it there.
TEST(Win32EventPump, LeavesTheEndOfTheMessageLoopToTheLoop) {
    Win32EventPump pump;
    ::PostQuitMessage(3);
    pump.pumpEvents();
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);

    pump.endProgram();
    EXPECT_TRUE(pump.ending());
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST(Win32EventPumpDeathTest, WorkInterruptedByTheEndEndsAtItsNextPump) {
    EXPECT_EXIT(
        {
            Win32EventPump pump;
            pump.endProgram();
            pump.pumpEvents();
            std::exit(7);  // never reached
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            Win32EventPump pump;
            pump.endProgram();
            pump.waitForEvents(1s);
            std::exit(7);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrava::platform
