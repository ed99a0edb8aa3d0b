#include "history/StoreFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <set>
#include <span>

#include "history/ShapedText.h"
#include "history/StoreBytes.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

using platform::RuntimeError;
namespace error_number = platform::error_number;

constexpr std::string_view IndexTag = "INDX";
constexpr std::string_view LinesTag = "LINE";
constexpr std::size_t FrameSize = 16;

// How a line ends, and whether it reads as path|size|date.
enum LineKind : unsigned char {
    FileLineCrLf = 0,
    OtherLineCrLf = 1,
    FileLineLf = 2,
    OtherLineLf = 3,
    FileLineUnended = 4,
    OtherLineUnended = 5,
};
constexpr unsigned char OtherLine = 1;
constexpr unsigned char EndingBits = 6;
// The size or date text is that of the line before in the order of versions.
constexpr unsigned char SameSize = 8;
constexpr unsigned char SameDate = 16;

// A block's columns: the lines' places in the order, the entries they span, their kinds,
// their paths told against the line before, and their size and date texts as shapes and
// numbers.
enum Column {
    Ranks,
    Firsts,
    Spans,
    Kinds,
    Shared,
    Suffixes,
    SizeShapes,
    DateShapes,
    SizeNumbers,
    DateNumbers = SizeNumbers + 4,
    ColumnCount = DateNumbers + 8
};
constexpr std::size_t SizeNumberColumns = DateNumbers - SizeNumbers;
constexpr std::size_t DateNumberColumns = ColumnCount - DateNumbers;

std::string Frame(std::string_view tag, std::string_view raw, std::string_view stored) {
    std::string block(tag);
    PutFixed32(block, static_cast<std::uint32_t>(raw.size()));
    PutFixed32(block, static_cast<std::uint32_t>(stored.size()));
    PutFixed32(block, Checksum(stored, Checksum(block)));
    block += stored;
    return block;
}

}  // namespace

std::optional<std::uint64_t> RankSet::before(std::uint64_t rank) const {
    std::size_t word = static_cast<std::size_t>(rank / 64);
    std::uint64_t bits = words_[word] & ((std::uint64_t{1} << (rank % 64)) - 1);
    while (bits == 0) {
        if (word == 0) {
            return std::nullopt;
        }
        bits = words_[--word];
    }
    return word * 64 + static_cast<std::uint64_t>(63 - std::countl_zero(bits));
}

namespace {

std::string_view EndingOf(unsigned char kind) {
    switch (kind & EndingBits) {
        case FileLineCrLf:
            return "\r\n";
        case FileLineLf:
            return "\n";
        default:
            return "";
    }
}

std::size_t SharedPrefix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
}

// A line's texts are told against those of the nearest line before it in the order of
// versions among the lines of this block and the blocks before it (those any entry that
// needs this block needs too): a file changed in place follows its former line, whose
// path it repeats, often its size too.
std::string EncodeChunk(const StoreContent& content, const std::vector<std::size_t>& members,
                        std::uint32_t firstEntry, RankSet& seen) {
    std::array<std::string, ColumnCount> columns;
    std::size_t previousRank = 0;
    for (const std::size_t rank : members) {
        const auto before = seen.before(rank);
        const SplitLine previous = before ? Split(content.text(content.versions[*before]))
                                          : SplitLine{OtherLine, {}, {}, {}};
        seen.insert(rank);
        const LineVersion& version = content.versions[rank];
        PutNumber(columns[Ranks], rank - previousRank);
        previousRank = rank;
        PutNumber(columns[Firsts], version.first - firstEntry);
        PutNumber(columns[Spans], version.last - version.first);
        const SplitLine line = Split(content.text(version));
        const bool files = (line.kind & OtherLine) == 0 && (previous.kind & OtherLine) == 0;
        const bool sameSize = files && line.size == previous.size;
        const bool sameDate = files && line.date == previous.date;
        columns[Kinds] +=
            static_cast<char>(line.kind | (sameSize ? SameSize : 0) | (sameDate ? SameDate : 0));
        const std::size_t shared = SharedPrefix(line.path, previous.path);
        PutNumber(columns[Shared], shared);
        (columns[Suffixes] += line.path.substr(shared)) += '\n';
        const bool fileLine = (line.kind & OtherLine) == 0;
        if (fileLine && !sameSize) {
            PutShaped(line.size, columns[SizeShapes],
                      std::span(columns).subspan(SizeNumbers, SizeNumberColumns));
        }
        if (fileLine && !sameDate) {
            PutShaped(line.date, columns[DateShapes],
                      std::span(columns).subspan(DateNumbers, DateNumberColumns));
        }
    }
    std::string raw;
    PutNumber(raw, members.size());
    for (const std::string& column : columns) {
        const std::string deflated = Deflate(column);
        PutNumber(raw, column.size());
        PutText(raw, deflated);
    }
    return raw;
}

