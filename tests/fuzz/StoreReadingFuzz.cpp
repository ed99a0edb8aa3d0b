// The history store's reader on any bytes, as a store cut by a crash, damaged on disk or
// written by another program may hold. Each input is read twice: as it is, and with its
// checksums made right (docs/history-store.md), as one who writes a store on purpose
// makes them, so that the fuzzer reaches past them into the index and the blocks. Beyond
// not crashing, what must hold: a store is read or refused with a RuntimeError, entry by
// entry (a damaged block costs the entries that need it); what is read is bounded by the
// store's own size, so that a few bytes never ask for gigabytes; and a store written from
// what was read reads the same.
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "history/StoreBytes.h"
#include "history/StoreContent.h"
#include "history/StoreFile.h"
#include "platform/RuntimeError.h"

namespace kestrava::fuzz {
namespace {

using history::StoreReader;
using platform::RuntimeError;

// Each entry's files, or nothing for those that can't be read.
std::vector<std::optional<std::string>> ReadEntries(StoreReader& store) {
    std::vector<std::optional<std::string>> entries;
    for (std::size_t index = 0; index < store.count(); ++index) {
        const auto number = static_cast<std::int64_t>(index + 1);
        try {
            store.facts(index, number);
        } catch (const RuntimeError&) {
            return {};  // the index can't be read: no entry can
        }
        try {
            entries.push_back(store.files(index, number));
        } catch (const RuntimeError&) {
            entries.emplace_back();
        }
    }
    return entries;
}

// What `history` reads, the line versions walked without rebuilding an entry, tells the
// same entries as reading them whole does.
void CheckVersions(StoreReader& store, const std::vector<std::optional<std::string>>& entries) {
    struct Visited {
        std::uint64_t rank;
        std::uint32_t first;
        std::uint32_t last;
        std::string line;
    };
    std::vector<Visited> visited;
    try {
        store.forEachVersion(
            [&](std::uint64_t rank, const history::LineVersion& version, std::string_view line) {
                visited.push_back({rank, version.first, version.last, std::string(line)});
            });
    } catch (const RuntimeError&) {
        for (const auto& entry : entries) {
            Require(!entry, "the versions are read where every entry is");
        }
        return;
    }
    std::sort(visited.begin(), visited.end(),
              [](const Visited& a, const Visited& b) { return a.rank < b.rank; });
    for (std::size_t index = 0; index < entries.size(); ++index) {
        std::string files;
        for (const Visited& version : visited) {
            Require(version.first <= version.last && version.last < store.count(),
                    "a version lasts within the store's entries");
            if (version.first <= index && index <= version.last) {
                files += version.line;
            }
        }
        Require(!entries[index] || files == *entries[index],
                "the versions tell each entry as it reads");
    }
}

void PutChecksum(std::string& bytes, std::size_t at, std::uint32_t checksum) {
    std::string fixed;
    history::PutFixed32(fixed, checksum);
    bytes.replace(at, fixed.size(), fixed);
}

// The header's checksum, and each block's, one block after the other, as far as they go.
std::string WithChecksumsMadeRight(std::string bytes) {
    constexpr std::size_t FrameSize = 16;
    if (bytes.size() < history::StoreHeaderSize) {
        return bytes;
    }
    const std::size_t headerEnd = history::StoreHeaderSize - 4;
    PutChecksum(bytes, headerEnd, history::Checksum(std::string_view(bytes).substr(0, headerEnd)));
    std::size_t at = history::StoreHeaderSize;
    while (bytes.size() - at >= FrameSize) {
        const std::size_t stored =
            history::ByteReader(std::string_view(bytes).substr(at + 8, 4)).fixed32();
        if (bytes.size() - at - FrameSize < stored) {
            break;
        }
        const std::string_view view(bytes);
        PutChecksum(bytes, at + 12,
                    history::Checksum(view.substr(at + FrameSize, stored),
                                      history::Checksum(view.substr(at, 12))));
        at += FrameSize + stored;
    }
    return bytes;
}

void ReadStore(const std::string& bytes) {
    std::optional<StoreReader> store;
    try {
        store.emplace("fuzz.history", bytes);
    } catch (const RuntimeError&) {
        return;
    }
    const auto entries = ReadEntries(*store);
    CheckVersions(*store, entries);
    history::StoreContent content;
    try {
        content = store->content();
    } catch (const RuntimeError&) {
        return;
    }
    StoreReader again("again.history", history::EncodeStore(content));
    Require(again.count() == store->count(), "a store written again holds as many entries");
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const auto number = static_cast<std::int64_t>(index + 1);
        Require(entries[index] && again.files(index, number) == *entries[index],
                "a store written again reads the same");
        Require(again.facts(index, number).head == store->facts(index, number).head,
                "a store written again keeps each entry's head");
    }
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(kestrava::fuzz::Bytes(data, size));
    kestrava::fuzz::ReadStore(bytes);
    kestrava::fuzz::ReadStore(kestrava::fuzz::WithChecksumsMadeRight(bytes));
    return 0;
}
