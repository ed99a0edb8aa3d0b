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

// Whether the text log still begins with the text the store took in (a compact that was
// stopped before it cut the log): it does when the store's newest entry lies in it where
// it lay, byte for byte.
bool StillHoldsAbsorbed(const LogFile& log, const AbsorbedText& absorbed);

// Where the text log's own entries begin.
inline std::uint64_t TextBegin(const LogFile& log, const AbsorbedText& absorbed) {
    return StillHoldsAbsorbed(log, absorbed) ? absorbed.continuesAt : 0;
}

}  // namespace kestrava::history
