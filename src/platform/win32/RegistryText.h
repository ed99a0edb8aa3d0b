#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kestrava::platform {

// A string value (REG_SZ) of an open key, without its terminating NUL; nothing when
// the value is missing or is no string.
std::optional<std::wstring> ReadStringValue(HKEY key, const std::wstring& name);

// Writes a string value with its terminating NUL, as REG_SZ wants it. Returns the
// registry's status.
LSTATUS WriteStringValue(HKEY key, const std::wstring& name, const std::wstring& value);

}  // namespace kestrava::platform
