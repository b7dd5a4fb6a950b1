#include "lzs/hash_stream.h"

#include <stdexcept>

#include "lzs/format.h"
#include "lzs/hash_compressor.h"

namespace lzs {

std::vector<std::uint8_t> CompressHashedStream(std::span<const std::uint8_t> input) {
    std::vector<std::uint8_t> stream(MaxStreamSize(input.size()));
    const std::size_t size = CompressHashed(input, stream);
    if (size == 0) throw std::length_error("LZS input of 4 GiB or more");
    stream.resize(size);
    return stream;
}

}  // namespace lzs
