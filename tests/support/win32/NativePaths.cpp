#include "support/NativePaths.h"

#include "support/win32/WindowsTestSupport.h"

namespace kestrava::testing {

std::string ProgramText(const std::filesystem::path& path) {
    return Utf8(path);
}

std::filesystem::path PathOfText(const std::string& text) {
    return PathOfUtf8(text).make_preferred();
}

void SetModifiedTime(const std::filesystem::path& file, std::int64_t utcSeconds) {
    SetModified(file, utcSeconds);
}

}  // namespace kestrava::testing