void PutFacts(std::string& out, const StoredEntryFacts& facts) {
    PutText(out, facts.head);
    PutNumber(out, facts.lines);
    PutNumber(out, facts.unreadableLines);
    PutNumber(out, facts.changes ? 1 : 0);
    if (facts.changes) {
        PutNumber(out, facts.changes->added);
        PutNumber(out, facts.changes->removed);
        PutNumber(out, facts.changes->modified);
    }
}

StoredEntryFacts ReadFacts(ByteReader& in) {
    StoredEntryFacts facts;
    facts.head = in.text();
    facts.lines = in.number();
    facts.unreadableLines = in.number();
    if (in.number() == 1) {
        facts.changes = ChangeCounts{in.number(), in.number(), in.number()};
    }
    return facts;
}

std::string Header(const StoreContent& content) {
    std::string header(StoreFormatName);
    PutFixed32(header, StoreFormatVersion);
    PutFixed32(header, static_cast<std::uint32_t>(content.entries.size()));
    PutFixed64(header, content.absorbed.lastEntryStart);
    PutFixed64(header, content.absorbed.continuesAt);
    PutFixed32(header, content.absorbed.lastEntryChecksum);
    PutFixed64(header, content.absorbed.generation);
    header.resize(StoreHeaderSize - 4, '\0');
    PutFixed32(header, Checksum(header));
    return header;
}

// A block's payload, checked; nothing (and why) when it isn't whole or its checksum fails.
std::optional<std::string_view> Payload(std::string_view bytes, std::size_t offset,
                                        std::string_view tag, std::uint32_t& rawSize,
                                        std::string& why) {
    if (offset > bytes.size() || bytes.size() - offset < FrameSize) {
        why = "it ends before the block at byte " + std::to_string(offset);
        return std::nullopt;
    }
    ByteReader frame(bytes.substr(offset + 4, FrameSize - 4));
    rawSize = frame.fixed32();
    const std::uint32_t storedSize = frame.fixed32();
    const std::uint32_t checksum = frame.fixed32();
    if (bytes.size() - offset - FrameSize < storedSize) {
        why = "it ends in the middle of the block at byte " + std::to_string(offset);
        return std::nullopt;
    }
    const std::string_view stored = bytes.substr(offset + FrameSize, storedSize);
    if (bytes.substr(offset, 4) != tag ||
        Checksum(stored, Checksum(bytes.substr(offset, 12))) != checksum) {
        why = "the block at byte " + std::to_string(offset) + " is damaged (its checksum fails)";
        return std::nullopt;
    }
    return stored;
}

}  // namespace

// A block's columns, inflated.
struct BlockColumns {
    std::array<std::string, ColumnCount> inflated;
    std::size_t size = 0;  // their bytes in all
};

namespace {

// A block's columns, inflated from its payload with one state. False when any is damaged.
bool InflateColumns(std::string_view payload, BlockColumns& columns) {
    ByteReader in(payload);
    in.number();  // the versions, which the index tells as well
    Inflater inflater;
    for (std::string& column : columns.inflated) {
        const std::uint64_t size = in.number();
        const std::string_view deflated = in.text();
        if (in.broken() || !inflater.inflate(deflated, static_cast<std::size_t>(size), column)) {
            return false;
        }
        columns.size += column.size();
    }
    return true;
}

// The text that begins at `at` in a column of texts each ended by a line feed; nothing
// once the column has no more.
std::optional<std::string_view> NextText(std::string_view column, std::size_t& at) {
    if (at >= column.size()) {
        return std::nullopt;
    }
    const std::size_t end = std::min(column.find('\n', at), column.size());
    const std::string_view text = column.substr(at, end - at);
    at = end + 1;
    return text;
}

}  // namespace

