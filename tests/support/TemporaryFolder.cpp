#include "support/TemporaryFolder.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kestrava::testing {

// A name nobody has taken, made in one step: the folder is there, the user's alone,
// or another name is tried.
TemporaryFolder::TemporaryFolder() {
    std::random_device entropy;
    std::mt19937_64 names((std::uint64_t{entropy()} << 32) | entropy());
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("kestrava-test-" + std::to_string(names() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace);
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("can't create a temporary folder");
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TemporaryFolder::writeFile(const std::string& relativePath,
                                                 const std::string& content) const {
    const auto file = path_ / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

}  // namespace kestrava::testing
