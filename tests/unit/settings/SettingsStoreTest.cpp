#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/qt/QtSettingsBackend.h"
#include "support/SettingsFolder.h"

namespace kestrava::settings {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    testing::SettingsFolder folder;
    platform::QtSettingsBackend backend;
    SettingsStore store{backend};
};

TEST_F(SettingsStoreTest, AFreshStoreGivesEveryDefaultAndWritesNothing) {
    EXPECT_EQ(store.read(Setting::OftenIndex), "9");
    EXPECT_EQ(store.read(Setting::StartStopState), "On");
    EXPECT_EQ(store.read(Setting::WindowsStartup), "Off");
    EXPECT_EQ(store.read(Setting::Minimized), "Off");
    EXPECT_EQ(store.read(Setting::LastFolder), "");
    EXPECT_EQ(store.read(Setting::Text1, "/home/ann/Desktop/"), "/home/ann/Desktop/");
    EXPECT_FALSE(std::filesystem::exists(folder.settingsFile()));
}

TEST_F(SettingsStoreTest, AWriteIsInTheFileAtOnceUnderItsKey) {
    store.write(Setting::WindowsStartup, On);
    store.write(Setting::Text1, "/data/");

    const QSettings file(QString::fromStdString(folder.settingsFile().string()),
                         QSettings::NativeFormat);
    EXPECT_EQ(file.value("Kestrava/Windows Startup").toString(), "On");
    EXPECT_EQ(file.value("Kestrava/Text1").toString(), "/data/");
    EXPECT_EQ(store.read(Setting::Text1, "unused"), "/data/");
}

TEST_F(SettingsStoreTest, ValuesComeBackExactlyAsWritten) {
    for (const char* value : {"on", "", "/a, b/c/", "\"quoted\"", "@String(x)", "C:\\Data\\",
                              "/home/ann/Blätter und Ähren/", " padded "}) {
        store.write(Setting::LastFolderDot, value);
        EXPECT_EQ(store.read(Setting::LastFolderDot), value);
    }
}

}  // namespace
}  // namespace kestrava::settings
