#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "lzs/corvask.h"
#include "platform/dynamic_library.h"

namespace lgp {

// A complete LZS stream of `decoded`, made by the corvask library's _lzs_compress when the
// library can be loaded (from the program's own folder first, then the installation's library
// folder, then the platform's normal search), otherwise by the editor's own fallback
// compressor. A library that is missing, or that has no _lzs_compress, is tried again at the
// next call; once bound it stays bound until the program ends. Never fails for want of the
// library.
std::vector<std::uint8_t> CompressStream(std::span<const std::uint8_t> decoded);

// The binding behind CompressStream, with the library's candidate paths given: the
// process-wide one uses the program's folder, the installed library folder and the plain file
// name, tests use their own.
// Safe to use from several threads at once.
class CorvaskBinding {
public:
    // Loads nothing yet; the candidates are tried in order at each compression until one of
    // them loads and has _lzs_compress.
    explicit CorvaskBinding(std::vector<std::filesystem::path> candidates);

    // As CompressStream, with this binding's candidates. A length reported by the library that
    // cannot be that of the stream it wrote is taken as a failure of the library, and that call
    // uses the fallback compressor; the library stays bound. Throws std::length_error for
    // inputs of 4 GiB or more.
    std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> decoded);

private:
    // The bound routine, binding it first if need be; nullptr when no candidate has it.
    lzs::LzsCompressFunction Bind();

    const std::vector<std::filesystem::path> candidates_;
    std::mutex mutex_;
    std::unique_ptr<platform::DynamicLibrary> library_;
    lzs::LzsCompressFunction compress_ = nullptr;
};

}  // namespace lgp
