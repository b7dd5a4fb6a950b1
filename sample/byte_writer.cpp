#include "sample/byte_writer.h"

#include <stdexcept>

namespace sample {

void ByteWriter::U16(unsigned value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ByteWriter::Append(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::span<std::uint8_t> ByteWriter::Space(std::size_t count) {
    Zeros(count);
    return std::span<std::uint8_t>(bytes_).subspan(bytes_.size() - count);
}

std::span<std::uint8_t> ByteWriter::At(std::size_t position, std::size_t count) {
    if (position > bytes_.size() || count > bytes_.size() - position) {
        throw std::out_of_range("bytes past the end of the buffer");
    }
    return std::span<std::uint8_t>(bytes_).subspan(position, count);
}

void ByteWriter::Text(std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes_.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

void ByteWriter::PatchU8(std::size_t position, unsigned value) {
    bytes_.at(position) = static_cast<std::uint8_t>(value);
}

void ByteWriter::PatchU16(std::size_t position, unsigned value) {
    bytes_.at(position + 1) = static_cast<std::uint8_t>(value >> 8);
    bytes_[position] = static_cast<std::uint8_t>(value);
}

void ByteWriter::PatchU32(std::size_t position, std::uint32_t value) {
    bytes_.at(position + 3) = static_cast<std::uint8_t>(value >> 24);
    for (int i = 0; i < 3; ++i) bytes_[position + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace sample
