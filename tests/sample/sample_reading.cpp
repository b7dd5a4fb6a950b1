#include "tests/sample/sample_reading.h"

#include <sstream>
#include <string>

#include "lzs/decode_stream.h"

namespace sample_test {

const sample::SampleArchive& SmallArchive(bool irregular) {
    static const sample::SampleArchive regular =
        sample::MakeSampleArchive({.levels = kSmallLevels});
    static const sample::SampleArchive other =
        sample::MakeSampleArchive({.levels = kSmallLevels, .irregular = true});
    return irregular ? other : regular;
}

TLGPFile ReadTable(const Bytes& archive) {
    TLGPFile file;
    file.ReadTableOfContents(
        std::make_unique<std::istringstream>(std::string(archive.begin(), archive.end())),
        "memory");
    return file;
}

Bytes StoredData(const Bytes& archive, const TLGPSubFile& subFile) {
    std::istringstream in(std::string(archive.begin(), archive.end()));
    return TLGPFile::ReadStoredData(in, subFile);
}

Bytes DecodedData(const Bytes& archive, const TLGPSubFile& subFile) {
    return lzs::DecodeStream(StoredData(archive, subFile));
}

std::uint32_t U16(std::span<const std::uint8_t> bytes, std::size_t position) {
    return bytes[position] | (bytes[position + 1] << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t position) {
    return U16(bytes, position) | (U16(bytes, position + 2) << 16);
}

}  // namespace sample_test