SplitLine Split(std::string_view line) {
    unsigned char ending = FileLineUnended;
    if (line.ends_with("\r\n")) {
        ending = FileLineCrLf;
        line.remove_suffix(2);
    } else if (line.ends_with('\n')) {
        ending = FileLineLf;
        line.remove_suffix(1);
    }
    const std::size_t last = line.rfind('|');
    const std::size_t before = last == 0 || last == std::string_view::npos
                                   ? std::string_view::npos
                                   : line.rfind('|', last - 1);
    if (before == std::string_view::npos) {
        return {static_cast<unsigned char>(ending | OtherLine), line, {}, {}};
    }
    return {ending, line.substr(0, before), line.substr(before + 1, last - before - 1),
            line.substr(last + 1)};
}

std::string EncodeStore(const StoreContent& content) {
    const std::size_t chunkCount =
        content.entries.empty() ? 0 : (content.entries.size() - 1) / EntriesPerBlock + 1;
    std::vector<std::vector<std::size_t>> members(chunkCount);
    RankSet seen(content.versions.size());
    for (std::size_t rank = 0; rank < content.versions.size(); ++rank) {
        members[content.versions[rank].first / EntriesPerBlock].push_back(rank);
    }
    std::string lines;
    std::string index;
    PutNumber(index, content.entries.size());
    PutNumber(index, content.versions.size());
    PutNumber(index, chunkCount);
    for (std::size_t chunk = 0; chunk < chunkCount; ++chunk) {
        const auto firstEntry = static_cast<std::uint32_t>(chunk * EntriesPerBlock);
        const std::string raw = EncodeChunk(content, members[chunk], firstEntry, seen);
        const std::string block = Frame(LinesTag, raw, raw);
        PutNumber(index, firstEntry);
        PutNumber(index, members[chunk].size());
        PutNumber(index, lines.size());
        PutNumber(index, block.size());
        lines += block;
    }
    for (const StoredEntryFacts& facts : content.entries) {
        PutFacts(index, facts);
    }
    return Header(content) + Frame(IndexTag, index, Deflate(index)) + lines;
}

StoreReader::StoreReader(std::string path, std::string bytes)
    : path_(std::move(path)), bytes_(std::move(bytes)) {
    const std::string_view header = std::string_view(bytes_).substr(0, StoreHeaderSize);
    if (!header.starts_with(StoreFormatName)) {
        throw RuntimeError(error_number::PathFileAccessError,
                           "the history store " + path_ + " is no history store");
    }
    if (header.size() < StoreHeaderSize ||
        Checksum(header.substr(0, StoreHeaderSize - 4)) !=
            ByteReader(header.substr(StoreHeaderSize - 4)).fixed32()) {
        throw RuntimeError(error_number::PathFileAccessError,
                           "the history store " + path_ + " is damaged in its first bytes");
    }
    ByteReader in(header.substr(StoreFormatName.size()));
    version_ = in.fixed32();
    count_ = in.fixed32();
    absorbed_.lastEntryStart = in.fixed64();
    absorbed_.continuesAt = in.fixed64();
    absorbed_.lastEntryChecksum = in.fixed32();
    absorbed_.generation = in.fixed64();
    if (version_ > StoreFormatVersion) {
        indexProblem_ = "it is of a newer format (version " + std::to_string(version_) +
                        ") than this program reads (version " + std::to_string(StoreFormatVersion) +
                        ")";
    }
}

void StoreReader::fail(std::int64_t number, const std::string& why) const {
    throw RuntimeError(error_number::PathFileAccessError,
                       "entry " + std::to_string(number) +
                           " can't be read from the history store " + path_ + ": " + why);
}

