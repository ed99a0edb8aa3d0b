#include "cli/Console.h"

namespace kestrava::cli {

void Console::complain(std::string_view message) {
    std::string line(CommandName);
    line += ": ";
    line += message;
    line += '\n';
    err_ << line << std::flush;
}

}  // namespace kestrava::cli
