#pragma once

#include <cstdint>
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
    std::uint64_t number();
    std::string_view text();
    std::string_view take(std::size_t count);

    bool broken() const { return broken_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    std::size_t offset() const { return at_; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool broken_ = false;
};

// zlib's CRC-32 of the bytes.
std::uint32_t Checksum(std::string_view bytes, std::uint32_t previous = 0);

// How hard deflate works: the store is written once and kept, so the smallest is worth
// its time; a report is written often and read once.
enum class Compression { Smallest, Balanced };

// Deflates the bytes (zlib's format).
std::string Deflate(std::string_view bytes, Compression compression = Compression::Smallest);
// Inflates to exactly rawSize bytes; false when they are no such deflated bytes.
bool Inflate(std::string_view deflated, std::size_t rawSize, std::string& out);

}  // namespace kestrava::history