void StoreReader::readIndex() {
    if (indexRead_ || indexProblem_) {
        return;
    }
    std::uint32_t rawSize = 0;
    std::string why;
    const auto stored = Payload(bytes_, StoreHeaderSize, IndexTag, rawSize, why);
    std::string raw;
    if (!stored || !Inflate(*stored, rawSize, raw)) {
        indexProblem_ = stored ? "its index is damaged" : why;
        return;
    }
    ByteReader in(raw);
    const std::uint64_t entries = in.number();
    totalVersions_ = in.number();
    // Every version has a place in the order: more than the store has bytes can't be.
    if (totalVersions_ > bytes_.size() * 8) {
        indexProblem_ = "its index is damaged";
        return;
    }
    known_ = RankSet(totalVersions_);
    byRank_.assign(static_cast<std::size_t>(totalVersions_), {});
    const std::uint64_t chunkCount = in.number();
    for (std::uint64_t chunk = 0; chunk < chunkCount && !in.broken(); ++chunk) {
        chunks_.push_back(
            {static_cast<std::uint32_t>(in.number()), in.number(), in.number(), in.number()});
    }
    for (std::uint64_t entry = 0; entry < entries && !in.broken(); ++entry) {
        entries_.push_back(ReadFacts(in));
    }
    // Blocks follow one another by their first entries: an entry needs those up to its own.
    const bool blocksInOrder =
        std::adjacent_find(chunks_.begin(), chunks_.end(), [](const Chunk& a, const Chunk& b) {
            return a.firstEntry >= b.firstEntry;
        }) == chunks_.end();
    if (in.broken() || !in.atEnd() || entries != count_ || !blocksInOrder) {
        indexProblem_ = "its index is damaged";
        entries_.clear();
        chunks_.clear();
        return;
    }
    decoded_.resize(chunks_.size());
    linesStart_ = StoreHeaderSize + FrameSize + stored->size();
    indexRead_ = true;
}

const StoredEntryFacts& StoreReader::facts(std::size_t index, std::int64_t number) {
    readIndex();
    if (indexProblem_) {
        fail(number, *indexProblem_);
    }
    return entries_.at(index);
}

const StoreReader::ChunkLines& StoreReader::chunkLines(std::size_t chunk) {
    if (decoded_[chunk]) {
        return *decoded_[chunk];
    }
    // The lines of the blocks before tell this block's.
    for (std::size_t before = 0; before < chunk; ++before) {
        chunkLines(before);
        if (const auto problem = chunkProblems_.find(before); problem != chunkProblems_.end()) {
            chunkProblems_[chunk] = problem->second;
            return decoded_[chunk].emplace();
        }
    }
    const std::size_t at = linesStart_ + chunks_[chunk].offset;
    std::uint32_t rawSize = 0;
    std::string why;
    const auto stored = Payload(bytes_, at, LinesTag, rawSize, why);
    if (!stored) {
        chunkProblems_[chunk] = why;
        return decoded_[chunk].emplace();
    }
    ChunkLines lines;
    BlockColumns columns;
    if (!InflateColumns(*stored, columns) || !decodeLines(chunk, columns, lines)) {
        chunkProblems_[chunk] = "the block at byte " + std::to_string(at) + " is damaged";
        lines = {};
    }
    return decoded_[chunk].emplace(std::move(lines));
}

