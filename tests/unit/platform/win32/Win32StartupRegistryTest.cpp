#include "platform/win32/Win32StartupRegistry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <optional>
#include <random>

#include "platform/RuntimeError.h"
#include "platform/win32/Utf16.h"
#include "support/win32/TestRegistryKey.h"

namespace kestrava::platform {
namespace {

using RunKey = Win32StartupRegistry::RunKey;

std::optional<std::pair<DWORD, std::wstring>> ValueOf(const RunKey& run, const std::string& name) {
    DWORD type = 0;
    wchar_t value[512] = {};
    DWORD bytes = sizeof value;
    if (::RegGetValueW(run.root, ToUtf16(run.path).c_str(), ToUtf16(name).c_str(),
                       RRF_RT_ANY | RRF_NOEXPAND, &type, value, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // REG_SZ's size counts the terminating NUL.
    EXPECT_EQ(bytes, (std::wcslen(value) + 1) * sizeof(wchar_t));
    return std::pair{type, std::wstring(value)};
}

std::string UniqueProgramName() {
    std::random_device entropy;
    return "kestrava-test-" + std::to_string(entropy()) + ".exe";
}

// Unquoted, a path with a space would first start the program its first word names
// ("C:\\Program.exe"); a path without one needs no quotes and gets none.
TEST(RunValueData, QuotesAPathThatHoldsASpace) {
    EXPECT_EQ(RunValueData("C:\\Program Files\\Kestrava\\kestrava.exe"),
              "\"C:\\Program Files\\Kestrava\\kestrava.exe\"");
    EXPECT_EQ(RunValueData("D:\\My Tools\\kestrava.exe"), "\"D:\\My Tools\\kestrava.exe\"");
    EXPECT_EQ(RunValueData("D:\\kestrava.exe"), "D:\\kestrava.exe");
}

class Win32StartupRegistryTest : public ::testing::Test {
protected:
    testing::TestRegistryKey key;
    std::string name = UniqueProgramName();
    std::string path = "C:\\Program Files\\Kestrava\\" + name;
};

// Wine runs programs with an administrator's rights, so the machine's own Run key takes
// the value here as it would for an administrator on Windows.
TEST_F(Win32StartupRegistryTest, WritesAndDeletesTheValueInTheMachinesRunKey) {
    Win32StartupRegistry registry;
    const RunKey& machine = registry.runKey(StartupScope::AllUsers);
    EXPECT_EQ(machine.root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(machine.path, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");

    registry.setEntry(StartupScope::AllUsers, name, path);
    EXPECT_EQ(ValueOf(machine, name),
              (std::pair<DWORD, std::wstring>{REG_SZ, ToUtf16('"' + path + '"')}));
    registry.setEntry(StartupScope::AllUsers, name, "C:\\Kestrava.exe");  // replaced
    EXPECT_EQ(ValueOf(machine, name)->second, L"C:\\Kestrava.exe");

    registry.deleteEntry(StartupScope::AllUsers, name);
    EXPECT_EQ(ValueOf(machine, name), std::nullopt);
    EXPECT_NO_THROW(registry.deleteEntry(StartupScope::AllUsers, name));  // gone already
}

TEST_F(Win32StartupRegistryTest, TheUsersOwnRunKeyIsMadeWhereItIsMissing) {
    const RunKey user{HKEY_CURRENT_USER, key.path() + "\\Run"};
    Win32StartupRegistry registry({HKEY_CURRENT_USER, key.path() + "\\Machine"}, user);
    EXPECT_EQ(Win32StartupRegistry().runKey(StartupScope::CurrentUser).root, HKEY_CURRENT_USER);

    registry.setEntry(StartupScope::CurrentUser, name, path);
    EXPECT_EQ(ValueOf(user, name),
              (std::pair<DWORD, std::wstring>{REG_SZ, ToUtf16('"' + path + '"')}));
    registry.deleteEntry(StartupScope::CurrentUser, name);
    EXPECT_EQ(ValueOf(user, name), std::nullopt);
}

// Where the machine's key refuses, the program falls back on the user's: the refusal
// must reach it as a failure, the user's key must take the value, and removing the
// entry from both must not fail where nothing was written. (Wine grants every key to
// every program, so the refusing key is one below which no lasting key can be made.)
TEST_F(Win32StartupRegistryTest, AKeyThatRefusesTheValueFailsAndTheUsersTakesIt) {
    HKEY volatileKey = nullptr;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, ToUtf16(key.path()).c_str(), nullptr, REG_SZ,
                                L"", sizeof(wchar_t)),
              ERROR_SUCCESS);  // a lasting key, which the volatile one goes below
    ASSERT_EQ(
        ::RegCreateKeyExW(HKEY_CURRENT_USER, ToUtf16(key.path() + "\\Volatile").c_str(), 0, nullptr,
                          REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
        ERROR_SUCCESS);
    ::RegCloseKey(volatileKey);
    const RunKey refusing{HKEY_CURRENT_USER, key.path() + "\\Volatile\\Run"};
    const RunKey user{HKEY_CURRENT_USER, key.path() + "\\Run"};
    Win32StartupRegistry registry(refusing, user);

    EXPECT_THROW(registry.setEntry(StartupScope::AllUsers, name, path), RuntimeError);
    registry.setEntry(StartupScope::CurrentUser, name, path);

    EXPECT_EQ(ValueOf(refusing, name), std::nullopt);
    EXPECT_EQ(ValueOf(user, name)->second, ToUtf16(RunValueData(path)));
    EXPECT_NO_THROW(registry.deleteEntry(StartupScope::AllUsers, name));
    registry.deleteEntry(StartupScope::CurrentUser, name);
    EXPECT_EQ(ValueOf(user, name), std::nullopt);
}

}  // namespace
}  // namespace kestrava::platform
