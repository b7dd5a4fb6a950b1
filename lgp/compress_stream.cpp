#include "lgp/compress_stream.h"

#include <cstddef>
#include <limits>
#include <utility>

#include "lzs/fallback_compressor.h"
#include "platform/program_folder.h"

namespace lgp {

namespace {

// True when `length` can be the size of the stream the library wrote into `stream`: a whole
// header, within the buffer, and agreeing with the payload length in that header.
bool PlausibleLength(const std::vector<std::uint8_t>& stream, std::int32_t length) {
    if (length < 4 || static_cast<std::size_t>(length) > stream.size()) return false;
    const std::uint32_t payload = stream[0] | (stream[1] << 8) | (stream[2] << 16) |
                                  (static_cast<std::uint32_t>(stream[3]) << 24);
    return payload == static_cast<std::uint32_t>(length) - 4;
}

// The library beside the program first, so that the copy shipped with the editor wins over
// any other on the system; then the installed one, which an installation keeps in its library
// folder; then the platform's normal search.
std::vector<std::filesystem::path> DefaultCandidates() {
    const std::filesystem::path fileName = platform::DynamicLibrary::FileName("corvask");
    std::vector<std::filesystem::path> candidates;
    const std::filesystem::path folder = platform::ProgramFolder();
    if (!folder.empty()) candidates.push_back(folder / fileName);
    const std::filesystem::path installed = platform::InstalledLibraryFolder();
    if (!installed.empty() && installed != folder) candidates.push_back(installed / fileName);
    candidates.push_back(fileName);
    return candidates;
}

}  // namespace

std::vector<std::uint8_t> CompressStream(std::span<const std::uint8_t> decoded) {
    // Built at the first compression, never at start-up; unloaded when the program ends.
    static CorvaskBinding binding(DefaultCandidates());
    return binding.Compress(decoded);
}

CorvaskBinding::CorvaskBinding(std::vector<std::filesystem::path> candidates)
    : candidates_(std::move(candidates)) {}

std::vector<std::uint8_t> CorvaskBinding::Compress(std::span<const std::uint8_t> decoded) {
    // The editor's buffer size: the routine needs srcLen + ceil(srcLen / 8) + 4 at most.
    const std::size_t capacity = decoded.size() + decoded.size() / 8 + 8;
    // The routine takes a 32-bit size and reports the stream's size as a signed 32-bit value.
    if (capacity > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return lzs::CompressFallback(decoded);
    }
    const lzs::LzsCompressFunction compress = Bind();
    if (compress == nullptr) return lzs::CompressFallback(decoded);

    std::vector<std::uint8_t> stream(capacity);
    std::int32_t length = -1;
    // The routine always returns 1; its result tells nothing.
    compress(decoded.data(), static_cast<std::uint32_t>(decoded.size()), stream.data(), &length);
    if (!PlausibleLength(stream, length)) return lzs::CompressFallback(decoded);
    stream.resize(static_cast<std::size_t>(length));
    return stream;
}

lzs::LzsCompressFunction CorvaskBinding::Bind() {
    const std::lock_guard lock(mutex_);
    if (compress_ != nullptr) return compress_;
    for (const std::filesystem::path& candidate : candidates_) {
        std::unique_ptr<platform::DynamicLibrary> library =
            platform::DynamicLibrary::Open(candidate);
        if (library == nullptr) continue;
        const auto compress = library->Find<lzs::LzsCompressFunction>("_lzs_compress");
        // A library without the routine is unloaded here and tried again at the next call.
        if (compress == nullptr) continue;
        library_ = std::move(library);
        compress_ = compress;
        break;
    }
    return compress_;
}

}  // namespace lgp
