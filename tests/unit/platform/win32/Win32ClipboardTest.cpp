#include "platform/win32/Win32Clipboard.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/Utf16.h"

namespace kestrava::platform {
namespace {

std::wstring ClipboardText() {
    std::wstring text;
    if (::OpenClipboard(nullptr)) {
        if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* copy = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text = copy;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
    }
    return text;
}

TEST(Win32Clipboard, HoldsTheWholeTextAsUnicode) {
    Win32Clipboard clipboard;
    const std::string log =
        "[12/7/2026 3:17:16 AM]\r\nFile|Size|Date "
        "Modified\r\nC:\\D\xc3\xa9j\xc3\xa0\\\xe6\x97\xa5.txt|1 KB|"
        "12/6/2026\r\n";
    clipboard.putText(log);
    EXPECT_EQ(FromUtf16(ClipboardText()), log);

    clipboard.putText(std::string(300000, 'x'));
    EXPECT_EQ(ClipboardText().size(), 300000u);
    clipboard.putText("");
    EXPECT_EQ(ClipboardText(), L"");
}

// Other programs read the clipboard and want valid text.
TEST(Win32Clipboard, PutsAReplacementCharacterForBytesThatAreNoCharacter) {
    Win32Clipboard clipboard;
    clipboard.putText("cut \xe6\x97");
    EXPECT_EQ(ClipboardText(), L"cut \xfffd");
}

TEST(Win32Clipboard, CanHoldWhatTheMachinesMemoryCanCommit) {
    const Win32Clipboard clipboard;
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    EXPECT_TRUE(clipboard.canHold(100 * 1024 * 1024));
    EXPECT_TRUE(clipboard.canHold(memory.ullTotalPageFile / 3));
    EXPECT_FALSE(clipboard.canHold(memory.ullTotalPageFile / 3 + 1));
    EXPECT_FALSE(clipboard.canHold(UINT64_MAX));
}

}  // namespace
}  // namespace kestrava::platform
