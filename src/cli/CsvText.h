#pragma once

#include <string>
#include <string_view>

namespace kestrava::cli {

// CSV as RFC 4180 writes it: records end with CR LF, and a field that holds a comma, a
// double quote or a line end is enclosed in double quotes, its own doubled.
inline constexpr std::string_view CsvRecordEnd = "\r\n";

void AppendCsvField(std::string& out, std::string_view field);

}  // namespace kestrava::cli
