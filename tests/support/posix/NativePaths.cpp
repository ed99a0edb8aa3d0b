#include "support/NativePaths.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <stdexcept>

namespace kestrava::testing {

std::string ProgramText(const std::filesystem::path& path) {
    return path.string();
}

std::filesystem::path PathOfText(const std::string& text) {
    return text;
}

void SetModifiedTime(const std::filesystem::path& file, std::int64_t utcSeconds) {
    const struct timespec times[2] = {{utcSeconds, 0}, {utcSeconds, 0}};
    if (::utimensat(AT_FDCWD, file.c_str(), times, 0) != 0) {
        throw std::runtime_error("can't set the time of " + file.string());
    }
}

}  // namespace kestrava::testing
