#include "engine/PrintableText.h"

#include <algorithm>

namespace kestrava::engine {
namespace {

bool IsControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 32 || code == 127;
}

}  // namespace

void AppendPrintable(std::string& out, std::string_view text) {
    const auto firstControl = std::find_if(text.begin(), text.end(), IsControl);
    out.append(text.begin(), firstControl);
    std::transform(firstControl, text.end(), std::back_inserter(out),
                   [](char c) { return IsControl(c) ? '?' : c; });
}

}  // namespace kestrava::engine