bool StoreReader::decodeLines(std::size_t chunk, const BlockColumns& columns, ChunkLines& lines) {
    const Chunk& where = chunks_[chunk];
    ByteReader ranks(columns.inflated[Ranks]);
    ByteReader firsts(columns.inflated[Firsts]);
    ByteReader spans(columns.inflated[Spans]);
    ByteReader shared(columns.inflated[Shared]);
    const std::string_view kinds = columns.inflated[Kinds];
    std::vector<ByteReader> numbers(columns.inflated.begin() + SizeNumbers, columns.inflated.end());
    const auto sizeNumbers = std::span(numbers).subspan(0, SizeNumberColumns);
    const auto dateNumbers = std::span(numbers).subspan(SizeNumberColumns, DateNumberColumns);
    std::size_t suffixAt = 0;
    std::size_t sizeAt = 0;
    std::size_t dateAt = 0;
    bool shapesWhole = true;
    const std::size_t count = std::min<std::size_t>(where.versions, kinds.size());
    lines.reserve(count, columns.size);
    // The line being rebuilt, in its parts; most often it is told against the line
    // rebuilt just before, whose parts are still at hand.
    std::string path;
    std::string size;
    std::string date;
    std::optional<std::uint64_t> lastRank;
    unsigned char lastKind = OtherLine;
    std::uint64_t rank = 0;
    // A version belongs to the block of the entry that first listed it, and lasts no
    // longer than the store's entries.
    const std::uint64_t blockEnd =
        std::min<std::uint64_t>(where.firstEntry + EntriesPerBlock, count_);
    for (std::size_t index = 0; index < count; ++index) {
        rank += ranks.number();
        const std::uint64_t first = where.firstEntry + firsts.number();
        const std::uint64_t span = spans.number();
        const auto kind = static_cast<unsigned char>(kinds[index]);
        if (rank >= totalVersions_ || known_.contains(rank) || first >= blockEnd ||
            span >= count_ - first) {
            return false;
        }
        const auto last = static_cast<std::uint32_t>(first + span);
        const auto before = known_.before(rank);
        const auto sharedSize = static_cast<std::size_t>(shared.number());
        if (before && before == lastRank && (lastKind & OtherLine) == 0) {
            path.resize(std::min(path.size(), sharedSize));
        } else {
            // Only what this line takes from it: a text of its own is rebuilt below.
            const SplitLine previous = lineBefore(before, chunk, lines);
            path.assign(previous.path.substr(0, std::min(previous.path.size(), sharedSize)));
            if ((kind & SameSize) != 0) {
                size.assign(previous.size);
            }
            if ((kind & SameDate) != 0) {
                date.assign(previous.date);
            }
        }
        known_.insert(rank);
        byRank_[static_cast<std::size_t>(rank)] = {static_cast<std::uint32_t>(chunk),
                                                   static_cast<std::uint32_t>(index)};
        const auto suffix = NextText(columns.inflated[Suffixes], suffixAt);
        if (!suffix) {
            return false;
        }
        path += *suffix;
        if ((kind & OtherLine) == 0) {
            if ((kind & SameSize) == 0) {
                shapesWhole &= TakeShaped(columns.inflated[SizeShapes], sizeAt, sizeNumbers, size);
            }
            if ((kind & SameDate) == 0) {
                shapesWhole &= TakeShaped(columns.inflated[DateShapes], dateAt, dateNumbers, date);
            }
        }
        lastRank = rank;
        lastKind = kind;
        lines.add(rank, static_cast<std::uint32_t>(first), last, kind, path, size, date);
    }
    return shapesWhole && !ranks.broken() && !firsts.broken() && !spans.broken() &&
           !shared.broken() && lines.lines.size() == where.versions;
}

void StoreReader::ChunkLines::reserve(std::size_t count, std::size_t inflated) {
    // A guess at the lines' bytes that a forged count can't make more than a few times
    // what the block's columns really hold.
    constexpr std::size_t ExpectedLine = 100;
    constexpr std::size_t MostPerInflatedByte = 4;
    lines.reserve(count);
    texts.reserve(std::min(count * ExpectedLine, inflated * MostPerInflatedByte));
}

void StoreReader::ChunkLines::add(std::uint64_t rank, std::uint32_t first, std::uint32_t last,
                                  unsigned char kind, std::string_view path, std::string_view size,
                                  std::string_view date) {
    const std::size_t offset = texts.size();
    texts += path;
    LineCut cut{static_cast<std::uint32_t>(path.size()), 0, 0, kind};
    if ((kind & OtherLine) == 0) {
        ((texts += '|') += size) += '|';
        cut.size = static_cast<std::uint32_t>(size.size());
        texts += date;
        cut.date = static_cast<std::uint32_t>(date.size());
    }
    texts += EndingOf(kind);
    lines.push_back(
        {rank, {first, last, offset, static_cast<std::uint32_t>(texts.size() - offset)}, cut});
}

