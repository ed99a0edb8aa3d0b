#include "support/win32/TestRegistryKey.h"

#include <windows.h>

#include <random>

namespace kestrava::testing {

TestRegistryKey::TestRegistryKey() {
    std::random_device entropy;
    path_ = "Software\\Kestrava tests\\" + std::to_string(entropy()) + std::to_string(entropy());
}

TestRegistryKey::~TestRegistryKey() {
    const std::wstring wide(path_.begin(), path_.end());  // ASCII
    ::RegDeleteTreeW(HKEY_CURRENT_USER, wide.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, wide.c_str());
}

}  // namespace kestrava::testing
