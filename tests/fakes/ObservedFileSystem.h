#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace kestrava::fakes {

// A real file system that counts what is read from files opened for reading, and can
// make the listing of one folder fail as a broken disk would.
class ObservedFileSystem : public platform::FileSystem {
public:
    explicit ObservedFileSystem(platform::FileSystem& real) : real_(real) {}

    platform::EntryInfo pathInfo(const std::string& path) const override {
        return real_.pathInfo(path);
    }
    void readFile(const std::string& path,
                  const std::function<void(std::string_view chunk)>& takeChunk) const override {
        real_.readFile(path, takeChunk);
    }
    std::unique_ptr<platform::ReadableFile> openForReading(const std::string& path) const override {
        return std::make_unique<CountedFile>(real_.openForReading(path), bytesRead_);
    }
    std::string absolutePath(const std::string& path) const override {
        return real_.absolutePath(path);
    }
    std::unique_ptr<platform::FolderListing> listFolder(const std::string& path) const override {
        if (failingFolder && path.starts_with(*failingFolder)) {
            throw platform::RuntimeError(platform::error_number::DeviceIoError);
        }
        return real_.listFolder(path);
    }
    std::unique_ptr<platform::AppendingFile> openForAppending(const std::string& path) override {
        return real_.openForAppending(path);
    }
    std::unique_ptr<platform::NewFile> createFile(const std::string& path) override {
        return real_.createFile(path);
    }
    void replaceFile(const std::string& from, const std::string& to) override {
        real_.replaceFile(from, to);
    }
    void removeFile(const std::string& path) override { real_.removeFile(path); }

    std::uint64_t bytesRead() const { return *bytesRead_; }

    std::optional<std::string> failingFolder;  // and everything below it

private:
    class CountedFile : public platform::ReadableFile {
    public:
        CountedFile(std::unique_ptr<platform::ReadableFile> file,
                    std::shared_ptr<std::uint64_t> bytesRead)
            : file_(std::move(file)), bytesRead_(std::move(bytesRead)) {}

        std::uint64_t size() const override { return file_->size(); }
        bool lockForReading() override { return file_->lockForReading(); }
        std::size_t readAt(std::uint64_t offset, std::span<char> buffer) const override {
            const std::size_t read = file_->readAt(offset, buffer);
            *bytesRead_ += read;
            return read;
        }

    private:
        std::unique_ptr<platform::ReadableFile> file_;
        std::shared_ptr<std::uint64_t> bytesRead_;
    };

    platform::FileSystem& real_;
    std::shared_ptr<std::uint64_t> bytesRead_ = std::make_shared<std::uint64_t>(0);
};

}  // namespace kestrava::fakes
