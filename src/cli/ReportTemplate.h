#pragma once

#include <string_view>

namespace kestrava::cli {

// The report's page, its style and its script, from src/cli/report/, built in. The page
// holds the markers @STYLE@, @DATA@ and @SCRIPT@ where the others and the data go.
extern const std::string_view ReportHtml;
extern const std::string_view ReportCss;
extern const std::string_view ReportScript;

}  // namespace kestrava::cli
