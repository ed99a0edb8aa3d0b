#include <zlib.h>

#include <algorithm>
#include <limits>

#include "history/StoreBytes.h"

// The Windows build's reading of a store: zlib's, which it links statically.
namespace kestrava::history {

std::uint32_t Checksum(std::string_view bytes, std::uint32_t previous) {
    // zlib takes a length of 32 bits at a time.
    uLong crc = previous;
    while (!bytes.empty()) {
        const std::size_t piece = std::min<std::size_t>(bytes.size(), 1U << 30);
        crc = ::crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(piece));
        bytes.remove_prefix(piece);
    }
    return static_cast<std::uint32_t>(crc);
}

struct Inflater::Stream {
    z_stream zlib{};
    bool ready = false;
};

Inflater::Inflater() : stream_(std::make_unique<Stream>()) {
    stream_->ready = ::inflateInit(&stream_->zlib) == Z_OK;
}

Inflater::~Inflater() {
    if (stream_->ready) {
        ::inflateEnd(&stream_->zlib);
    }
}

bool Inflater::inflate(std::string_view deflated, std::size_t rawSize, std::string& out) {
    z_stream& zlib = stream_->zlib;
    if (!stream_->ready || !Plausible(deflated, rawSize) || ::inflateReset(&zlib) != Z_OK ||
        ::inflateValidate(&zlib, 0) != Z_OK) {
        return false;
    }
    // zlib counts in 32 bits; a column is far smaller, and a size beyond is damage.
    constexpr std::size_t Most = std::numeric_limits<uInt>::max();
    if (deflated.size() > Most || rawSize > Most) {
        return false;
    }
    out.resize(rawSize);
    // zlib reads its input through a pointer that isn't const, and never writes it.
    zlib.next_in = const_cast<Bytef*>(reinterpret_cast<const Bytef*>(deflated.data()));
    zlib.avail_in = static_cast<uInt>(deflated.size());
    zlib.next_out = reinterpret_cast<Bytef*>(out.data());
    zlib.avail_out = static_cast<uInt>(rawSize);
    // Room for one byte more would tell a stream longer than its stated size; none is
    // needed: a stream that doesn't end within rawSize doesn't return Z_STREAM_END.
    const int result = ::inflate(&zlib, Z_FINISH);
    return result == Z_STREAM_END && zlib.avail_out == 0 && zlib.avail_in == 0;
}

}  // namespace kestrava::history
