#pragma once

#include "platform/FileSystem.h"

namespace kestrava::platform {

class PosixFileSystem : public FileSystem {
public:
    EntryInfo pathInfo(const std::string& path) const override;
    void readFile(const std::string& path,
                  const std::function<void(std::string_view chunk)>& takeChunk) const override;
    std::unique_ptr<ReadableFile> openForReading(const std::string& path) const override;
    std::string absolutePath(const std::string& path) const override;
    std::unique_ptr<FolderListing> listFolder(const std::string& path) const override;
    std::unique_ptr<AppendingFile> openForAppending(const std::string& path) override;
    std::unique_ptr<NewFile> createFile(const std::string& path) override;
    void replaceFile(const std::string& from, const std::string& to) override;
    void removeFile(const std::string& path) override;
};

}  // namespace kestrava::platform
