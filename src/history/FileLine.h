#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kestrava::history {

// One file of an entry as the log holds it: its path, its size text and its date text.
struct FileLine {
    std::string_view path;
    std::string_view size;
    std::string_view modified;
};

// Reads a file line (without its line end). The path is the text before the line's last
// two "|": file names may hold "|", size and date texts never do. Nothing when the line
// holds fewer than two, and so names no file.
std::optional<FileLine> ParseFileLine(std::string_view line);

// A line without its line end (LF, or CR LF).
std::string_view WithoutLineEnd(std::string_view line);

// The line that begins at `at` in the text, without its line end (LF, or CR LF);
// `at` moves to the next line's start.
std::string_view NextLine(std::string_view text, std::size_t& at);

// How many lines the text holds (it ends with a line end, or is empty).
std::size_t CountLines(std::string_view text);

// How many of the text's lines name no file.
std::size_t CountUnreadableLines(std::string_view text);

}  // namespace kestrava::history
