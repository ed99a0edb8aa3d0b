#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "support/TemporaryFolder.h"

namespace kestrava::fuzz {

const std::filesystem::path& ProcessFolder() {
    static const testing::TemporaryFolder folder;
    return folder.path();
}

std::filesystem::path FreshFolder() {
    const std::filesystem::path folder = ProcessFolder() / "input";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    return folder;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("can't write " + path.string());
    }
}

void Fail(std::string_view what) {
    std::fprintf(stderr, "failed to hold: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

}  // namespace kestrava::fuzz
