#include "platform/win32/CommandLine.h"

namespace kestrava::platform {
namespace {

void AppendArgument(std::wstring& line, std::wstring_view argument) {
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only before a quote: the argument's own, or the end.
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

}  // namespace

std::wstring CommandLineOf(std::wstring_view program, const std::vector<std::wstring>& arguments) {
    std::wstring line;
    // The program's name ends at its first blank unless quoted; it can hold no quote.
    if (program.find_first_of(L" \t") != std::wstring_view::npos) {
        line += L'"';
        line += program;
        line += L'"';
    } else {
        line += program;
    }
    for (const std::wstring& argument : arguments) {
        line += L' ';
        AppendArgument(line, argument);
    }
    return line;
}

}  // namespace kestrava::platform
