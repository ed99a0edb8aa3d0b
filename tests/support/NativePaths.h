#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kestrava::testing {

// A path as the program's own text (UTF-8 on Windows, the file system's bytes here), and
// the path that such a text names: "a/b" names a file b in a folder a on every platform.
std::string ProgramText(const std::filesystem::path& path);
std::filesystem::path PathOfText(const std::string& text);

// A file's last-modified time, in seconds since 1970-01-01 00:00:00 UTC.
void SetModifiedTime(const std::filesystem::path& file, std::int64_t utcSeconds);

}  // namespace kestrava::testing
