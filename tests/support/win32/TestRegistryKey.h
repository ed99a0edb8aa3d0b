#pragma once

#include <string>

namespace kestrava::testing {

// A key of its own below HKEY_CURRENT_USER\Software\Kestrava tests, deleted with
// everything in it when the test is done.
class TestRegistryKey {
public:
    TestRegistryKey();
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    // Below HKEY_CURRENT_USER, without a separator at either end.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace kestrava::testing
