#include "lgp/byte_reader.h"

#include "lgp/format_error.h"

namespace lgp {

ByteReader::ByteReader(std::span<const std::uint8_t> data, std::size_t position)
    : data_(data), position_(0) {
    Seek(position);
}

void ByteReader::Seek(std::size_t position) {
    if (position > data_.size()) {
        throw FormatError("position " + std::to_string(position) + " is past the end of " +
                          std::to_string(data_.size()) + " bytes of data");
    }
    position_ = position;
}

void ByteReader::Skip(std::size_t count) {
    Require(count);
    position_ += count;
}

void ByteReader::Require(std::size_t count) const {
    if (count > Remaining()) {
        throw FormatError("reading " + std::to_string(count) + " bytes at position " +
                          std::to_string(position_) + " passes the end of " +
                          std::to_string(data_.size()) + " bytes of data");
    }
}

std::uint8_t ByteReader::ReadU8() {
    Require(1);
    return data_[position_++];
}

std::uint16_t ByteReader::ReadU16() {
    Require(2);
    const auto value = static_cast<std::uint16_t>(data_[position_] | (data_[position_ + 1] << 8));
    position_ += 2;
    return value;
}

std::int16_t ByteReader::ReadI16() { return static_cast<std::int16_t>(ReadU16()); }

std::uint32_t ByteReader::ReadU32() {
    Require(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | data_[position_ + i];
    position_ += 4;
    return value;
}

std::int32_t ByteReader::ReadI32() { return static_cast<std::int32_t>(ReadU32()); }

std::span<const std::uint8_t> ByteReader::ReadBytes(std::size_t count) {
    Require(count);
    const auto bytes = data_.subspan(position_, count);
    position_ += count;
    return bytes;
}

std::string ByteReader::ReadString(std::size_t count) {
    const auto bytes = ReadBytes(count);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace lgp
