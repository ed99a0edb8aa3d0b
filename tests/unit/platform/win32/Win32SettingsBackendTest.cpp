#include "platform/win32/Win32SettingsBackend.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/Utf16.h"
#include "settings/SettingsStore.h"
#include "support/win32/TestRegistryKey.h"

namespace kestrava::platform {
namespace {

class Win32SettingsBackendTest : public ::testing::Test {
protected:
    // The value as the registry holds it: its type and its text.
    std::pair<DWORD, std::wstring> stored(const std::string& key) const {
        const std::wstring path = ToUtf16(key_.path() + "\\Velquist\\Kestrava");
        DWORD type = 0;
        wchar_t value[512] = {};
        DWORD bytes = sizeof value;
        if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), ToUtf16(key).c_str(),
                           RRF_RT_ANY | RRF_NOEXPAND, &type, value, &bytes) != ERROR_SUCCESS) {
            return {REG_NONE, {}};
        }
        return {type, value};
    }

    testing::TestRegistryKey key_;
    Win32SettingsBackend backend{key_.path()};
    settings::SettingsStore store{backend};
};

TEST_F(Win32SettingsBackendTest, AFreshStoreGivesTheDefaultsAndWritesNothing) {
    EXPECT_EQ(store.read(settings::Setting::OftenIndex), "9");
    EXPECT_EQ(store.read(settings::Setting::LastFolder), "");
    EXPECT_EQ(stored("OftenIndex").first, static_cast<DWORD>(REG_NONE));
    HKEY section = nullptr;
    EXPECT_NE(
        ::RegOpenKeyExW(HKEY_CURRENT_USER, ToUtf16(key_.path()).c_str(), 0, KEY_READ, &section),
        ERROR_SUCCESS);
}

TEST_F(Win32SettingsBackendTest, AWriteIsAStringValueInTheRegistryAtOnce) {
    store.write(settings::Setting::WindowsStartup, settings::On);
    store.write(settings::Setting::Text1, "C:\\Data\\");
    EXPECT_EQ(stored("Windows Startup"), (std::pair<DWORD, std::wstring>{REG_SZ, L"On"}));
    EXPECT_EQ(stored("Text1"), (std::pair<DWORD, std::wstring>{REG_SZ, L"C:\\Data\\"}));
    EXPECT_EQ(store.read(settings::Setting::Text1, "unused"), "C:\\Data\\");
}

TEST_F(Win32SettingsBackendTest, ValuesComeBackExactlyAsWritten) {
    for (const char* value : {"on", "", "C:\\a, b\\c\\", "\"quoted\"", " padded ",
                              "C:\\Bl\xc3\xa4tter und \xc3\x84hren\\", "\xe6\x97\xa5\xe6\x9c\xac",
                              "\xf0\x9f\x98\x80"}) {
        store.write(settings::Setting::LastFolderDot, value);
        EXPECT_EQ(store.read(settings::Setting::LastFolderDot), value);
    }
    EXPECT_EQ(stored("LastFolderDot").second, L"\U0001F600");
}

TEST_F(Win32SettingsBackendTest, AValueThatIsNoStringCountsAsAbsent) {
    store.write(settings::Setting::OftenIndex, "5");
    const std::wstring path = ToUtf16(key_.path() + "\\Velquist\\Kestrava");
    const DWORD number = 3;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), L"OftenIndex", REG_DWORD, &number,
                                sizeof number),
              ERROR_SUCCESS);
    EXPECT_EQ(store.read(settings::Setting::OftenIndex), "9");
}

}  // namespace
}  // namespace kestrava::platform
