#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kestrava::testing {

// A path as the program's own text (UTF-8), and back. std::filesystem's string() would
// give the ANSI code page's bytes.
std::string Utf8(const std::filesystem::path& path);
std::filesystem::path PathOfUtf8(const std::string& text);

// The file system's attributes of a file or folder (SetFileAttributesW).
void SetAttributes(const std::filesystem::path& path, unsigned attributes);

// A file's last write time, in seconds since 1970-01-01 00:00:00 UTC.
void SetModified(const std::filesystem::path& file, std::int64_t utcSeconds);

// The folder of the running test program, where the build puts its helpers too.
std::filesystem::path TestProgramFolder();

// Lets the thread's messages run until the condition holds, at most for the given time.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds longest);

}  // namespace kestrava::testing
