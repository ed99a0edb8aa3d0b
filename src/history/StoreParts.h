#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "history/GrowingRoom.h"
#include "history/StoreContent.h"

namespace kestrava::history {

// A line in its parts: how it ends and whether it names a file (its kind), and its path
// (the whole line, without its end, when it names no file), size and date texts.
struct SplitLine {
    unsigned char kind;
    std::string_view path;
    std::string_view size;
    std::string_view date;
};
SplitLine Split(std::string_view line);

// No place in the order of versions: what RankSet::before finds when there is none.
inline constexpr std::uint64_t NoRank = UINT64_MAX;

// A set of places in the order of versions, which tells the nearest one before a place.
class RankSet {
public:
    explicit RankSet(std::uint64_t size = 0) : words_(static_cast<std::size_t>(size / 64 + 1)) {}

    void insert(std::uint64_t rank) { words_[rank / 64] |= std::uint64_t{1} << (rank % 64); }
    bool contains(std::uint64_t rank) const { return (words_[rank / 64] >> (rank % 64) & 1) != 0; }
    // The nearest place before `rank` in the set, looking no further back than `floor`
    // (which is not itself looked at; NoRank looks back to the first). Asked once a line
    // as a store is read: here, inline, with no optional to pass through memory.
    std::uint64_t before(std::uint64_t rank, std::uint64_t floor = NoRank) const {
        auto word = static_cast<std::size_t>(rank / 64);
        const auto lowest = static_cast<std::size_t>(floor == NoRank ? 0 : floor / 64);
        std::uint64_t bits = words_[word] & ((std::uint64_t{1} << (rank % 64)) - 1);
        while (bits == 0) {
            if (word == lowest) {
                return NoRank;
            }
            bits = words_[--word];
        }
        const std::uint64_t found = word * 64 + 63 - static_cast<unsigned>(std::countl_zero(bits));
        return floor != NoRank && found <= floor ? NoRank : found;
    }

private:
    std::vector<std::uint64_t> words_;
};

// The versions of a block of lines are kept in parts of at most this many, each read on
// its own: a block's parts are rebuilt at once, on as many threads as the machine has.
inline constexpr std::size_t VersionsPerPart = 8192;

// How a part's size and date texts are kept: the store's first version wrote each text's
// shape in turn; later ones keep each of the part's shapes once and name one per text.
enum class PartLayout { InlineShapes, ShapeLists };

// The columns a part keeps, as docs/history-store.md describes them; the first layout
// has no shape numbers.
enum PartColumn {
    Ranks,
    Firsts,
    Spans,
    Kinds,
    Shared,
    Suffixes,
    SizeShapes,
    DateShapes,
    SizeShapeNumbers,
    DateShapeNumbers,
    SizeNumbers,
    DateNumbers = SizeNumbers + 4,
    PartColumnCount = DateNumbers + 8
};

// A part's versions (ranks in ascending order, all first listed by the entries of the
// block that begins at `firstEntry`), its columns deflated as stored. Each version is
// told against the nearest version before it in the order among `earlier` (the blocks
// before) and the versions of the part before it.
std::string EncodePart(const StoreContent& content, std::span<const std::size_t> members,
                       std::uint32_t firstEntry, const RankSet& earlier);

// A part as stored: how many versions it holds, and its columns, each deflated, with
// the size it inflates to.
struct StoredPart {
    std::uint64_t versions = 0;
    std::array<std::string_view, PartColumnCount> columns{};
    std::array<std::uint64_t, PartColumnCount> sizes{};
};

// A block's parts from its payload; nothing when it is no such payload.
std::optional<std::vector<StoredPart>> ReadParts(std::string_view payload, PartLayout layout);

// Where a rebuilt line's path, size and date texts end, and its kind: a line told against
// it is rebuilt without searching it for its "|".
struct LineCut {
    std::uint32_t path = 0;
    std::uint32_t size = 0;
    std::uint32_t date = 0;
    unsigned char kind = 0;
};

struct DecodedLine {
    std::uint64_t rank = 0;  // its place in the order of versions
    LineVersion version;     // its offset within the part's texts
    LineCut cut;
};

// The bit of a line's kind that says it names no file.
inline constexpr unsigned char OtherLine = 1;

// A part's versions, rebuilt: their lines lie one after the other in `texts`. Both lie in
// the room of the thread that rebuilt them.
struct PartLines {
    std::span<const DecodedLine> lines;
    std::string_view texts;

    std::string_view text(const DecodedLine& line) const {
        return {texts.data() + line.version.offset, line.version.length};
    }
    // Asked for once a line as a store is read, of the line it is told against: inline.
    SplitLine split(std::size_t index) const {
        const DecodedLine& decoded = lines[index];
        const LineCut& cut = decoded.cut;
        const char* const line = texts.data() + decoded.version.offset;
        if ((cut.kind & OtherLine) != 0) {
            return {cut.kind, {line, cut.path}, {}, {}};
        }
        return {cut.kind,
                {line, cut.path},
                {line + cut.path + 1, cut.size},
                {line + cut.path + cut.size + 2, cut.date}};
    }
};

// Where a rebuilt line lies: its part, and its place there.
struct LinePlace {
    std::uint32_t part = 0;
    std::uint32_t index = 0;
};

// What a part is rebuilt within: the store's bounds, and the lines of the blocks before,
// which it is told against.
struct PartContext {
    std::uint32_t firstEntry = 0;     // of its block
    std::uint64_t blockEnd = 0;       // the entry after its block's last
    std::uint64_t entries = 0;        // in the store
    std::uint64_t totalVersions = 0;  // in the store
    const RankSet* earlier = nullptr;
    // Where the lines of the blocks before lie, by their places in the order, and their
    // parts.
    std::span<const LinePlace> places;
    std::span<const PartLines> parts;
};

// Rebuilds a part's lines in the room, where they stay; false when any of it is damaged
// (and then its texts are not kept).
bool DecodePart(const StoredPart& stored, PartLayout layout, const PartContext& context,
                GrowingRoom& room, PartLines& lines);

}  // namespace kestrava::history
