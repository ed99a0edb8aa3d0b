#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "history/LogFile.h"
#include "history/StoreContent.h"
#include "history/StoreFile.h"
#include "platform/FileSystem.h"

namespace kestrava::history {

// The store of a history log lies beside it, named after it.
std::string StorePathOf(const std::string& logPath);

// A file read whole; nothing when there is none. Throws RuntimeError when it is there but
// can't be read.
std::optional<std::string> ReadWholeFile(const platform::FileSystem& fileSystem,
                                         const std::string& path);

// The store beside the log, when there is one. Throws RuntimeError when it can't be read
// as a store at all.
std::optional<StoreReader> OpenStore(const platform::FileSystem& fileSystem,
                                     const std::string& logPath);

// Where the cut log of a store's generation waits until it takes the log's place.
std::string PendingLogPath(const std::string& logPath, std::uint64_t generation);

// The cut log that waits for the log's place when a switch to it was stopped between
// its two steps (Windows replaces an open file by moving it aside, then moving the new
// one in): the log is then missing, or empty when a rewrite made it afresh to hold
// writers off. Nothing when no cut log waits under the store's generation.
std::optional<std::string> StoppedSwitchCutLog(const platform::FileSystem& fileSystem,
                                               const std::string& logPath,
                                               const std::optional<AbsorbedText>& absorbed);

// What the header of the store beside the log says it took in, read alone; nothing when
// there is no store. Throws RuntimeError, naming the store, when its header can't be
// read.
std::optional<AbsorbedText> StoreHeaderAbsorbed(const platform::FileSystem& fileSystem,
                                                const std::string& logPath);

// Whether the text log still begins with the text the store took in (a compact that was
// stopped after it put the store in place, before the cut log): it does while the cut log
// of the store's generation waits beside it, and the store's newest entry lies in the log
// where it lay, byte for byte. The contents alone could not tell: a log cut and then
// written afresh may hold the very same bytes.
bool StillHoldsAbsorbed(const platform::FileSystem& fileSystem, const std::string& logPath,
                        const LogFile& log, const AbsorbedText& absorbed);

// Where the text log's own entries begin.
inline std::uint64_t TextBegin(const platform::FileSystem& fileSystem, const std::string& logPath,
                               const LogFile& log, const AbsorbedText& absorbed) {
    return StillHoldsAbsorbed(fileSystem, logPath, log, absorbed) ? absorbed.continuesAt : 0;
}

}  // namespace kestrava::history
