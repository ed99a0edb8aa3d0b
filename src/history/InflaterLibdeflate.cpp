#include <libdeflate.h>

#include "history/StoreBytes.h"

// Linux's inflater: libdeflate reads the zlib format two to three times as fast as zlib
// itself, which is most of the time a stored entry takes to read.
namespace kestrava::history {

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
