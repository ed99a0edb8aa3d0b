#include "history/StoredHistory.h"

#include "core/HistoryLogPath.h"
#include "history/StoreBytes.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {

std::string StorePathOf(const std::string& logPath) {
    return core::HistoryStorePath(logPath);
}

namespace {

// The file open for reading; nothing when it isn't there.
std::unique_ptr<platform::ReadableFile> OpenIfThere(const platform::FileSystem& fileSystem,
                                                    const std::string& path) {
    try {
        return fileSystem.openForReading(path);
    } catch (const platform::RuntimeError& error) {
        if (error.number() == platform::error_number::FileNotFound ||
            error.number() == platform::error_number::PathNotFound) {
            return nullptr;
        }
        throw;
    }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const platform::FileSystem& fileSystem,
                                         const std::string& path) {
    const auto file = OpenIfThere(fileSystem, path);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(file->size()), '\0');
    bytes.resize(file->readAt(0, bytes));
    return bytes;
}

std::optional<StoreReader> OpenStore(const platform::FileSystem& fileSystem,
                                     const std::string& logPath) {
    const std::string path = StorePathOf(logPath);
    const auto file = OpenIfThere(fileSystem, path);
    if (!file) {
        return std::nullopt;
    }
    return StoreReader(path, *file);
}

std::optional<AbsorbedText> StoreHeaderAbsorbed(const platform::FileSystem& fileSystem,
                                                const std::string& logPath) {
    const std::string path = StorePathOf(logPath);
    const auto file = OpenIfThere(fileSystem, path);
    if (!file) {
        return std::nullopt;
    }
    std::string header(StoreHeaderSize, '\0');
    header.resize(file->readAt(0, header));
    return StoreReader(path, std::move(header)).absorbed();
}

std::string PendingLogPath(const std::string& logPath, std::uint64_t generation) {
    return logPath + "." + std::to_string(generation) + ".new";
}

namespace {

std::optional<platform::EntryInfo> InfoIfThere(const platform::FileSystem& fileSystem,
                                               const std::string& path) {
    try {
        return fileSystem.pathInfo(path);
    } catch (const platform::RuntimeError& error) {
        if (error.number() == platform::error_number::FileNotFound ||
            error.number() == platform::error_number::PathNotFound) {
            return std::nullopt;
        }
        throw;
    }
}

}  // namespace

std::optional<std::string> StoppedSwitchCutLog(const platform::FileSystem& fileSystem,
                                               const std::string& logPath,
                                               const std::optional<AbsorbedText>& absorbed) {
    if (!absorbed || !absorbed->any()) {
        return std::nullopt;
    }
    if (const auto log = InfoIfThere(fileSystem, logPath); log && log->size > 0) {
        return std::nullopt;
    }
    std::string cutLog = PendingLogPath(logPath, absorbed->generation);
    const auto waiting = InfoIfThere(fileSystem, cutLog);
    if (!waiting || waiting->kind != platform::EntryKind::File) {
        return std::nullopt;
    }
    return cutLog;
}

bool StillHoldsAbsorbed(const platform::FileSystem& fileSystem, const std::string& logPath,
                        const LogFile& log, const AbsorbedText& absorbed) {
    if (!absorbed.any() || log.size() < absorbed.continuesAt ||
        absorbed.lastEntryStart >= absorbed.continuesAt) {
        return false;
    }
    try {
        if (fileSystem.pathInfo(PendingLogPath(logPath, absorbed.generation)).kind !=
            platform::EntryKind::File) {
            return false;
        }
    } catch (const platform::RuntimeError&) {
        return false;
    }
    const std::string entry = log.read(absorbed.lastEntryStart, absorbed.continuesAt);
    return Checksum(entry) == absorbed.lastEntryChecksum;
}

}  // namespace kestrava::history
