#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sample {

// Appends little-endian values to a growing byte buffer and patches values already written,
// for the positions and lengths that are only known once what follows them is laid out.
class ByteWriter {
public:
    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }
    void Reserve(std::size_t capacity) { bytes_.reserve(capacity); }

    void U8(unsigned value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    void U16(unsigned value);
    void I16(int value) { U16(static_cast<unsigned>(value) & 0xFFFF); }
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Append(std::span<const std::uint8_t> bytes);
    void Zeros(std::size_t count) { bytes_.resize(bytes_.size() + count, 0); }
    // Appends count zero bytes and returns them to be filled in; valid until the next append.
    std::span<std::uint8_t> Space(std::size_t count);
    // The characters of text, cut or padded with zero bytes to width.
    void Text(std::string_view text, std::size_t width);
    // The characters of text, unpadded.
    void Text(std::string_view text) { Text(text, text.size()); }

    // Bytes written earlier, to be overwritten; valid until the next append. Throws
    // std::out_of_range when they are not all inside the buffer.
    std::span<std::uint8_t> At(std::size_t position, std::size_t count);
    // Overwrite a value written earlier; position + width must lie inside the buffer.
    void PatchU8(std::size_t position, unsigned value);
    void PatchU16(std::size_t position, unsigned value);
    void PatchU32(std::size_t position, std::uint32_t value);

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace sample
