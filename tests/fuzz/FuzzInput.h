#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What the fuzz targets share: their inputs as files where the readers meet them, and
// the checks whose failure the fuzzer keeps as a finding.
namespace kestrava::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own below the temporary folder, removed when it ends.
const std::filesystem::path& ProcessFolder();

// A fresh, empty folder below the process's folder, for one input.
std::filesystem::path FreshFolder();

// Writes the bytes as a file, replacing what was there.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Ends the process, naming what failed to hold, so that the fuzzer keeps the input (and
// the replay of the corpus fails on it).
[[noreturn]] void Fail(std::string_view what);

inline void Require(bool holds, std::string_view what) {
    if (!holds) {
        Fail(what);
    }
}

}  // namespace kestrava::fuzz
