// Mutates history stores as stores: a byte changed in deflated data mostly makes it no
// deflated data at all, so a fuzzer that changes the file's bytes alone rarely gets past
// inflating into what the reader makes of the index and the columns. Most mutations
// here take one deflated piece (the index, or one column of a part of a block of lines), inflate
// it, change its bytes, and deflate it again; the blocks are then framed anew, the
// index's offsets and sizes and every checksum made right (docs/history-store.md). The
// rest change the file's bytes as they lie, for what the framing itself must survive.
// Linked into the fuzzing build of the store reader alone.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "history/StoreBytes.h"
#include "history/StoreFile.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace kestrava::fuzz {
namespace {

using history::ByteReader;

constexpr std::size_t FrameSize = 16;

struct LinePart {
    std::uint64_t versions = 0;
    std::vector<std::string> columns;  // inflated
};

// A block of the first version is one part, its versions not said again.
struct LineBlock {
    std::uint64_t firstEntry = 0;
    std::uint64_t versions = 0;
    std::vector<LinePart> parts;
};

struct ParsedStore {
    std::string header;
    bool inParts = true;  // every version but the first
    std::uint64_t entries = 0;
    std::uint64_t versions = 0;
    std::vector<LineBlock> blocks;
    std::string indexRest;  // inflated: what follows the blocks' places
};

// The stored payload of the block at `at`, when it is framed as one with the tag.
std::optional<std::string_view> Payload(std::string_view bytes, std::size_t at,
                                        std::string_view tag, std::uint32_t& rawSize) {
    if (at > bytes.size() || bytes.size() - at < FrameSize || bytes.substr(at, 4) != tag) {
        return std::nullopt;
    }
    ByteReader frame(bytes.substr(at + 4, 8));
    rawSize = frame.fixed32();
    const std::uint32_t stored = frame.fixed32();
    if (bytes.size() - at - FrameSize < stored) {
        return std::nullopt;
    }
    return bytes.substr(at + FrameSize, stored);
}

bool ParseColumns(ByteReader& in, std::size_t count, LinePart& part) {
    for (std::size_t column = 0; column < count && !in.broken(); ++column) {
        const std::uint64_t rawSize = in.number();
        const std::string_view deflated = in.text();
        std::string raw;
        if (in.broken() || rawSize > (1u << 20) || !history::Inflate(deflated, rawSize, raw)) {
            return false;
        }
        part.columns.push_back(std::move(raw));
    }
    return !in.broken();
}

std::optional<LineBlock> ParseLines(std::string_view payload, bool inParts) {
    ByteReader in(payload);
    LineBlock block;
    block.versions = in.number();
    // The first version's block: its columns up to its end.
    const std::uint64_t parts = inParts ? in.number() : 1;
    for (std::uint64_t part = 0; part < parts && !in.broken(); ++part) {
        LinePart& columns = block.parts.emplace_back();
        columns.versions = inParts ? in.number() : block.versions;
        const std::size_t count = inParts ? history::PartColumnCount : history::PartColumnCount - 2;
        if (!ParseColumns(in, count, columns)) {
            return std::nullopt;
        }
    }
    return in.broken() || !in.atEnd() ? std::nullopt : std::optional(std::move(block));
}

std::optional<ParsedStore> Parse(std::string_view bytes) {
    if (bytes.size() < history::StoreHeaderSize) {
        return std::nullopt;
    }
    ParsedStore store;
    store.header = std::string(bytes.substr(0, history::StoreHeaderSize));
    store.inParts = ByteReader(bytes.substr(history::StoreFormatName.size())).fixed32() >= 2;
    std::uint32_t indexSize = 0;
    const auto deflated = Payload(bytes, history::StoreHeaderSize, "INDX", indexSize);
    std::string index;
    if (!deflated || indexSize > (1u << 20) || !history::Inflate(*deflated, indexSize, index)) {
        return std::nullopt;
    }
    const std::size_t linesStart = history::StoreHeaderSize + FrameSize + deflated->size();
    ByteReader in(index);
    store.entries = in.number();
    store.versions = in.number();
    const std::uint64_t blockCount = in.number();
    for (std::uint64_t block = 0; block < blockCount && !in.broken(); ++block) {
        const std::uint64_t firstEntry = in.number();
        in.number();  // the versions, which the block says again
        const std::uint64_t offset = in.number();
        in.number();  // the size, which its frame says
        std::uint32_t rawSize = 0;
        const auto payload = Payload(bytes, linesStart + offset, "LINE", rawSize);
        auto lines = payload ? ParseLines(*payload, store.inParts) : std::nullopt;
        if (!lines) {
            return std::nullopt;
        }
        lines->firstEntry = firstEntry;
        store.blocks.push_back(std::move(*lines));
    }
    if (in.broken()) {
        return std::nullopt;
    }
    store.indexRest = std::string(index.substr(in.offset()));
    return store;
}

std::string Framed(std::string_view tag, std::size_t rawSize, std::string_view stored) {
    std::string block(tag);
    history::PutFixed32(block, static_cast<std::uint32_t>(rawSize));
    history::PutFixed32(block, static_cast<std::uint32_t>(stored.size()));
    history::PutFixed32(block, history::Checksum(stored, history::Checksum(block)));
    return block.append(stored);
}

std::string Encode(const ParsedStore& store) {
    std::string index;
    history::PutNumber(index, store.entries);
    history::PutNumber(index, store.versions);
    history::PutNumber(index, store.blocks.size());
    std::string lines;
    for (const LineBlock& block : store.blocks) {
        std::string payload;
        history::PutNumber(payload, block.versions);
        if (store.inParts) {
            history::PutNumber(payload, block.parts.size());
        }
        for (const LinePart& part : block.parts) {
            if (store.inParts) {
                history::PutNumber(payload, part.versions);
            }
            for (const std::string& column : part.columns) {
                history::PutNumber(payload, column.size());
                history::PutText(payload, history::Deflate(column));
            }
        }
        const std::string framed = Framed("LINE", payload.size(), payload);
        history::PutNumber(index, block.firstEntry);
        history::PutNumber(index, block.versions);
        history::PutNumber(index, lines.size());
        history::PutNumber(index, framed.size());
        lines += framed;
    }
    index += store.indexRest;
    std::string header = store.header;
    std::string checksum;
    history::PutFixed32(checksum,
                        history::Checksum(std::string_view(header).substr(0, header.size() - 4)));
    header.replace(header.size() - 4, 4, checksum);
    return header + Framed("INDX", index.size(), history::Deflate(index)) + lines;
}

void MutateText(std::string& text, std::size_t maxSize) {
    const std::size_t size = text.size();
    text.resize(std::max(maxSize, size + 1));
    const std::size_t mutated =
        LLVMFuzzerMutate(reinterpret_cast<std::uint8_t*>(text.data()), size, text.size());
    text.resize(mutated);
}

// One of the inflated pieces: the index's entries, or a column of a part of a block.
std::string& PickPiece(ParsedStore& store, std::minstd_rand& random) {
    std::vector<std::string*> pieces{&store.indexRest};
    for (LineBlock& block : store.blocks) {
        for (LinePart& part : block.parts) {
            for (std::string& column : part.columns) {
                pieces.push_back(&column);
            }
        }
    }
    return *pieces[random() % pieces.size()];
}

}  // namespace
}  // namespace kestrava::fuzz

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    using namespace kestrava::fuzz;
    std::minstd_rand random(seed);
    auto store = Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!store || random() % 4 == 0) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    std::string& piece = PickPiece(*store, random);
    MutateText(piece, piece.size() + maxSize / 4);
    const std::string bytes = Encode(*store);
    if (bytes.size() > maxSize) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    std::memcpy(data, bytes.data(), bytes.size());
    return bytes.size();
}
