#include "history/StoreFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <iterator>
#include <memory>
#include <set>
#include <span>

#include "history/ParallelWork.h"
#include "history/StoreBytes.h"
#include "platform/LargeMemory.h"
#include "platform/RuntimeError.h"

namespace kestrava::history {
namespace {

using platform::RuntimeError;
namespace error_number = platform::error_number;

constexpr std::string_view IndexTag = "INDX";
constexpr std::string_view LinesTag = "LINE";
constexpr std::size_t FrameSize = 16;

std::string Frame(std::string_view tag, std::string_view raw, std::string_view stored) {
    std::string block(tag);
    PutFixed32(block, static_cast<std::uint32_t>(raw.size()));
    PutFixed32(block, static_cast<std::uint32_t>(stored.size()));
    PutFixed32(block, Checksum(stored, Checksum(block)));
    block += stored;
    return block;
}

}  // namespace

namespace {

// A block's versions in parts, each told against the first block and its own part.
std::string EncodeChunk(const StoreContent& content, const std::vector<std::size_t>& members,
                        std::uint32_t firstEntry, const RankSet& earlier) {
    const std::size_t parts = (members.size() + VersionsPerPart - 1) / VersionsPerPart;
    std::string raw;
    PutNumber(raw, members.size());
    PutNumber(raw, parts);
    for (std::size_t part = 0; part < parts; ++part) {
        const auto partMembers = std::span(members).subspan(
            part * VersionsPerPart,
            std::min(VersionsPerPart, members.size() - part * VersionsPerPart));
        raw += EncodePart(content, partMembers, firstEntry, earlier);
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

std::string EncodeStore(const StoreContent& content) {
    const std::size_t chunkCount =
        content.entries.empty() ? 0 : (content.entries.size() - 1) / EntriesPerBlock + 1;
    std::vector<std::vector<std::size_t>> members(chunkCount);
    // The later blocks are told against the first, which is told against itself alone.
    RankSet firstBlock(content.versions.size());
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
        const std::string raw = EncodeChunk(content, members[chunk], firstEntry, firstBlock);
        if (chunk == 0) {
            for (const std::size_t rank : members[chunk]) {
                firstBlock.insert(rank);
            }
        }
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

StoreReader::StoreReader(std::string path, std::string bytes, ReadingThreads threads)
    : path_(std::move(path)),
      textBytes_(std::move(bytes)),
      rooms_(threads == ReadingThreads::All ? MostThreads : 1) {
    readHeader();
}

StoreReader::StoreReader(std::string path, const platform::ReadableFile& file,
                         ReadingThreads threads)
    : path_(std::move(path)), rooms_(threads == ReadingThreads::All ? MostThreads : 1) {
    const auto size = static_cast<std::size_t>(file.size());
    char* const room = rooms_.front().makeRoom(0, size);
    const std::size_t read = file.readAt(0, std::span(room, size));
    rooms_.front().finish(read);
    readFromFile_ = true;
    fileBytes_ = std::string_view(room, read);
    readHeader();
}

void StoreReader::readHeader() {
    const std::string_view header = bytes().substr(0, StoreHeaderSize);
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
    const auto stored = Payload(bytes(), StoreHeaderSize, IndexTag, rawSize, why);
    std::string raw;
    if (!stored || !Inflate(*stored, rawSize, raw)) {
        indexProblem_ = stored ? "its index is damaged" : why;
        return;
    }
    ByteReader in(raw);
    const std::uint64_t entries = in.number();
    totalVersions_ = in.number();
    // Every version has a place in the order: more than the store has bytes can't be.
    if (totalVersions_ > bytes().size() * 8) {
        indexProblem_ = "its index is damaged";
        return;
    }
    known_ = RankSet(totalVersions_);
    firstBlock_ = RankSet(totalVersions_);
    const auto versions = static_cast<std::size_t>(totalVersions_);
    auto* const places =
        reinterpret_cast<LinePlace*>(rooms_.front().makeRoom(0, versions * sizeof(LinePlace)));
    rooms_.front().finish(versions * sizeof(LinePlace));
    byRank_ = std::span(places, versions);
    std::uninitialized_fill(byRank_.begin(), byRank_.end(), LinePlace{});
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
    // Entries hold lines in blocks: a store's entries come with a block at least.
    const bool blocksForEntries = entries == 0 || !chunks_.empty();
    if (in.broken() || !in.atEnd() || entries != count_ || !blocksInOrder || !blocksForEntries) {
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

PartLayout StoreReader::layout() const {
    return version_ < 2 ? PartLayout::InlineShapes : PartLayout::ShapeLists;
}

void StoreReader::decodeUpTo(std::size_t last) {
    std::vector<std::size_t> missing;
    for (std::size_t chunk = 0; chunk <= last; ++chunk) {
        if (!decoded_[chunk]) {
            missing.push_back(chunk);
        }
    }
    if (missing.empty()) {
        return;
    }
    if (layout() == PartLayout::InlineShapes) {
        // Each block is told against all the blocks before it.
        for (const std::size_t chunk : missing) {
            decodeChunks({chunk});
        }
        return;
    }
    // The first block is told against nothing but itself, and every later one against
    // the first: once the first is read, the others are read all at once.
    if (missing.front() == 0) {
        decodeChunks({0});
        missing.erase(missing.begin());
    }
    decodeChunks(missing);
}

std::optional<std::vector<StoredPart>> StoreReader::readChunk(std::size_t chunk) {
    const std::size_t at = linesStart_ + chunks_[chunk].offset;
    std::uint32_t rawSize = 0;
    std::string why;
    const auto payload = Payload(bytes(), at, LinesTag, rawSize, why);
    auto parts = payload ? ReadParts(*payload, layout()) : std::nullopt;
    if (!payload) {
        chunkProblems_[chunk] = why;
    } else if (!parts) {
        chunkProblems_[chunk] = damagedChunk(chunk);
    }
    return parts;
}

std::string StoreReader::damagedChunk(std::size_t chunk) const {
    return "the block at byte " + std::to_string(linesStart_ + chunks_[chunk].offset) +
           " is damaged";
}

void StoreReader::decodeChunks(const std::vector<std::size_t>& chunks) {
    const RankSet& earlier = layout() == PartLayout::InlineShapes ? known_ : firstBlock_;
    std::map<std::size_t, PartContext> contexts;
    std::vector<PartJob> jobs;
    for (const std::size_t chunk : chunks) {
        if (auto parts = readChunk(chunk)) {
            const Chunk& where = chunks_[chunk];
            contexts[chunk] = {where.firstEntry,
                               std::min<std::uint64_t>(where.firstEntry + EntriesPerBlock, count_),
                               count_,
                               totalVersions_,
                               &earlier,
                               byRank_,
                               parts_};
            for (StoredPart& part : *parts) {
                jobs.push_back({chunk, part, {}, false});
            }
        }
    }
    const auto decode = [&](std::size_t job, std::size_t worker) {
        PartJob& part = jobs[job];
        part.whole =
            DecodePart(part.stored, layout(), contexts.at(part.chunk), rooms_[worker], part.lines);
    };
    RunInParallel(jobs.size(), decode, rooms_.size());
    auto job = jobs.begin();
    for (const std::size_t chunk : chunks) {
        const auto end =
            std::find_if(job, jobs.end(), [&](const PartJob& part) { return part.chunk != chunk; });
        keepChunk(chunk, std::span(job, end));
        job = end;
    }
}

void StoreReader::keepChunk(std::size_t chunk, std::span<PartJob> jobs) {
    decoded_[chunk].emplace();
    // An entry needs the blocks before its own: one that can't be read costs the
    // entries of every block after it.
    if (const auto before = chunkProblems_.find(chunk - 1);
        chunk > 0 && before != chunkProblems_.end()) {
        chunkProblems_[chunk] = before->second;
        return;
    }
    if (chunkProblems_.contains(chunk)) {
        return;
    }
    // Each version has one place in the order. The block's are taken in only once all of
    // it is found whole: a block that fails leaves no place known.
    std::uint64_t versions = 0;
    RankSet known = known_;
    for (const PartJob& part : jobs) {
        if (!part.whole) {
            chunkProblems_[chunk] = damagedChunk(chunk);
            return;
        }
        versions += part.lines.lines.size();
        for (const DecodedLine& line : part.lines.lines) {
            if (known.contains(line.rank)) {
                chunkProblems_[chunk] = damagedChunk(chunk);
                return;
            }
            known.insert(line.rank);
        }
    }
    if (versions != chunks_[chunk].versions) {
        chunkProblems_[chunk] = damagedChunk(chunk);
        return;
    }
    known_ = std::move(known);
    decoded_[chunk] = DecodedBlock{parts_.size(), jobs.size()};
    for (PartJob& part : jobs) {
        const auto partNumber = static_cast<std::uint32_t>(parts_.size());
        for (std::size_t index = 0; index < part.lines.lines.size(); ++index) {
            byRank_[static_cast<std::size_t>(part.lines.lines[index].rank)] = {
                partNumber, static_cast<std::uint32_t>(index)};
        }
        parts_.push_back(std::move(part.lines));
    }
    if (chunk == 0) {
        firstBlock_ = known_;
    }
}

std::size_t StoreReader::rebuildFor(std::size_t index, std::int64_t number) {
    facts(index, number);
    std::size_t needed = 0;
    while (needed + 1 < chunks_.size() && chunks_[needed + 1].firstEntry <= index) {
        ++needed;
    }
    if (!chunks_.empty()) {
        decodeUpTo(needed);
        if (const auto problem = chunkProblems_.find(needed); problem != chunkProblems_.end()) {
            fail(number, problem->second);
        }
    }
    return needed;
}

std::string StoreReader::files(std::size_t index, std::int64_t number) {
    std::size_t size = 0;
    forEachLine(index, number, [&size](std::string_view line) { size += line.size(); });
    std::string files;
    platform::ReserveInLargePages(files, size);
    forEachLine(index, number, [&files](std::string_view line) { files += line; });
    return files;
}

void StoreReader::forEachVersion(const VersionVisitor& visit) {
    if (count_ == 0) {
        return;
    }
    facts(0, 1);
    if (!chunks_.empty()) {
        decodeUpTo(chunks_.size() - 1);
    }
    for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
        if (const auto problem = chunkProblems_.find(chunk); problem != chunkProblems_.end()) {
            fail(static_cast<std::int64_t>(chunks_[chunk].firstEntry + 1), problem->second);
        }
        const DecodedBlock& block = *decoded_[chunk];
        for (std::size_t part = block.firstPart; part < block.firstPart + block.parts; ++part) {
            for (const DecodedLine& line : parts_[part].lines) {
                visit(line.rank, line.version, parts_[part].text(line));
            }
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
    forEachVersion([&](std::uint64_t rank, const LineVersion& line, std::string_view text) {
        LineVersion version = line;
        version.offset = content.texts.size();
        content.texts += text;
        ranked.emplace_back(rank, version);
    });
    std::sort(ranked.begin(), ranked.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [rank, version] : ranked) {
        content.versions.push_back(version);
    }
    return content;
}

}  // namespace kestrava::history