std::string_view StoreReader::ChunkLines::text(const DecodedLine& line) const {
    return std::string_view(texts).substr(static_cast<std::size_t>(line.version.offset),
                                          line.version.length);
}

SplitLine StoreReader::ChunkLines::split(std::size_t index) const {
    const DecodedLine& decoded = lines[index];
    const LineCut& cut = decoded.cut;
    const std::string_view line = text(decoded);
    if ((cut.kind & OtherLine) != 0) {
        return {cut.kind, line.substr(0, cut.path), {}, {}};
    }
    return {cut.kind, line.substr(0, cut.path), line.substr(cut.path + 1, cut.size),
            line.substr(cut.path + cut.size + 2, cut.date)};
}

SplitLine StoreReader::lineBefore(std::optional<std::uint64_t> before, std::size_t chunk,
                                  const ChunkLines& decoding) const {
    if (!before) {
        return {OtherLine, {}, {}, {}};
    }
    const auto [inChunk, index] = byRank_[static_cast<std::size_t>(*before)];
    const ChunkLines& lines = inChunk == chunk ? decoding : *decoded_[inChunk];
    return lines.split(index);
}

std::vector<std::string_view> StoreReader::lines(std::size_t index, std::int64_t number) {
    facts(index, number);
    std::vector<std::string_view> slots(static_cast<std::size_t>(totalVersions_));
    for (std::size_t chunk = 0; chunk < chunks_.size() && chunks_[chunk].firstEntry <= index;
         ++chunk) {
        const ChunkLines& lines = chunkLines(chunk);
        if (const auto problem = chunkProblems_.find(chunk); problem != chunkProblems_.end()) {
            fail(number, problem->second);
        }
        for (const DecodedLine& line : lines.lines) {
            if (line.version.first <= index && index <= line.version.last) {
                slots[static_cast<std::size_t>(line.rank)] = lines.text(line);
            }
        }
    }
    std::erase_if(slots, [](std::string_view line) { return line.empty(); });
    return slots;
}

std::string StoreReader::files(std::size_t index, std::int64_t number) {
    const std::vector<std::string_view> entry = lines(index, number);
    std::size_t size = 0;
    for (const std::string_view line : entry) {
        size += line.size();
    }
    std::string files;
    files.reserve(size);
    for (const std::string_view line : entry) {
        files += line;
    }
    return files;
}

void StoreReader::forEachVersion(const VersionVisitor& visit) {
    if (count_ == 0) {
        return;
    }
    facts(0, 1);
    for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
        const ChunkLines& lines = chunkLines(chunk);
        if (const auto problem = chunkProblems_.find(chunk); problem != chunkProblems_.end()) {
            fail(static_cast<std::int64_t>(chunks_[chunk].firstEntry + 1), problem->second);
        }
        for (const DecodedLine& line : lines.lines) {
            visit(line.rank, line.version, lines.text(line));
        }
    }
}

StoreContent StoreReader::content() {
    StoreContent content;
    content.absorbed = absorbed_;
    if (count_ == 0) {
        return content;
    }
    for (std::size_t index = 0; index < count_; ++index) {
        content.entries.push_back(facts(index, static_cast<std::int64_t>(index + 1)));
    }
    std::vector<std::pair<std::uint64_t, LineVersion>> ranked;
    for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
        const ChunkLines& lines = chunkLines(chunk);
        if (const auto problem = chunkProblems_.find(chunk); problem != chunkProblems_.end()) {
            fail(static_cast<std::int64_t>(chunks_[chunk].firstEntry + 1), problem->second);
        }
        for (const DecodedLine& line : lines.lines) {
            LineVersion version = line.version;
            version.offset = content.texts.size();
            content.texts += lines.text(line);
            ranked.emplace_back(line.rank, version);
        }
    }
    std::sort(ranked.begin(), ranked.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [rank, version] : ranked) {
        content.versions.push_back(version);
    }
    return content;
}

}  // namespace kestrava::history
