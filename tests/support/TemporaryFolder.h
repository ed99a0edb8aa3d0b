#pragma once

#include <filesystem>
#include <string>

namespace kestrava::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string string() const { return path_.string(); }

    // Creates a file below the folder (and the folders on its way) holding the text.
    std::filesystem::path writeFile(const std::string& relativePath,
                                    const std::string& content = {}) const;

private:
    std::filesystem::path path_;
};

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace kestrava::testing
