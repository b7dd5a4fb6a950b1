// Never-crash target of the archive reader: any bytes as an archive file, then every
// sub-file's data read and decoded. Malformed archives must end in a FormatError.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "lgp/file_error.h"
#include "lgp/format_error.h"
#include "lgp/lgp_file.h"
#include "lzs/decode_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto stream = std::make_unique<std::istringstream>(
        std::string(reinterpret_cast<const char*>(data), size));
    std::istream& in = *stream;
    TLGPFile archive;
    try {
        archive.ReadTableOfContents(std::move(stream), "fuzz input");
    } catch (const lgp::FormatError&) {
        return 0;
    }
    for (const auto& subFile : archive.SubFiles) {
        // The table was checked against the file's size, so every read must succeed.
        (void)lzs::DecodeStream(TLGPFile::ReadStoredData(in, *subFile));
    }
    return 0;
}
