// The history store's reader on any bytes, as a store cut by a crash, damaged on disk or
// written by another program may hold. Beyond not crashing, what must hold: a store is
// read or refused with a RuntimeError, entry by entry (a damaged block costs the entries
// that need it); what is read is bounded by the store's own size, so that a few damaged
// bytes never ask for gigabytes; and a store written from what was read reads the same.
// The time per input and the memory are bounded by the fuzzing command (scripts/fuzz.sh).

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
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

void ReadStore(const std::string& bytes) {
    std::optional<StoreReader> store;
    try {
        store.emplace("fuzz.history", bytes);
    } catch (const RuntimeError&) {
        return;
    }
    const auto entries = ReadEntries(*store);
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
    kestrava::fuzz::ReadStore(std::string(kestrava::fuzz::Bytes(data, size)));
    return 0;
}
