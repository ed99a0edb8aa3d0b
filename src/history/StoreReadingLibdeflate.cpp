#include <libdeflate.h>

#include "history/StoreBytes.h"

// Linux's reading of a store: libdeflate inflates the zlib format two to three times as
// fast as zlib itself, and computes CRC-32 with the processor's carry-less multiply;
// together they are most of the time a stored entry takes to read.
namespace kestrava::history {

std::uint32_t Checksum(std::string_view bytes, std::uint32_t previous) {
    return libdeflate_crc32(previous, bytes.data(), bytes.size());
}

struct Inflater::Stream {
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
};

Inflater::Inflater() : stream_(std::make_unique<Stream>()) {}

Inflater::~Inflater() {
    libdeflate_free_decompressor(stream_->decompressor);
}

bool Inflater::inflate(std::string_view deflated, std::size_t rawSize, std::string& out) {
    if (stream_->decompressor == nullptr || !Plausible(deflated, rawSize)) {
        return false;
    }
    out.resize(rawSize);
    std::size_t read = 0;
    std::size_t written = 0;
    return libdeflate_zlib_decompress_ex(stream_->decompressor, deflated.data(), deflated.size(),
                                         out.data(), rawSize, &read,
                                         &written) == LIBDEFLATE_SUCCESS &&
           read == deflated.size() && written == rawSize;
}

}  // namespace kestrava::history
