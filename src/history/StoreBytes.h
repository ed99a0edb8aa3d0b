#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kestrava::history {

// The store's numbers, written the same on every machine: fixed-width ones little-endian,
// counts and lengths as unsigned LEB128 (seven bits a byte, the lowest first).
void PutFixed32(std::string& out, std::uint32_t value);
void PutFixed64(std::string& out, std::uint64_t value);
void PutNumber(std::string& out, std::uint64_t value);
// A length, then the bytes.
void PutText(std::string& out, std::string_view text);

// Reads what the Put functions wrote, from the front of its bytes. Running past the end,
// or a number longer than 64 bits, marks it broken and gives zeros from then on: the
// caller asks once, after reading a block, whether all was there.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint32_t fixed32();
    std::uint64_t fixed64();
    // Most numbers are below 128, one byte: those are read here, inline.
    std::uint64_t number() {
        if (!broken_ && at_ < bytes_.size() && static_cast<unsigned char>(bytes_[at_]) < 0x80) {
            return static_cast<unsigned char>(bytes_[at_++]);
        }
        return longNumber();
    }
    std::string_view text();
    std::string_view take(std::size_t count);

    bool broken() const { return broken_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    std::size_t offset() const { return at_; }

private:
    std::uint64_t longNumber();

    std::string_view bytes_;
    std::size_t at_ = 0;
    bool broken_ = false;
};

// The CRC-32 of the bytes, as zlib computes it (the Linux build computes it with
// libdeflate, which is faster).
std::uint32_t Checksum(std::string_view bytes, std::uint32_t previous = 0);

// How hard deflate works: the store is written once and kept, so the smallest is worth
// its time; a report is written often and read once.
enum class Compression { Smallest, Balanced };

// Deflates the bytes (zlib's format).
std::string Deflate(std::string_view bytes, Compression compression = Compression::Smallest);
// Whether deflated bytes could inflate to rawSize: deflate shrinks bytes 1032 to 1 at the
// most, so a size beyond that is damaged or forged, and nothing is allocated for it.
bool Plausible(std::string_view deflated, std::size_t rawSize);
// Inflates to exactly rawSize bytes; false when they are no such deflated bytes.
bool Inflate(std::string_view deflated, std::size_t rawSize, std::string& out);

// Inflates stream after stream with one state, set up once for a part's columns, not
// once a column, which costs more than a small column's bytes. Windows inflates with
// zlib, without the streams' own check (Adler-32: the block's CRC-32 was checked), Linux
// with libdeflate.
class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool inflate(std::string_view deflated, std::size_t rawSize, std::string& out);

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
};

}  // namespace kestrava::history
