#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lgp {

// Reads little-endian values from a byte buffer it does not own. Every read is checked: one
// that would pass the end of the buffer throws FormatError and leaves the position as it was.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data, std::size_t position = 0);

    std::size_t Position() const { return position_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - position_; }

    // Moves to an absolute position; throws FormatError past the end of the buffer.
    void Seek(std::size_t position);
    void Skip(std::size_t count);

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::int16_t ReadI16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32();
    // The next `count` bytes, as a view into the buffer.
    std::span<const std::uint8_t> ReadBytes(std::size_t count);
    // The next `count` bytes as a string of those bytes.
    std::string ReadString(std::size_t count);

private:
    void Require(std::size_t count) const;

    std::span<const std::uint8_t> data_;
    std::size_t position_;
};

}  // namespace lgp
