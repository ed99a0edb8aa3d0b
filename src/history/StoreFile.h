#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "history/StoreContent.h"
#include "history/StoreParts.h"
#include "platform/FileSystem.h"

namespace kestrava::history {

// The store's format, described in docs/history-store.md. Its first 64 bytes keep their
// layout in every version, so that a reader of an older version still knows how many
// entries a newer store holds and which text it took in.
inline constexpr std::string_view StoreFormatName = "KESTRAVA HISTORY";
// Version 1 kept each size and date text's shape in turn, and a block's lines as one part.
inline constexpr std::uint32_t StoreFormatVersion = 2;
inline constexpr std::size_t StoreHeaderSize = 64;
// Line versions are kept in blocks by the entry that first held them: an entry needs the
// blocks of the entries up to it only.
inline constexpr std::uint32_t EntriesPerBlock = 64;

// The store's file for a content.
std::string EncodeStore(const StoreContent& content);

// A store read from its bytes. What the header says is known at once; the index and the
// blocks of lines are read when asked for, each checked against its checksum, so that a
// damaged block costs the entries that need it and no others.
// Whether a store's parts are rebuilt on every core (a command the user waits for) or on
// the calling thread alone (compaction and pruning, which run in the background).
enum class ReadingThreads { All, One };

class StoreReader {
public:
    // Throws RuntimeError, naming the store, when its header can't be read: no store, or
    // one cut or damaged within its first bytes.
    StoreReader(std::string path, std::string bytes, ReadingThreads threads = ReadingThreads::All);
    // The same, of the file's bytes, read into the memory where the reader keeps what it
    // rebuilds: a store's megabyte shares its large pages, instead of costing hundreds of
    // faults. Throws RuntimeError, too, when the file can't be read.
    StoreReader(std::string path, const platform::ReadableFile& file,
                ReadingThreads threads = ReadingThreads::All);

    const std::string& path() const { return path_; }
    std::size_t count() const { return count_; }
    const AbsorbedText& absorbed() const { return absorbed_; }

    // What the index says of an entry (numbered from 0); throws RuntimeError, naming the
    // entry by `number`, when the index can't be read.
    const StoredEntryFacts& facts(std::size_t index, std::int64_t number);

    // An entry's file lines, each with its line end, byte for byte. Throws RuntimeError
    // naming the entry by `number` when a block it needs is missing or damaged.
    std::string files(std::size_t index, std::int64_t number);
    // The same lines in order, each handed to `take(std::string_view line)` where the
    // reader keeps it; throws as `files` does, before it hands over any. Here, inline: an
    // entry's lines are handed over by the ten thousand.
    template <typename Take>
    void forEachLine(std::size_t index, std::int64_t number, Take&& take);

    // Every line version with its place in the order of versions and its bytes (with its
    // line end), a block at a time, without rebuilding any entry: a version's range of
    // entries is what happened to its line. Throws RuntimeError naming the first entry of
    // a block that can't be read.
    using VersionVisitor =
        std::function<void(std::uint64_t rank, const LineVersion& version, std::string_view line)>;
    void forEachVersion(const VersionVisitor& visit);

    // Everything, to write a new store from. Throws RuntimeError when any of it can't be
    // read.
    StoreContent content();

private:
    struct Chunk {
        std::uint32_t firstEntry = 0;
        std::uint64_t versions = 0;
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };
    // A block's lines, rebuilt: its parts, in parts_ from `firstPart` on.
    struct DecodedBlock {
        std::size_t firstPart = 0;
        std::size_t parts = 0;
    };

    std::string_view bytes() const {
        return readFromFile_ ? fileBytes_ : std::string_view(textBytes_);
    }
    void readHeader();
    void readIndex();
    // Rebuilds what an entry needs: the last block it needs, once all are read.
    std::size_t rebuildFor(std::size_t index, std::int64_t number);
    // A block's part as it is rebuilt.
    struct PartJob {
        std::size_t chunk = 0;
        StoredPart stored;
        PartLines lines;
        bool whole = false;
    };

    PartLayout layout() const;
    // Rebuilds the blocks up to `last` that aren't yet, once: a block that can't be read,
    // or follows one that can't, is noted with its problem, and has no lines.
    void decodeUpTo(std::size_t last);
    void decodeChunks(const std::vector<std::size_t>& chunks);
    std::optional<std::vector<StoredPart>> readChunk(std::size_t chunk);
    void keepChunk(std::size_t chunk, std::span<PartJob> jobs);
    std::string damagedChunk(std::size_t chunk) const;
    [[noreturn]] void fail(std::int64_t number, const std::string& why) const;

    std::string path_;
    std::string textBytes_;
    bool readFromFile_ = false;
    std::string_view fileBytes_;  // in the first room, where they stay
    std::uint32_t version_ = 0;
    std::size_t count_ = 0;
    AbsorbedText absorbed_;
    std::optional<std::string> indexProblem_;
    bool indexRead_ = false;
    std::vector<StoredEntryFacts> entries_;
    std::vector<Chunk> chunks_;
    std::uint64_t totalVersions_ = 0;
    std::size_t linesStart_ = 0;
    std::vector<std::optional<DecodedBlock>> decoded_;  // by block, once read
    std::map<std::size_t, std::string> chunkProblems_;
    // Where each thread that rebuilds parts keeps their lines (one room a thread, as many
    // as the reader may use), and every part rebuilt so far: its lines stay where they are
    // in the rooms, which go after them.
    std::vector<GrowingRoom> rooms_;
    std::vector<PartLines> parts_;
    // Every line rebuilt so far: its part and its place there, by its place in the order.
    RankSet known_;
    RankSet firstBlock_;           // the first block's lines, which the later ones are told against
    std::span<LinePlace> byRank_;  // in the first room
};

template <typename Take>
void StoreReader::forEachLine(std::size_t index, std::int64_t number, Take&& take) {
    const std::size_t needed = rebuildFor(index, number);
    const auto holdsEntry = [index](const DecodedLine& line) {
        return line.version.first <= index && index <= line.version.last;
    };
    if (needed == 0) {
        // Only the first block's versions can hold its entries, and its parts follow one
        // another in the order.
        const DecodedBlock& block = *decoded_[0];
        for (std::size_t part = block.firstPart; part < block.firstPart + block.parts; ++part) {
            for (const DecodedLine& line : parts_[part].lines) {
                if (holdsEntry(line)) {
                    take(parts_[part].text(line));
                }
            }
        }
        return;
    }
    // Every version read is known: those that hold the entry are its lines, in the order.
    for (std::uint64_t rank = 0; rank < totalVersions_; ++rank) {
        if (!known_.contains(rank)) {
            continue;
        }
        const LinePlace place = byRank_[static_cast<std::size_t>(rank)];
        const PartLines& part = parts_[place.part];
        const DecodedLine& line = part.lines[place.index];
        if (holdsEntry(line)) {
            take(part.text(line));
        }
    }
}

}  // namespace kestrava::history
