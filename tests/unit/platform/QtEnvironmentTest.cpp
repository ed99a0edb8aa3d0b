#include "platform/qt/QtEnvironment.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/RuntimeError.h"
#include "support/TemporaryFolder.h"

namespace kestrava::platform {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's length (or unsets it) and puts it back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* before = ::getenv(name)) {
            before_ = before;
        }
        Set(value);
    }
    ~ScopedVariable() { Set(before_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const std::optional<std::string>& value) const {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

    const char* name_;
    std::optional<std::string> before_;
};

fs::perms Permissions(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

TEST(QtEnvironmentStateFolder, IsTheProgramsFolderInXdgStateHomeMadeForTheUserAlone) {
    testing::TemporaryFolder state;
    const ScopedVariable stateHome("XDG_STATE_HOME", (state.path() / "deep/state").string());
    QtEnvironment environment;

    const std::string folder = environment.stateFolder("kestrava");

    EXPECT_EQ(folder, (state.path() / "deep/state/kestrava").string());
    for (const char* made : {"deep", "deep/state", "deep/state/kestrava"}) {
        EXPECT_EQ(Permissions(state.path() / made), fs::perms::owner_all) << made;
    }
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read);
    environment.stateFolder("kestrava");
    EXPECT_EQ(Permissions(folder), fs::perms::owner_all | fs::perms::group_read)
        << "a folder that is there is left as it is";
}

TEST(QtEnvironmentStateFolder, DefaultsToLocalStateInHomeAndIgnoresARelativeStateHome) {
    testing::TemporaryFolder home;
    const ScopedVariable homeVariable("HOME", home.string());
    for (const std::optional<std::string>& stateHome :
         {std::optional<std::string>{}, std::optional<std::string>{"relative"}}) {
        const ScopedVariable stateHomeVariable("XDG_STATE_HOME", stateHome);
        EXPECT_EQ(QtEnvironment().stateFolder("kestrava"),
                  (home.path() / ".local/state/kestrava").string());
    }
    EXPECT_EQ(Permissions(home.path() / ".local"), fs::perms::owner_all);
}

TEST(QtEnvironmentStateFolder, WithoutAHomeThereIsNone) {
    const ScopedVariable home("HOME", std::nullopt);
    const ScopedVariable stateHome("XDG_STATE_HOME", std::nullopt);
    EXPECT_THROW(QtEnvironment().stateFolder("kestrava"), RuntimeError);
}

}  // namespace
}  // namespace kestrava::platform
