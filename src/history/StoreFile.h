#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/StoreContent.h"

namespace kestrava::history {

struct BlockColumns;

// A line in its parts: how it ends and whether it names a file (its kind), and its path
// (the whole line, without its end, when it names no file), size and date texts.
struct SplitLine {
    unsigned char kind;
    std::string_view path;
    std::string_view size;
    std::string_view date;
};
SplitLine Split(std::string_view line);

// A set of places in the order of versions, which tells the nearest one before a place.
class RankSet {
public:
    explicit RankSet(std::uint64_t size = 0) : words_(static_cast<std::size_t>(size / 64 + 1)) {}

    void insert(std::uint64_t rank) { words_[rank / 64] |= std::uint64_t{1} << (rank % 64); }
    bool contains(std::uint64_t rank) const { return (words_[rank / 64] >> (rank % 64) & 1) != 0; }
    std::optional<std::uint64_t> before(std::uint64_t rank) const;

private:
    std::vector<std::uint64_t> words_;
};

// The store's format, described in docs/history-store.md. Its first 64 bytes keep their
// layout in every version, so that a reader of an older version still knows how many
// entries a newer store holds and which text it took in.
inline constexpr std::string_view StoreFormatName = "KESTRAVA HISTORY";
inline constexpr std::uint32_t StoreFormatVersion = 1;
inline constexpr std::size_t StoreHeaderSize = 64;
// Line versions are kept in blocks by the entry that first held them: an entry needs the
// blocks of the entries up to it only.
inline constexpr std::uint32_t EntriesPerBlock = 64;

// The store's file for a content.
std::string EncodeStore(const StoreContent& content);

// A store read from its bytes. What the header says is known at once; the index and the
// blocks of lines are read when asked for, each checked against its checksum, so that a
// damaged block costs the entries that need it and no others.
class StoreReader {
public:
    // Throws RuntimeError, naming the store, when its header can't be read: no store, or
    // one cut or damaged within its first bytes.
    StoreReader(std::string path, std::string bytes);

    const std::string& path() const { return path_; }
    std::size_t count() const { return count_; }
    const AbsorbedText& absorbed() const { return absorbed_; }

    // What the index says of an entry (numbered from 0); throws RuntimeError, naming the
    // entry by `number`, when the index can't be read.
    const StoredEntryFacts& facts(std::size_t index, std::int64_t number);

    // An entry's file lines, each with its line end, byte for byte. Throws RuntimeError
    // naming the entry by `number` when a block it needs is missing or damaged.
    std::string files(std::size_t index, std::int64_t number);
    // The same lines in order, each where the reader keeps it: valid while it lives.
    std::vector<std::string_view> lines(std::size_t index, std::int64_t number);

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
    // Where a decoded line's path, size and date texts end, and its kind: a line told
    // against it is rebuilt without searching it for its "|".
    struct LineCut {
        std::uint32_t path = 0;
        std::uint32_t size = 0;
        std::uint32_t date = 0;
        unsigned char kind = 0;
    };
    struct DecodedLine {
        std::uint64_t rank = 0;  // its place in the order of versions
        LineVersion version;     // its offset within the block's texts
        LineCut cut;
    };
    struct ChunkLines {
        std::vector<DecodedLine> lines;
        std::string texts;

        void reserve(std::size_t count, std::size_t inflated);
        void add(std::uint64_t rank, std::uint32_t first, std::uint32_t last, unsigned char kind,
                 std::string_view path, std::string_view size, std::string_view date);
        std::string_view text(const DecodedLine& line) const;
        SplitLine split(std::size_t index) const;
    };

    void readIndex();
    const ChunkLines& chunkLines(std::size_t chunk);
    bool decodeLines(std::size_t chunk, const BlockColumns& columns, ChunkLines& lines);
    SplitLine lineBefore(std::optional<std::uint64_t> before, std::size_t chunk,
                         const ChunkLines& decoding) const;
    [[noreturn]] void fail(std::int64_t number, const std::string& why) const;

    std::string path_;
    std::string bytes_;
    std::uint32_t version_ = 0;
    std::size_t count_ = 0;
    AbsorbedText absorbed_;
    std::optional<std::string> indexProblem_;
    bool indexRead_ = false;
    std::vector<StoredEntryFacts> entries_;
    std::vector<Chunk> chunks_;
    std::uint64_t totalVersions_ = 0;
    std::size_t linesStart_ = 0;
    std::vector<std::optional<ChunkLines>> decoded_;  // by block, once read
    std::map<std::size_t, std::string> chunkProblems_;
    // Every line decoded so far: its block and its place there, by its place in the order.
    RankSet known_;
    struct Place {
        std::uint32_t chunk = 0;
        std::uint32_t index = 0;
    };
    std::vector<Place> byRank_;
};

}  // namespace kestrava::history
