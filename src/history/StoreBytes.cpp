#include "history/StoreBytes.h"

#include <zlib.h>

#include <limits>

namespace kestrava::history {

void PutFixed32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void PutFixed64(std::string& out, std::uint64_t value) {
    PutFixed32(out, static_cast<std::uint32_t>(value));
    PutFixed32(out, static_cast<std::uint32_t>(value >> 32));
}

void PutNumber(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size());
    out += text;
}

std::string_view ByteReader::take(std::size_t count) {
    if (broken_ || count > bytes_.size() - at_) {
        broken_ = true;
        return {};
    }
    const std::string_view taken = bytes_.substr(at_, count);
    at_ += count;
    return taken;
}

std::uint32_t ByteReader::fixed32() {
    const std::string_view bytes = take(4);
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[index]))
                 << (8 * index);
    }
    return value;
}

std::uint64_t ByteReader::fixed64() {
    const std::uint64_t low = fixed32();
    return low | (static_cast<std::uint64_t>(fixed32()) << 32);
}

std::uint64_t ByteReader::longNumber() {
    std::uint64_t value = 0;
    for (int shift = 0; !broken_; shift += 7) {
        if (at_ >= bytes_.size() || shift > 63) {
            broken_ = true;
            break;
        }
        const auto byte = static_cast<unsigned char>(bytes_[at_++]);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return 0;
}

std::string_view ByteReader::text() {
    const std::uint64_t size = number();
    if (size > std::numeric_limits<std::size_t>::max()) {
        broken_ = true;
        return {};
    }
    return take(static_cast<std::size_t>(size));
}

std::string Deflate(std::string_view bytes, Compression compression) {
    uLongf size = ::compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    ::compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                compression == Compression::Smallest ? Z_BEST_COMPRESSION : Z_DEFAULT_COMPRESSION);
    out.resize(size);
    return out;
}

bool Plausible(std::string_view deflated, std::size_t rawSize) {
    constexpr std::size_t MostShrinking = 1032;
    return rawSize / MostShrinking <= deflated.size();
}

bool Inflate(std::string_view deflated, std::size_t rawSize, std::string& out) {
    return Inflater().inflate(deflated, rawSize, out);
}

}  // namespace kestrava::history
