#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava::history {

// What changed against the entry before, as `entries` counts it.
struct ChangeCounts {
    std::uint64_t added = 0;
    std::uint64_t removed = 0;
    std::uint64_t modified = 0;
};

// What a stored entry's index says of it, so that `entries` answers without rebuilding it.
struct StoredEntryFacts {
    std::string head;  // its date line and header line, byte for byte
    std::uint64_t lines = 0;
    std::uint64_t unreadableLines = 0;
    std::optional<ChangeCounts> changes;  // none for the history's oldest entry
};

// One line as the log held it, the same in the entries first to last (numbered from 0 in
// the store); its bytes lie in the content's texts, its line end with them.
struct LineVersion {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
};

// Which bytes of the text log the store took in when it was written: the text log's
// entries go on at `continuesAt`, where the store's newest entry, the bytes
// [lastEntryStart, continuesAt), ended. Until the text log is cut it still begins with
// them, and the cut log waits beside it under a name of this store's generation; a
// reader that finds that file there reads the text log from `continuesAt` on.
struct AbsorbedText {
    std::uint64_t lastEntryStart = 0;
    std::uint64_t continuesAt = 0;
    std::uint32_t lastEntryChecksum = 0;
    std::uint64_t generation = 0;  // one more with every store compaction writes

    bool any() const { return continuesAt > 0; }
};

// A whole store, decoded: its entries' facts, and every line version in the order the
// entries list them (an entry's lines are the versions that hold it, in this order).
struct StoreContent {
    std::vector<StoredEntryFacts> entries;
    std::vector<LineVersion> versions;
    std::string texts;
    AbsorbedText absorbed;

    std::string_view text(const LineVersion& version) const {
        return std::string_view(texts).substr(static_cast<std::size_t>(version.offset),
                                              version.length);
    }
};

// The date of the head's date line, as the text log's readers read it: between the
// line's "[" and the "]" that ends it.
std::string_view DateOfHead(std::string_view head);

}  // namespace kestrava::history
